#ifndef AUTOMATION_H
#define AUTOMATION_H

#include "eventlog.h"
#include "stopcondition.h"

#include <QList>
#include <QObject>

#include <memory>

class DmmData;
class IDmm;
class IMyDmm;
class ISerialDev;
class LoggedCommands;
class OutputTimer;
class Reconnector;
class Sequence;
class SequenceRunner;

// What works the supply without a hand on it, and what keeps it safe: the
// sequence runner, the output timer, the stop conditions, the reconnection
// after a lost link and the event log beside each session. The window tells
// it what the user and the driver do; it reaches the instrument through the
// driver's IMyDmm only, each origin through its own LoggedCommands.
//
// Safety: a command from the front panel, Disconnect, closing the window or
// a lost link stops a running sequence and the output timer at once; after
// a lost link nothing is sent, and after reconnecting nothing resumes.
class Automation : public QObject
{
    Q_OBJECT
public:
    // Either driver interface may be null (incomplete plug-ins): nothing is
    // sent then. They belong to their plug-in loaders.
    Automation(IDmm *dmm, IMyDmm *myDmm, QObject *parent = nullptr);
    ~Automation() override;

    // The interface the front panel sends its commands through: the driver's,
    // logged with origin "panel"; each command stops a sequence and the timer.
    IMyDmm *panelCommands() const;
    // The same for the commands of scripts on the SCPI port, logged with origin "remote".
    IMyDmm *remoteCommands() const;

    // ---- from the window ----
    // Every delivery, before it is recorded; records are not kept.
    void readingArrived(const QList<DmmData *> &records);
    // A stop condition may hold recording; the window then records nothing.
    bool isRecordingStopped() const { return recordingStopped; }
    void resumeRecording();
    void sessionFileChanged(const QString &path);
    void sampleLimitReached(int samplePoints);
    void connectRequested();
    void disconnectRequested();
    void connectionOpened();
    // device: the transport the link used, for reconnecting to it.
    void connectionClosed(ISerialDev *device);
    void windowClosing();

    bool isSequenceRunning() const;

    // ---- for the sequence panel ----
    bool startSequence(const Sequence &sequence, QString *error);
    SequenceRunner *runner() const { return sequenceRunner; }
    OutputTimer *outputTimer() const { return timer; }
    void startOutputTimer(qint64 durationMs);
    void addCondition(const StopCondition &condition);
    void removeCondition(int index);
    const QList<StopCondition> &conditions() const { return stopConditions; }
    bool isReconnecting() const;
    EventLog *eventLog() const { return events; }

signals:
    // For the status bar.
    void statusMessage(const QString &text);
    // For the status bar, about the link: it replaces what was said of the connection.
    void connectionMessage(const QString &text);
    // A stop condition asked to tell the user.
    void conditionMessage(const QString &text);
    void conditionsChanged();
    void recordingStoppedChanged(bool stopped);

private slots:
    // Connected by name: the driver is another plug-in's class.
    void onSelectedChannel(quint8 channel);
    void onOutput(bool on);
    void onRegulation(quint8 channel, quint8 flag);
    void onTrackingMode(quint8 mode);
    void onDriverMessage(const QString &text);

private:
    void stopAll(const QString &reason);
    void fire(StopCondition &condition);
    void forgetReportedState();

    EventLog *events;
    std::unique_ptr<LoggedCommands> panel;
    std::unique_ptr<LoggedCommands> remote;
    std::unique_ptr<LoggedCommands> sequenceCommands;
    std::unique_ptr<LoggedCommands> timerCommands;
    std::unique_ptr<LoggedCommands> conditionCommands;
    SequenceRunner *sequenceRunner;
    OutputTimer *timer;
    Reconnector *reconnector;
    QList<StopCondition> stopConditions;
    bool recordingStopped = false;
    bool userClosing = false;
    QString lastDriverMessage;
    // The instrument's state as last reported, -1 when unknown: events name changes only.
    quint8 selectedChannel = 1;
    int reportedOutput = -1;
    int reportedTracking = -1;
    int reportedFlags[2] = {-1, -1};
};

#endif // AUTOMATION_H

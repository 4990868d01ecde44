#ifndef SEQUENCERUNNER_H
#define SEQUENCERUNNER_H

#include "sequence.h"
#include "sequenceplan.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class IMyDmm;

// Runs a sequence on the instrument through IMyDmm, the calls the front panel
// makes. Before its first set point, and whenever the instrument has another
// channel selected, it selects the sequence's channel and waits for the
// instrument to report it, since the driver addresses set points to the
// selected channel. Commands of a pass go out in their planned order, none
// skipped, each at its time or as soon after as the event loop allows.
// Stopping sends nothing; only the natural end switches the output off, if
// the sequence asks to. The commands interface is not owned.
class SequenceRunner : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSelectPollMs = 50;
    static constexpr int kSelectTimeoutMs = 5000;

    explicit SequenceRunner(IMyDmm *commands, QObject *parent = nullptr);

    // False with the reason (Sequence::check's) when the sequence cannot run.
    bool start(const Sequence &sequence, QString *error);
    void pause();
    void resume();
    // Ends a running or paused sequence at once; nothing is sent.
    void stop(const QString &reason);

    bool isRunning() const { return running; }
    bool isPaused() const { return running && paused; }
    const Sequence &sequence() const { return current; }
    int currentStep() const;      // 0-based, -1 when not running
    int currentPass() const { return pass; } // 1-based
    qint64 stepRemainingMs() const;
    qint64 totalRemainingMs() const; // -1 when the sequence repeats forever

signals:
    void stepBegan(int step, int pass);
    // reason says why, or that the sequence came to its end (finished).
    void stopped(const QString &reason, bool finished);

private:
    void schedule();
    void act();
    bool channelReady();
    void finish();
    qint64 runMs() const;
    qint64 passElapsedMs() const;

    IMyDmm *commands;
    Sequence current;
    QList<SequenceAction> plan;
    int next = 0;
    int pass = 0;
    qint64 passStartMs = 0;
    qint64 pausedMs = 0;
    qint64 pauseBeganMs = 0;
    qint64 selectAskedMs = -1;
    bool running = false;
    bool paused = false;
    QElapsedTimer clock;
    QTimer actionTimer;
};

#endif // SEQUENCERUNNER_H

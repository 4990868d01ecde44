#ifndef EVENTLOG_H
#define EVENTLOG_H

#include "linefile.h"

#include <QList>
#include <QObject>
#include <QTimer>

// What happened around a recording, beside its session log: the file
// "<session>-events.csv" next to "<session>.csv", with the columns time
// (ISO 8601 local time with milliseconds, the clock and format of the
// session's readings), origin and event. Events that come while no session
// file exists (before the first recorded reading, after Delete) wait in
// memory and open the next session's file. Lines reach the system within
// kFlushDelayMs. A file that cannot be written stops the log with one
// failed() signal until the next session.
class EventLog : public QObject
{
    Q_OBJECT
public:
    enum class Origin { Panel, Sequence, Timer, Condition, Remote, Program };
    static constexpr int kFlushDelayMs = 500;
    static constexpr int kMaxWaitingEvents = 10000;

    explicit EventLog(QObject *parent = nullptr);
    ~EventLog() override;

    static QString originName(Origin origin);
    // "<folder>/<name>.csv" gives "<folder>/<name>-events.csv".
    static QString fileFor(const QString &sessionFile);

    void add(Origin origin, const QString &event);
    // The running session's file, or empty when it ends.
    void setSessionFile(const QString &sessionFile);
    QString fileName() const { return file.fileName(); }

signals:
    void failed(const QString &where, const QString &reason);

private:
    void write(const QByteArray &line);
    void flush();
    void stop(const QString &reason);

    LineFile file;
    QTimer flushTimer;
    QList<QByteArray> waiting;
    bool stopped = false;
};

#endif // EVENTLOG_H

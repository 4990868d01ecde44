#ifndef SESSIONLOG_H
#define SESSIONLOG_H

#include <QFile>
#include <QObject>
#include <QTimer>

class DmmData;

// Keeps every recorded reading on disk as it arrives, so a crash loses at
// most the last second: one CSV file per session (ReadingRow's format) in a
// folder. A session starts with the first reading appended after
// construction or after close(), in a new file named after that reading's
// time ("2026-12-08_101530.csv", "…_2.csv" when taken). Lines are buffered
// and handed to the system within kFlushDelayMs; no file is ever deleted.
// When the folder or the file cannot be written (disk full, no permission),
// the session stops with one failed() signal and the readings that follow
// are dropped until close() ends the session.
class SessionLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFlushDelayMs = 500;

    explicit SessionLog(const QString &folder, QObject *parent = nullptr);
    ~SessionLog() override;

    // The records of one reading, channel 1 first.
    void append(const DmmData &channel1, const DmmData &channel2, const DmmData &channel3);
    void close();

signals:
    // The running session's file, or empty when it ends or stops.
    void fileChanged(const QString &path);
    // The session stopped; where is the file or the folder, reason the system's text.
    void failed(const QString &where, const QString &reason);

private:
    bool start(const QDateTime &firstReading);
    void flush();
    void stop(const QString &where, const QString &reason);

    QString folder;
    QFile file;
    QTimer flushTimer;
    bool stopped = false;
};

#endif // SESSIONLOG_H

#ifndef SESSIONLOG_H
#define SESSIONLOG_H

#include "linefile.h"

#include <QObject>
#include <QTimer>

class ReadingTable;

// Keeps every recorded reading on disk as it arrives, so a crash loses at
// most the last second: one CSV file per session (ReadingRow's format) in a
// folder. A session starts with the first reading appended after
// construction or after close(), in a new file named after that reading's
// time ("2026-12-08_101530.csv", "…_2.csv" when taken). Lines are gathered
// and handed to the system within kFlushDelayMs; no file is ever deleted.
// The file always ends with a whole line: a write that fails part-way is cut
// back to the last whole line. When the folder or the file cannot be written
// (disk full, no permission), the session stops with one failed() signal and
// the readings that follow are dropped until close() ends the session.
class SessionLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFlushDelayMs = 500;

    explicit SessionLog(const QString &folder, QObject *parent = nullptr);
    ~SessionLog() override;

    // The reading in the table's row.
    void append(const ReadingTable &table, int row);
    void close();
    // The running session's file; empty while there is none.
    QString fileName() const;

signals:
    // The running session's file, or empty when it ends or stops.
    void fileChanged(const QString &path);
    // The session stopped; where is the file or the folder, reason the system's text.
    void failed(const QString &where, const QString &reason);

private:
    bool start(qint64 firstReadingMs);
    // Writes the gathered lines; false (after stop()) when they could not be.
    bool flush();
    void stop(const QString &where, const QString &reason);
    // Tells that the file fileChanged() named is no longer the session's.
    void endAnnouncedFile();

    QString folder;
    LineFile file;
    QTimer flushTimer;
    bool stopped = false;
    bool announced = false; // fileChanged() named the file that is open

};

#endif // SESSIONLOG_H

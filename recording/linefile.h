#ifndef LINEFILE_H
#define LINEFILE_H

#include <QByteArray>
#include <QFile>
#include <QString>

// A log file that only ever grows by whole lines, and ends with a whole
// line whatever happens: lines are gathered and written together, and when
// the disk takes only part of a write (full disk, file size limit) the file
// is cut back to its last whole line and closed. The session log and the
// event log keep their lines in one.
class LineFile
{
public:
    // mode is WriteOnly with NewOnly or Append; false when it cannot be opened.
    bool open(const QString &path, QIODevice::OpenMode mode);
    // Whole lines, each ending with "\n"; written at the next flush().
    void append(const QByteArray &lines);
    int pendingBytes() const { return pending.size(); }
    // Writes what was gathered. False when the disk did not take all of it:
    // the file then ends with its last whole line, is closed, and
    // errorString() says why.
    bool flush();
    // Flushes, then closes; a failure is left to errorString().
    void close();

    bool isOpen() const { return file.isOpen(); }
    bool exists() const { return file.exists(); }
    QString fileName() const { return file.fileName(); }
    QString errorString() const { return error; }
    qint64 size() const { return written; }

private:
    QFile file;         // unbuffered: pending holds what is not written yet
    QByteArray pending; // whole lines
    qint64 written = 0; // bytes in the file, all of them whole lines
    QString error;
};

#endif // LINEFILE_H

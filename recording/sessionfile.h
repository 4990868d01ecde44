#ifndef SESSIONFILE_H
#define SESSIONFILE_H

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <functional>

class ReadingTable;

// Reads a session log (ReadingRow's format) back into a ReadingTable, for
// the viewer of past sessions. The numbers' display texts are those of the
// instrument's displays: volts of channels 1 and 2 as "05.00", channel 3's
// as "5.0", amperes as "0.500", watts as "02.50".
//
// A last line without its line end was cut short when the program writing
// it stopped (files of older versions can end so after a crash or a full
// disk): it is left out and reported. Any other line that does not fit
// makes the whole file fail, naming that line.
class SessionFile
{
    Q_DECLARE_TR_FUNCTIONS(SessionFile)

public:
    struct Result
    {
        enum Status { Read, Cancelled, Failed };
        Status status = Failed;
        QString error;     // why it failed, naming the line
        int tornLine = 0;  // the number of a last line left out, or 0
    };
    // Parts per thousand of the file read so far.
    using Progress = std::function<void(int permille)>;

    // Runs on any thread; table is filled from empty and belongs to the
    // caller's thread only once this returns. cancel is polled.
    static Result read(const QString &path, ReadingTable *table, const std::atomic<bool> &cancel,
                       const Progress &progress);
};

#endif // SESSIONFILE_H

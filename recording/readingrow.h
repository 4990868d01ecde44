#ifndef READINGROW_H
#define READINGROW_H

#include <QByteArray>

class DmmData;

// One reading of the three channels as a line of comma-separated values, the
// format of the session log and of the CSV export: the time in ISO 8601 local
// time with milliseconds, then voltage (V), current (A) and power (W) of
// channels 1, 2 and 3 as plain numbers with a dot, then the tracking mode as
// the driver reports it (1 independent, 2 parallel, 3 series) and the
// regulation flags of channels 1 and 2 (0 constant voltage, 1 constant current).
// Lines end with "\n"; texts are ASCII, hence valid UTF-8.
class ReadingRow
{
public:
    static QByteArray header();
    // The records of one reading, channel 1 first; the time, mode and flags
    // are channel 1's record's, as every record of a reading carries them.
    static QByteArray line(const DmmData &channel1, const DmmData &channel2, const DmmData &channel3);
};

#endif // READINGROW_H

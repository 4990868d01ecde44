#ifndef READINGROW_H
#define READINGROW_H

#include <QByteArray>

class ReadingTable;

// One reading of the three channels as a line of comma-separated values, the
// format of the session log and of the CSV export: the time in ISO 8601 local
// time with milliseconds, then voltage (V), current (A) and power (W) of
// channels 1, 2 and 3 as plain numbers with a dot, then the tracking mode as
// the driver reports it (1 independent, 2 parallel, 3 series) and the
// regulation flags of channels 1 and 2 (0 constant voltage, 1 constant current).
// Channel 3 has no current or power: those two fields stay empty. Lines end
// with "\n"; texts are ASCII, hence valid UTF-8.
class ReadingRow
{
public:
    static constexpr int kFieldCount = 13;

    static QByteArray header();
    static QByteArray line(const ReadingTable &table, int row);
    // The row of tables that hold one channel each as it should be (the
    // channel's own series; time, mode and flags from channel 1's table).
    static QByteArray line(const ReadingTable &channel1, const ReadingTable &channel2,
                           const ReadingTable &channel3, int row);
};

#endif // READINGROW_H

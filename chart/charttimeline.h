#ifndef CHARTTIMELINE_H
#define CHARTTIMELINE_H

#include "blocksums.h"

#include <QVector>

#include <limits>

class ChartPointSource;

// What the times of a chart's readings say about the line between them:
// where it breaks (a gap, a reading without a time, a clock set back) and
// the area under it over time, kept as block sums so that the area and
// the statistics of any range cost a few steps at any number of readings.
// It follows its point source: sync() reads only the readings added since
// the last call, and starts over when the source holds fewer.
//
// A gap is an interval longer than kGapFactor times the sampling interval,
// which is the median of the last few intervals before it; it is decided
// once, when the reading arrives, so later readings never change it.
class ChartTimeline
{
public:
    static constexpr double kGapFactor = 3.0;

    struct Statistics
    {
        int count = 0; // finite readings
        double min = std::numeric_limits<double>::quiet_NaN();
        double max = std::numeric_limits<double>::quiet_NaN();
        double mean = std::numeric_limits<double>::quiet_NaN();
        double rms = std::numeric_limits<double>::quiet_NaN();
        // Trapezoids over time between neighbouring finite readings of the
        // range, broken segments excluded: value units times milliseconds.
        double area = 0;
    };

    void sync(const ChartPointSource &source);
    int count() const { return synced; }

    // Whether the line is broken between reading index - 1 and index.
    bool breaksBefore(int index) const;
    // The first index from `from` on that breaks from its predecessor;
    // count() when there is none.
    int nextBreak(int from) const;
    // The broken segments ending in first + 1 .. last, by their later index.
    QVector<int> breaksIn(int first, int last) const;
    // Whether the break before index is a gap in time (both times known and
    // ascending), which is shaded with its duration.
    bool isGap(const ChartPointSource &source, int index) const;

    // The first reading whose time is at least ms, for ascending times;
    // count() when none is. Times that go back give some reading, no crash.
    int firstAtOrAfter(const ChartPointSource &source, qint64 ms) const;

    Statistics statistics(const ChartPointSource &source, int first, int last) const;

private:
    // Area of the segment index - 1 .. index, 0 when it does not count.
    double segmentArea(const ChartPointSource &source, int index) const;
    double typicalInterval() const;

    int synced = 0;
    QVector<int> breakIndexes; // ascending
    BlockSums areas;           // element i: segment i - 1 .. i
    QVector<qint64> recentIntervals; // the last few, oldest first
    qint64 lastTime = 0;
};

#endif // CHARTTIMELINE_H

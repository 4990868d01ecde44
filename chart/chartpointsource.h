#ifndef CHARTPOINTSOURCE_H
#define CHARTPOINTSOURCE_H

#include <QDateTime>
#include <QString>

#include <limits>

class ValueColumn;

// Where a chart finds the readings of its first line, by their index in
// order of arrival: the plotted values (with their block extremes), the
// times and the hover labels. The chart keeps nothing of a reading itself;
// the few times and labels it shows are asked for when they are drawn.
class ChartPointSource
{
public:
    virtual ~ChartPointSource() = default;

    // The values, one per reading; count() of it is the number of readings.
    virtual const ValueColumn &values() const = 0;
    // A reading given without a time.
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

    // index is below the number of readings.
    virtual qint64 timeMs(int index) const = 0; // milliseconds since the epoch, or kNoTime
    virtual QString label(int index) const = 0;

    QDateTime time(int index) const
    {
        const qint64 ms = timeMs(index);
        return ms == kNoTime ? QDateTime() : QDateTime::fromMSecsSinceEpoch(ms);
    }
};

#endif // CHARTPOINTSOURCE_H

#ifndef CHARTPOINTSOURCE_H
#define CHARTPOINTSOURCE_H

#include <QDateTime>
#include <QString>

// Where a chart finds the time and the hover label of a reading of its
// first line, by the reading's index in order of arrival. The chart keeps
// only the plotted values itself; the few times and labels it shows are
// asked for when they are drawn.
class ChartPointSource
{
public:
    virtual ~ChartPointSource() = default;

    // index is below the number of readings the chart holds.
    virtual QDateTime time(int index) const = 0;
    virtual QString label(int index) const = 0;
};

#endif // CHARTPOINTSOURCE_H

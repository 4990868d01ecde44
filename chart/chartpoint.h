#ifndef CHARTPOINT_H
#define CHARTPOINT_H

#include <QDateTime>
#include <QVariant>

// One plotted reading; owned by the ChartLine that holds it.
struct ChartPoint
{
    QDateTime time;   // labels the time axis
    double value = 0; // volts, amperes or watts
    QVariant label;   // QString shown beside the hover indicator
};

#endif // CHARTPOINT_H

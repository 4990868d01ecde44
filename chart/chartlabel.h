#ifndef CHARTLABEL_H
#define CHARTLABEL_H

#include <QString>

class QDateTime;

// The texts written along the chart's axes.
class ChartLabel
{
public:
    // A value-axis label: thousands get the suffix "k", millions "M",
    // chosen on the magnitude so negative labels mirror positive ones.
    static QString value(double value, int decimals);

    // A time-axis label, "hh:mm:ss".
    static QString time(const QDateTime &time);
};

#endif // CHARTLABEL_H

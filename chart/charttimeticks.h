#ifndef CHARTTIMETICKS_H
#define CHARTTIMETICKS_H

#include <QStringList>
#include <QVector>

// Ticks of a time axis at round steps of local time (1, 2, 5, 10, 15, 30
// seconds, the same in minutes, 1, 2, 3, 6, 12 hours, days), at least
// minPixels apart. Each tick is labelled with its time; where the day
// changes from the tick before (and at the first tick) it also gets the
// date.
class ChartTimeTicks
{
public:
    struct Ticks
    {
        QVector<int> x; // pixel offsets from the plot's left edge
        QStringList times;
        QStringList dates; // empty where the day does not change
    };

    // The visible time runs from startMs at offset 0 to the plot's width at
    // msScale pixels per millisecond.
    static Ticks compute(double startMs, double msScale, int plotWidth, double minPixels);
    // The duration of a gap, "18 s", "2 min 5 s", "3 h 20 min", "2 d 4 h".
    static QString duration(qint64 ms);
};

#endif // CHARTTIMETICKS_H

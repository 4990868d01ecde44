#ifndef CHARTREADOUT_H
#define CHARTREADOUT_H

#include <QString>
#include <QStringList>

class ChartPointSource;
class ChartTimeline;

// The text of the cursors' read-out: each cursor's time and value, the
// differences between them, and the statistics of the readings between
// them (of the visible readings without both cursors), with the charge of
// a current chart or the energy of a power chart.
class ChartReadout
{
public:
    enum class Quantity { Other, Voltage, Current, Power };

    // From the chart's object name, which ends in its quantity.
    static Quantity quantityOf(const QString &chartName);

    struct Input
    {
        int cursors[2] = {-1, -1}; // reading indexes, -1 for none
        int first = 0;             // the visible readings
        int last = -1;
        Quantity quantity = Quantity::Other;
        // Of a reading's value (the chart's label decimals); the mean and
        // RMS get two more. -1 writes six significant digits.
        int decimals = -1;
    };

    // timeline has been synced with source.
    static QStringList lines(const ChartPointSource &source, const ChartTimeline &timeline, const Input &input);

    static QString valueText(double value, Quantity quantity, int decimals = -1);
    static QString durationText(qint64 ms);
};

#endif // CHARTREADOUT_H

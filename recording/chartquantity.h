#ifndef CHARTQUANTITY_H
#define CHARTQUANTITY_H

#include <QString>

class DmmData;
struct ChartPoint;

// What a chart plots, told by its object name: "chartCH", the channel's single
// digit, then "Voltage", "Current" or "Power".
struct ChartQuantity
{
    // The quantity whose name the chart's name ends with; null for none.
    static const ChartQuantity *forChart(const QString &chartName);
    // The digit after "chartCH"; 0 when there is none.
    static int channelOf(const QString &chartName);

    // A new point with the reading's value; the caller owns it. The time
    // and label are left out: a window's chart reads them from the
    // channel's table when it shows them (RecordPointSource).
    ChartPoint *makePoint(const DmmData &record) const;
    // The hover label of the reading, e.g. "2024-03-05 14:07:09: 12.00V".
    QString label(const DmmData &record) const;

    QString name;                        // the ending of the chart's name
    QString unit;                        // appended to the label's value
    double (DmmData::*value)() const;    // what is plotted
    QString (DmmData::*text)() const;    // what the label shows
    const char *title;                   // the value axis title, translated in the "MainWindow" context
    int labelDecimals;                   // of the value axis labels
};

#endif // CHARTQUANTITY_H

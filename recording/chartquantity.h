#ifndef CHARTQUANTITY_H
#define CHARTQUANTITY_H

#include "readingtable.h"

#include <QString>

// What a chart plots, told by its object name: "chartCH", the channel's single
// digit, then "Voltage", "Current" or "Power".
struct ChartQuantity
{
    // The quantity whose name the chart's name ends with; null for none.
    static const ChartQuantity *forChart(const QString &chartName);
    // The digit after "chartCH"; 0 when there is none.
    static int channelOf(const QString &chartName);

    // The hover label of a reading, e.g. "2024-03-05 14:07:09: 12.00V".
    QString label(qint64 timeMs, const QString &text) const;

    QString name;                      // the ending of the chart's name
    QString unit;                      // appended to the label's value
    ReadingTable::Quantity quantity;   // what is plotted
    const char *title;                 // the value axis title, translated in the "MainWindow" context
    int labelDecimals;                 // of the value axis labels
};

#endif // CHARTQUANTITY_H

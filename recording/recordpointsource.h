#ifndef RECORDPOINTSOURCE_H
#define RECORDPOINTSOURCE_H

#include "chartpointsource.h"

class ReadingTable;
struct ChartQuantity;

// A chart's readings as the recorded table holds them: the values of one
// series with their block extremes, the rows' times, and hover labels made
// from the rows' display texts when they are shown. Reading i of the chart
// is row i of the table, so nothing of a reading is kept twice.
class RecordPointSource : public ChartPointSource
{
public:
    // Neither is owned; both outlive the source. series is one of the table's.
    RecordPointSource(const ReadingTable *table, int series, const ChartQuantity *quantity);

    const ValueColumn &values() const override;
    qint64 timeMs(int index) const override;
    QString label(int index) const override;

private:
    const ReadingTable *table;
    int series;
    const ChartQuantity *quantity;
};

#endif // RECORDPOINTSOURCE_H

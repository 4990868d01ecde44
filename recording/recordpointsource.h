#ifndef RECORDPOINTSOURCE_H
#define RECORDPOINTSOURCE_H

#include "chartpointsource.h"

class DataModel;
struct ChartQuantity;

// The times and hover labels of a chart's readings, read from the records
// of the channel's table model, which holds reading i of the chart in row i
// (the pipeline appends to both and empties both). So the chart keeps only
// the plotted values, and no reading is stored twice.
class RecordPointSource : public ChartPointSource
{
public:
    // Neither is owned; both outlive the source's use.
    RecordPointSource(const DataModel *model, const ChartQuantity *quantity);

    QDateTime time(int index) const override;
    QString label(int index) const override;

private:
    const DataModel *model;
    const ChartQuantity *quantity;
};

#endif // RECORDPOINTSOURCE_H

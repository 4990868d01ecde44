#include "recordpointsource.h"

#include "chartquantity.h"
#include "readingtable.h"

RecordPointSource::RecordPointSource(const ReadingTable *table, int series, const ChartQuantity *quantity)
    : table(table), series(series), quantity(quantity)
{
}

const ValueColumn &RecordPointSource::values() const
{
    return table->values(series);
}

qint64 RecordPointSource::timeMs(int index) const
{
    if (index < 0 || index >= table->count())
        return kNoTime;
    return table->timeMs(index);
}

QString RecordPointSource::label(int index) const
{
    if (index < 0 || index >= table->count())
        return QString();
    return quantity->label(table->timeMs(index), table->text(index, series));
}

#include "chartpointstore.h"

void ChartPointStore::append(double value, const QDateTime &time, const QString &label)
{
    column.append(value);
    times.append(time.isValid() ? time.toMSecsSinceEpoch() : kNoTime);
    labels.append(label);
}

void ChartPointStore::clear()
{
    column.clear();
    times.clear();
    labels.clear();
}

const ValueColumn &ChartPointStore::values() const
{
    return column;
}

qint64 ChartPointStore::timeMs(int index) const
{
    return times.value(index, kNoTime);
}

QString ChartPointStore::label(int index) const
{
    return labels.value(index);
}

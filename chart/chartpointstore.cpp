#include "chartpointstore.h"

void ChartPointStore::append(const QDateTime &time, const QString &label)
{
    times.append(time);
    labels.append(label);
}

void ChartPointStore::clear()
{
    times.clear();
    labels.clear();
}

QDateTime ChartPointStore::time(int index) const
{
    return times.value(index);
}

QString ChartPointStore::label(int index) const
{
    return labels.value(index);
}

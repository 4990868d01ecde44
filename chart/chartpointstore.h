#ifndef CHARTPOINTSTORE_H
#define CHARTPOINTSTORE_H

#include "chartpointsource.h"

#include <QVector>

// Keeps the time and label of every reading a chart is given, for a chart
// whose owner does not hold its readings elsewhere.
class ChartPointStore : public ChartPointSource
{
public:
    void append(const QDateTime &time, const QString &label);
    void clear();

    QDateTime time(int index) const override;
    QString label(int index) const override;

private:
    QVector<QDateTime> times;
    QVector<QString> labels;
};

#endif // CHARTPOINTSTORE_H

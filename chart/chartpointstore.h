#ifndef CHARTPOINTSTORE_H
#define CHARTPOINTSTORE_H

#include "chartpointsource.h"
#include "valuecolumn.h"

#include <QVector>

// Keeps the value, time and label of every reading a chart is given through
// addPoint(), for a chart whose owner does not hold its readings elsewhere.
class ChartPointStore : public ChartPointSource
{
public:
    void append(double value, const QDateTime &time, const QString &label);
    void clear();

    const ValueColumn &values() const override;
    qint64 timeMs(int index) const override;
    QString label(int index) const override;

private:
    ValueColumn column;
    QVector<qint64> times;
    QVector<QString> labels;
};

#endif // CHARTPOINTSTORE_H

#ifndef QCUSTOMPLOTBENCH_H
#define QCUSTOMPLOTBENCH_H

#include <QSize>
#include <QVector>

class QCustomPlot;

// The same readings in a QCustomPlot graph of the same size, shown, with
// the library's defaults (adaptive sampling on).
class QCustomPlotBench
{
public:
    QCustomPlotBench(const QSize &size, const QVector<double> &values);
    ~QCustomPlotBench();

    // A full replot, painted at once.
    void replot();

private:
    QCustomPlot *plot;
};

#endif // QCUSTOMPLOTBENCH_H

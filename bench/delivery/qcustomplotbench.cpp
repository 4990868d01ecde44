#include "qcustomplotbench.h"

#include <qcustomplot.h>

QCustomPlotBench::QCustomPlotBench(const QSize &size, const QVector<double> &values) : plot(new QCustomPlot)
{
    QVector<double> keys(values.size());
    for (int i = 0; i < keys.size(); ++i)
        keys[i] = i;
    plot->addGraph();
    plot->graph(0)->setData(keys, values, true);
    plot->rescaleAxes();
    plot->resize(size);
    plot->show();
    plot->replot(QCustomPlot::rpImmediateRefresh);
}

QCustomPlotBench::~QCustomPlotBench()
{
    delete plot;
}

void QCustomPlotBench::replot()
{
    plot->replot(QCustomPlot::rpImmediateRefresh);
}

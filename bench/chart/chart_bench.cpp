// Prints how long the chart takes to take readings and to repaint with
// growing numbers of readings. Figures only; nothing here passes or fails.

#include "chartpoint.h"
#include "dmmchart.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kChartWidth = 1200;
constexpr int kChartHeight = 600;
constexpr int kRepeats = 5;
constexpr int kSizes[] = {10000, 100000, 1000000};

double medianMs(std::vector<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

ChartPoint *reading(const QDateTime &start, int index)
{
    auto *point = new ChartPoint;
    point->time = start.addMSecs(qint64(index) * 100);
    point->value = 12.0 + 3.0 * std::sin(index / 500.0);
    point->label = QStringLiteral("reading %1").arg(index);
    return point;
}

// Full repaint: layout, ticks, text and all four layers.
double fullRepaintMs(DMMChart &chart)
{
    std::vector<qint64> times;
    for (int i = 0; i < kRepeats; ++i) {
        chart.setYTitle(QStringLiteral("Voltage %1").arg(i)); // marks the axes dirty
        QElapsedTimer timer;
        timer.start();
        chart.grab();
        times.push_back(timer.nsecsElapsed());
    }
    return medianMs(times);
}

// Hover repaint: only the indicator layer is rebuilt.
double hoverRepaintMs(DMMChart &chart)
{
    std::vector<qint64> times;
    for (int i = 0; i < kRepeats; ++i) {
        const QPointF pos(chart.plotArea().left() + 50 + 40 * i, chart.plotArea().center().y());
        QMouseEvent move(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&chart, &move);
        QElapsedTimer timer;
        timer.start();
        chart.grab();
        times.push_back(timer.nsecsElapsed());
    }
    return medianMs(times);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    DMMChart chart;
    chart.setLeftMargin(88);
    chart.setBottomMargin(66);
    chart.setXTitle(QStringLiteral("Date/Time"));
    chart.resize(kChartWidth, kChartHeight);
    chart.show();
    QApplication::processEvents();

    const QDateTime start = QDateTime::currentDateTime();
    std::printf("chart %dx%d, median of %d paints\n", kChartWidth, kChartHeight, kRepeats);
    std::printf("%10s %14s %16s %16s\n", "readings", "addPoint ns", "full repaint ms",
                "hover repaint ms");
    for (int size : kSizes) {
        chart.clear();
        chart.grab();
        // The readings are made beforehand so that only addPoint is timed.
        std::vector<ChartPoint *> readings(size);
        for (int i = 0; i < size; ++i)
            readings[i] = reading(start, i);
        QElapsedTimer timer;
        timer.start();
        for (ChartPoint *point : readings)
            chart.addPoint(point, 0);
        const double addNs = double(timer.nsecsElapsed()) / size;
        const double fullMs = fullRepaintMs(chart);
        const double hoverMs = hoverRepaintMs(chart);
        std::printf("%10d %14.1f %16.2f %16.2f\n", size, addNs, fullMs, hoverMs);
    }
    return 0;
}

// The chart widget alone, 600 x 300 pixels with the window's margins, over
// two series of N readings: "instrument", a walk in display steps with rare
// spikes as the instrument reports it, and "walk", a continuous random walk
// with five single-reading spikes. Measured: a full repaint (the value
// title changes, so every layer is rebuilt) on the readings axis, on the
// time axis and with both cursors shown; a wheel step, a pan step and a
// cursor move; the statistics of a range; QCustomPlot's replot of the same
// readings when it is built in.
//
// One size per process (scripts/bench-chart runs them all). Each line of
// output is "series.measure median low high", in milliseconds of CPU time
// of this thread over several runs.

#include "benchclock.h"
#include "chartline.h"
#include "chartpoint.h"
#include "charttimeline.h"
#include "dmmchart.h"
#ifdef LUMA_BENCH_QCUSTOMPLOT
#include "qcustomplotbench.h"
#endif

#include <QApplication>
#include <QKeyEvent>
#include <QStandardPaths>
#include <QWheelEvent>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kChartWidthPx = 600;
constexpr int kChartHeightPx = 300;
constexpr int kLeftMarginPx = 88; // as the window sets them
constexpr int kBottomMarginPx = 66;
constexpr int kRuns = 7;
constexpr int kCallsPerRun = 5;
constexpr qint64 kStartMs = 1733650000000; // 2024-12-08, one reading a second
constexpr int kPeriodMs = 1000;

void report(const QString &series, const char *measure, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    std::printf("%s.%s %.4f %.4f %.4f\n", qPrintable(series), measure, samples[samples.size() / 2],
                samples.front(), samples.back());
    std::fflush(stdout);
}

// Centivolts around 12 V moving by one step at most, a rare spike of 5 V.
QVector<double> instrumentSeries(int count)
{
    std::mt19937 random(4200);
    std::uniform_int_distribution<int> step(-1, 1);
    std::uniform_int_distribution<int> spike(0, 5000);
    QVector<double> values(count);
    int centiVolts = 1200;
    for (int i = 0; i < count; ++i) {
        centiVolts = std::clamp(centiVolts + step(random), 0, 3200);
        values[i] = (spike(random) == 0 ? centiVolts + 500 : centiVolts) / 100.0;
    }
    return values;
}

// From 12.0 in normally distributed steps (sigma 0.01), with single-reading
// spikes at 10, 30, 50, 70 and 90 % reaching half the walk's range above
// its maximum.
QVector<double> walkSeries(int count)
{
    std::mt19937 random(17);
    std::normal_distribution<double> step(0.0, 0.01);
    QVector<double> values(count);
    double value = 12.0;
    for (int i = 0; i < count; ++i) {
        values[i] = value;
        value += step(random);
    }
    const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
    const double spike = *high + (*high - *low) / 2;
    for (int percent : {10, 30, 50, 70, 90})
        values[int(qint64(count) * percent / 100)] = spike;
    return values;
}

// One reading a second, with an 18 s pause at 40 % and a 45 s loss of the
// connection at 60 % of the readings.
qint64 timeOf(int index, int count)
{
    qint64 ms = kStartMs + qint64(index) * kPeriodMs;
    if (index >= qint64(count) * 40 / 100)
        ms += 18000;
    if (index >= qint64(count) * 60 / 100)
        ms += 45000;
    return ms;
}

void fill(DMMChart &chart, const QVector<double> &values)
{
    for (int i = 0; i < values.size(); ++i) {
        auto *point = new ChartPoint;
        point->time = QDateTime::fromMSecsSinceEpoch(timeOf(i, values.size()));
        point->value = values[i];
        chart.addPoint(point, 0);
    }
}

void measure(const QString &series, const QVector<double> &values)
{
    DMMChart chart;
    chart.setLeftMargin(kLeftMarginPx);
    chart.setBottomMargin(kBottomMarginPx);
    chart.setYTitle(QStringLiteral("Voltage"));
    chart.setXTitle(QStringLiteral("Date/Time"));
    chart.setLabelDecimals(2);
    chart.resize(kChartWidthPx, kChartHeightPx);
    chart.show();
    fill(chart, values);
    chart.grab();

    int flip = 0;
    const auto fullRepaint = [&] {
        chart.setYTitle(++flip % 2 ? QStringLiteral("Voltage ") : QStringLiteral("Voltage"));
        chart.grab();
    };
    report(series, "repaint.readings", BenchClock::runs(kRuns, kCallsPerRun, fullRepaint));
    chart.setTimeAxis(true);
    chart.grab();
    report(series, "repaint.time", BenchClock::runs(kRuns, kCallsPerRun, fullRepaint));
    const int count = values.size();
    chart.setCursor(0, count / 5);
    chart.setCursor(1, count * 4 / 5);
    chart.grab();
    report(series, "repaint.time.cursors", BenchClock::runs(kRuns, kCallsPerRun, fullRepaint));
    chart.setTimeAxis(false);
    chart.grab();
    report(series, "repaint.readings.cursors", BenchClock::runs(kRuns, kCallsPerRun, fullRepaint));

    // Steps on the time axis with the cursors shown: in and out again.
    chart.setTimeAxis(true);
    chart.grab();
    const QRect plot = chart.plotArea();
    const QPoint at(plot.left() + plot.width() / 3, plot.center().y());
    int step = 0;
    report(series, "step.wheel", BenchClock::runs(kRuns, kCallsPerRun, [&] {
        QWheelEvent wheel(at, chart.mapToGlobal(at), QPoint(), QPoint(0, ++step % 2 ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &wheel);
        chart.grab();
    }));
    report(series, "step.pan", BenchClock::runs(kRuns, kCallsPerRun, [&] {
        QKeyEvent key(QEvent::KeyPress, ++step % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&chart, &key);
        chart.grab();
    }));
    chart.showFullView();
    chart.grab();
    report(series, "step.cursor", BenchClock::runs(kRuns, kCallsPerRun, [&] {
        chart.setCursor(1, count / 2 + (++step % 2) * (count / 4));
        chart.grab();
    }));

    // Any range's statistics, the read-out's cost beside its drawing.
    ChartTimeline timeline;
    timeline.sync(*chart.line(0)->pointSource());
    std::mt19937 random(7);
    std::uniform_int_distribution<int> index(0, count - 1);
    double sink = 0;
    report(series, "statistics", BenchClock::runs(kRuns, kCallsPerRun * 20, [&] {
        const int a = index(random);
        const int b = index(random);
        sink += timeline.statistics(*chart.line(0)->pointSource(), std::min(a, b), std::max(a, b)).area;
    }));
    if (sink == 0)
        std::fprintf(stderr, "no area\n");

#ifdef LUMA_BENCH_QCUSTOMPLOT
    QCustomPlotBench other(QSize(kChartWidthPx, kChartHeightPx), values);
    report(series, "qcustomplot", BenchClock::runs(kRuns, kCallsPerRun, [&other] { other.replot(); }));
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    // grab() allocates a fresh 720 KB picture at every call. Whether glibc
    // maps new pages for it depends on what the process freed before (its
    // dynamic mmap threshold), which made the same repaint cost 0.4 ms in one
    // process and 0.9 ms in the next. Fixed thresholds take the allocator's
    // history out of the figures, for QCustomPlot alike; the chart's own
    // paints allocate no picture.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // As the application does at its start: without it every local time
    // conversion reads the zone file again.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
    QApplication app(argc, argv);
    const int readings = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (readings < 1) {
        std::fprintf(stderr, "usage: %s READINGS\n", argv[0]);
        return 2;
    }
    measure(QStringLiteral("instrument"), instrumentSeries(readings));
    measure(QStringLiteral("walk"), walkSeries(readings));
    return 0;
}

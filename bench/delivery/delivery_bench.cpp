// What a user of a long recording waits for, through the real window with its
// views shown: one delivery of readings (tables, charts, displays and the
// repaint it causes) with a chart or a record table on screen, the memory a
// delivery of three channels' records costs (charts included), and the
// repaints of a chart. The straightforward ways are
// measured in the same run so the ratios show: the polyline through every
// visible reading (and QCustomPlot, when it is built in) beside the chart's
// lines, a stock QTableView beside a record table.
//
// One recording size per process, so no size reuses the heap another one
// freed: scripts/bench runs the sizes and prints the table. Each line of
// output is "measure median low high" in milliseconds of GUI-thread CPU time
// (bytes and megabytes of 10^6 bytes for the memory lines); low and high
// are the extremes of the runs.
//
// Memory per delivery is the growth of the resident size from 10^5 to 10^6
// deliveries (and from 10^6 to 10^7), beyond the window's fixed costs;
// beside it the growth of the heap's bytes in use over the same deliveries,
// whose difference to the resident growth is memory the allocator holds
// free between the growing columns.

#include "benchclock.h"
#include "benchreadings.h"
#include "chartline.h"
#include "chartrenderer.h"
#include "datamodel.h"
#include "dmmchart.h"
#include "localtimezone.h"
#include "mainwindow.h"
#include "recorder.h"
#include "recordrowheader.h"
#include "testdrivercontrol.h"
#ifdef LUMA_BENCH_QCUSTOMPLOT
#include "qcustomplotbench.h"
#endif

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPluginLoader>
#include <QResizeEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kChartWidthPx = 600;
constexpr int kChartHeightPx = 300;
constexpr int kRuns = 7;
constexpr int kDeliveriesPerRun = 15;
constexpr int kRepaintsPerRun = 5;
constexpr int kMemoryFromReadings = 100000;
constexpr int kMemoryToReadings = 1000000;
constexpr int kMemoryLateReadings = 10000000;
constexpr double kBytesPerMB = 1e6;
constexpr int kChannelCount = 3;
const QStringList kChartNames = {"chartCH1Voltage", "chartCH1Current", "chartCH1Power", "chartCH2Voltage",
                                 "chartCH2Current", "chartCH2Power", "chartCH3Voltage"};

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

qint64 heapBytesInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return qint64(heap.uordblks + heap.hblkhd);
}

void report(const char *measure, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    std::printf("%s %.4f %.4f %.4f\n", measure, samples[samples.size() / 2], samples.front(), samples.back());
    std::fflush(stdout);
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The window over the test driver plug-in in Lib/ beside this program.
class Bench
{
public:
    bool start()
    {
        QDir lib(QCoreApplication::applicationDirPath() + QStringLiteral("/Lib"));
        const QStringList files = lib.entryList({QStringLiteral("*.so")}, QDir::Files);
        if (files.isEmpty())
            return false;
        driver = QPluginLoader(lib.absoluteFilePath(files.first())).instance();
        control = qobject_cast<TestDriverControl *>(driver);
        if (!control)
            return false;
        control->reset();
        control->preset(QStringLiteral("outputOn"), true);
        control->preset(QStringLiteral("infinite"), true);

        window.reset(new MainWindow);
        window->show();
        settle();
        for (int ch = 1; ch <= kChannelCount; ++ch) {
            auto table = window->findChild<QTableView *>(QStringLiteral("tableViewCH%1").arg(ch));
            models << qobject_cast<DataModel *>(table->model());
        }
        for (const QString &name : kChartNames)
            charts << window->findChild<DMMChart *>(name);
        recorder = window->findChild<Recorder *>();
        showCharts(true);
        sizeChart();
        return true;
    }

    // The first channel's voltage chart, or its record table, on screen.
    void showCharts(bool chart)
    {
        window->findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1"))->setCurrentIndex(chart ? 1 : 0);
        settle();
    }

    DMMChart *shownChart() const { return charts.first(); }
    DataModel *firstModel() const { return models.first(); }
    QSize tableSize() const { return window->findChild<QTableView *>(QStringLiteral("tableViewCH1"))->size(); }

    // Records the next reading through the window's recorder without
    // telling the views, which would follow every row. The test driver's
    // log of the calls made to it (the recorder asks for the output state
    // and the limit at each delivery) is no memory of the window's.
    void recordQuietly()
    {
        const QSignalBlocker quiet(recorder);
        recorder->record(source.next());
        control->clearCalls();
    }

    // Adds readings through the window's recorder, without the views' work
    // per delivery, to reach a recording size quickly.
    void prefill(int readings)
    {
        for (int i = 0; i < readings; ++i)
            recordQuietly();
        for (DMMChart *chart : qAsConst(charts))
            chart->refresh();
        settle();
    }

    // One delivery through the driver's signal, then the repaint it causes.
    void deliver()
    {
        const QList<DmmData *> records = source.next();
        QMetaObject::invokeMethod(driver, "updateData", Qt::DirectConnection, Q_ARG(QList<DmmData *>, records));
        QApplication::processEvents();
        control->clearCalls();
    }

    QScopedPointer<MainWindow> window;

private:
    // The window grows until the chart is 600 x 300 pixels.
    void sizeChart()
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QSize missing = QSize(kChartWidthPx, kChartHeightPx) - shownChart()->size();
            window->resize(window->size() + missing);
            settle();
        }
    }

    QObject *driver = nullptr;
    TestDriverControl *control = nullptr;
    QList<DataModel *> models;
    QList<DMMChart *> charts;
    Recorder *recorder = nullptr;
    BenchReadings source;
};

void sendMouse(DMMChart *chart, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, chart->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(chart, &event);
}

// A resize marks every layer out of date: layout, axes, lines and the rest.
void fullRepaint(DMMChart *chart)
{
    QResizeEvent resize(chart->size(), chart->size());
    QApplication::sendEvent(chart, &resize);
    chart->repaint();
}

// The polyline through every visible reading, drawn the straightforward way.
void straightforwardLines(const DMMChart *chart, QPixmap &target)
{
    const ChartLayout &layout = chart->plotLayout();
    const QRect plot = chart->plotArea();
    const ChartLine *line = chart->line(0);
    const int first = chart->visibleFirst();
    const int last = std::min(chart->visibleLast(), line->count() - 1);
    const double zero = layout.zeroLevel(plot.top());
    QPolygon polyline;
    polyline.reserve(last - first + 1);
    for (int i = first; i <= last; ++i)
        polyline << QPoint(ChartLayout::toPixel(plot.left() + (i - first) * layout.xScale),
                           ChartLayout::toPixel(zero - layout.yScale * line->values().at(i)));
    QPainter painter(&target);
    painter.setPen(QPen(line->penColor()));
    painter.drawPolyline(polyline);
}

void measureChart(Bench &bench)
{
    DMMChart *chart = bench.shownChart();
    report("chart.repaint.full", BenchClock::runs(kRuns, kRepaintsPerRun, [chart] { fullRepaint(chart); }));

    const QPixmap base = chart->layer(DMMChart::Layer::Base);
    ChartRenderer::Stamps stamps;
    report("chart.lines.fast", BenchClock::runs(kRuns, kRepaintsPerRun, [&] {
        QPixmap target = base;
        QPainter painter(&target);
        ChartRenderer(chart->plotArea(), chart->plotLayout(), chart->visibleFirst(), chart->visibleLast(), stamps)
            .drawLine(painter, *chart->line(0));
    }));
    report("chart.lines.polyline", BenchClock::runs(kRuns, kRepaintsPerRun, [&] {
        QPixmap target = base;
        straightforwardLines(chart, target);
    }));

    const QRect plot = chart->plotArea();
    int step = 0;
    report("chart.repaint.hover", BenchClock::runs(kRuns, kRepaintsPerRun, [&] {
        sendMouse(chart, QEvent::MouseMove, QPoint(plot.left() + 20 + (step++ * 37) % (plot.width() - 40), plot.center().y()),
                  Qt::NoButton);
        chart->repaint();
    }));

    // A zoom on the middle half of the readings.
    const QPoint from(plot.left() + plot.width() / 4, plot.top() + 5);
    const QPoint to(plot.left() + plot.width() * 3 / 4, plot.bottom() - 5);
    sendMouse(chart, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, to, Qt::NoButton);
    report("chart.repaint.zoomed", BenchClock::runs(kRuns, kRepaintsPerRun, [chart] { fullRepaint(chart); }));
    sendMouse(chart, QEvent::MouseButtonPress, to, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, from, Qt::NoButton);
    chart->repaint();

#ifdef LUMA_BENCH_QCUSTOMPLOT
    QVector<double> values(chart->line(0)->count());
    for (int i = 0; i < values.size(); ++i)
        values[i] = chart->line(0)->values().at(i);
    QCustomPlotBench other(QSize(kChartWidthPx, kChartHeightPx), values);
    report("qcustomplot.replot", BenchClock::runs(kRuns, kRepaintsPerRun, [&other] { other.replot(); }));
#endif
}

// A row appended and scrolled to, in a table as large as the window's over
// the channel 1 records: with the stock vertical header and with the record
// tables' one. Last, for the charts do not see the rows it adds.
void measureTables(Bench &bench)
{
    for (const bool stock : {true, false}) {
        QTableView table;
        if (!stock)
            RecordRowHeader::install(&table);
        table.setModel(bench.firstModel());
        table.resize(bench.tableSize());
        table.show();
        settle();
        report(stock ? "table.append.stock" : "table.append.records", BenchClock::runs(kRuns, kRepaintsPerRun, [&] {
            bench.recordQuietly();
            table.scrollToBottom();
            QApplication::processEvents();
        }));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing the window writes may land in the real home.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    // As the application does at its start (main.cpp).
    LocalTimeZone::keepSystemZone();
    QApplication app(argc, argv);

    const int readings = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (readings < 1) {
        std::fprintf(stderr, "usage: %s READINGS\n", argv[0]);
        return 2;
    }
    Bench bench;
    if (!bench.start()) {
        std::fprintf(stderr, "no test driver plug-in in %s/Lib\n", qPrintable(QCoreApplication::applicationDirPath()));
        return 1;
    }

    // Memory is measured over deliveries beyond the window's fixed costs.
    int filled = 0;
    const auto fillTo = [&](int count) {
        bench.prefill(count - filled);
        filled = count;
    };
    const auto measureGrowth = [&](int from, int to, const char *resident, const char *heap) {
        fillTo(from);
        const qint64 residentBefore = residentBytes();
        const qint64 heapBefore = heapBytesInUse();
        fillTo(to);
        report(resident, {double(residentBytes() - residentBefore) / (to - from)});
        report(heap, {double(heapBytesInUse() - heapBefore) / (to - from)});
    };
    if (readings >= kMemoryToReadings)
        measureGrowth(kMemoryFromReadings, kMemoryToReadings, "memory.per_delivery", "memory.heap_per_delivery");
    if (readings >= kMemoryLateReadings)
        measureGrowth(kMemoryToReadings, kMemoryLateReadings, "memory.per_delivery.late",
                      "memory.heap_per_delivery.late");
    fillTo(readings);
    report("memory.resident_mb", {residentBytes() / kBytesPerMB});

    bench.showCharts(false);
    report("delivery.table", BenchClock::runs(kRuns, kDeliveriesPerRun, [&bench] { bench.deliver(); }));
    bench.showCharts(true);
    report("delivery.chart", BenchClock::runs(kRuns, kDeliveriesPerRun, [&bench] { bench.deliver(); }));
    measureChart(bench);
    measureTables(bench);
    return 0;
}

// The chart draws a line with a few vertices per pixel column, however many
// readings it holds; its picture must still be, pixel for pixel, the plain
// polyline through every visible reading: vertex k at
// (trunc(L + k * xScale), trunc(y0 - yScale * value)), broken at values that
// are not finite, drawn with the default one-pixel pen. On a time axis
// reading i stands at trunc(L + (t_i - start) * msScale) and gaps break the
// line too; a reading alone between breaks is a 3 x 3 dot; rows are held to
// the plot and its one-pixel border, as a value range of the user's puts
// readings above and below the plot.

// Mouse events go through the window system, as a user's do.
#define QTEST_QPA_MOUSE_HANDLING

#include "chartline.h"
#include "chartpoint.h"
#include "dmmchart.h"

#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace {

// Readings as an instrument gives them: a random walk that often stays put,
// moves by the display resolution or by a few pixels, with single-reading
// spikes, jumps, and now and then a value that is not finite.
void addWalk(DMMChart &chart, int count, unsigned seed, bool timed = false)
{
    std::uniform_int_distribution<int> interval(500, 1500);
    qint64 time = 1733650000000;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> step(-2, 2);
    std::uniform_int_distribution<int> stride(0, 2);
    std::uniform_int_distribution<int> event(0, 999);
    const double strides[] = {0.0, 0.01, 0.3};
    double volts = 12.0;
    for (int i = 0; i < count; ++i) {
        volts += strides[stride(random)] * step(random);
        double value = volts;
        const int what = event(random);
        if (what < 2)
            value = std::numeric_limits<double>::quiet_NaN();
        else if (what < 6)
            value = volts + (what % 2 ? 6.0 : -9.0); // a spike of one reading
        else if (what < 7)
            volts += (what % 2 ? 1.5 : -1.5);
        auto point = new ChartPoint;
        point->value = value;
        // Uneven intervals, and now and then a pause of 20 to 60 s once the
        // sampling interval is known.
        time += interval(random) + (what >= 990 && i > 8 ? 20000 + 40 * (what - 990) * 100 : 0);
        if (timed)
            point->time = QDateTime::fromMSecsSinceEpoch(time);
        chart.addPoint(point, 0);
    }
}

// The plain drawing of the visible readings on top of the chart's axes layer.
QImage plainPolyline(DMMChart &chart)
{
    QImage image = chart.layer(DMMChart::Layer::Base).toImage();
    const ChartLayout &layout = chart.plotLayout();
    const QRect plot = chart.plotArea();
    const ChartLine *line = chart.line(0);
    const double zero = std::trunc(plot.top() + layout.yScale * layout.maxValue);
    QPainter painter(&image);
    painter.setPen(QPen(line->penColor()));
    const TimeMapping &time = line->timeMapping();
    QPolygon run;
    const auto draw = [&] {
        if (run.size() == 1)
            painter.fillRect(QRect(run.first() - QPoint(1, 1), QSize(3, 3)), line->penColor());
        else
            painter.drawPolyline(run);
        run.clear();
    };
    qint64 previousTime = 0;
    for (int i = chart.visibleFirst(); i <= chart.visibleLast(); ++i) {
        const double value = line->values().at(i);
        const qint64 ms = line->pointSource()->timeMs(i);
        if (time.isActive() && ms - previousTime > 5000)
            draw();
        previousTime = ms;
        if (!std::isfinite(value)) {
            draw();
            continue;
        }
        const int k = i - chart.visibleFirst();
        const double x = time.isActive() ? plot.left() + (ms - time.startMs) * time.msScale : plot.left() + k * layout.xScale;
        const double y = std::clamp(std::trunc(zero - layout.yScale * value), plot.top() - 1.0, plot.bottom() + 1.0);
        run << QPoint(int(std::trunc(x)), int(y));
    }
    draw();
    return image;
}

} // namespace

class TestChartLines : public QObject
{
    Q_OBJECT
private slots:
    void linesLayerIsThePolylineThroughEveryReading_data();
    void linesLayerIsThePolylineThroughEveryReading();
};

void TestChartLines::linesLayerIsThePolylineThroughEveryReading_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("readings");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<bool>("timeAxis");
    QTest::addColumn<bool>("valueZoom");

    // A 600 x 300 chart in the window has a plot 492 pixels wide.
    const QSize window(600, 300);
    QTest::newRow("fewer readings than pixels") << window << 150 << false << false << false;
    QTest::newRow("one reading less than pixels") << window << 491 << false << false << false;
    QTest::newRow("as many readings as pixels") << window << 492 << false << false << false;
    QTest::newRow("one reading more than pixels") << window << 493 << false << false << false;
    QTest::newRow("two readings a pixel") << window << 984 << false << false << false;
    QTest::newRow("a hundred thousand readings") << window << 100000 << false << false << false;
    QTest::newRow("zoomed into a hundred thousand") << window << 100000 << true << false << false;
    QTest::newRow("small chart, thirty readings a pixel") << QSize(331, 187) << 6000 << false << false << false;
    QTest::newRow("small chart zoomed") << QSize(331, 187) << 6000 << true << false << false;
    QTest::newRow("wide chart, a quarter million") << QSize(1250, 420) << 250000 << false << false << false;
    QTest::newRow("wide chart zoomed") << QSize(1250, 420) << 250000 << true << false << false;
    QTest::newRow("time axis, fewer readings than pixels") << window << 300 << false << true << false;
    QTest::newRow("time axis, a hundred thousand") << window << 100000 << false << true << false;
    QTest::newRow("time axis zoomed") << window << 100000 << true << true << false;
    QTest::newRow("values zoomed and panned") << window << 100000 << false << false << true;
    QTest::newRow("values zoomed, few readings") << window << 400 << false << false << true;
    QTest::newRow("time axis, values zoomed") << window << 100000 << true << true << true;
    // Small charts on both axes, zoomed and moved by differing amounts.
    for (int i = 0; i < 80; ++i)
        QTest::addRow("values zoomed, case %d", i) << QSize(200 + i % 7 * 50, 150 + i % 5 * 40)
                                                    << 100 + (i * 7919) % 5000 << (i % 3 == 0) << (i % 2 == 1) << true;
}

void TestChartLines::linesLayerIsThePolylineThroughEveryReading()
{
    QFETCH(QSize, size);
    QFETCH(int, readings);
    QFETCH(bool, zoom);
    QFETCH(bool, timeAxis);
    QFETCH(bool, valueZoom);

    DMMChart chart;
    chart.resize(size);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.setTimeAxis(timeAxis);
    addWalk(chart, readings, unsigned(readings) ^ unsigned(size.width()), true);
    chart.repaint();

    if (zoom) {
        // From a fifth to three fifths of the plot, top to bottom.
        const QRect plot = chart.plotArea();
        QTest::mousePress(&chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(plot.width() / 5, 2));
        QTest::mouseMove(&chart, plot.topLeft() + QPoint(plot.width() * 3 / 5, plot.height() - 2));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(plot.width() * 3 / 5, plot.height() - 2));
        chart.repaint();
        QVERIFY(chart.isZoomed());
        QVERIFY(chart.visibleFirst() > 0 && chart.visibleLast() < readings - 1);
    }
    if (valueZoom) {
        // Three to a hundred times the scale around a point below the middle,
        // then the picture moved with the middle button.
        const QRect plot = chart.plotArea();
        const QPoint at = plot.center() + QPoint(0, plot.height() / 8);
        QWheelEvent wheel(at, chart.mapToGlobal(at), QPoint(), QPoint(0, 120 * (5 + readings % 17)), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &wheel);
        QTest::mousePress(&chart, Qt::MiddleButton, {}, plot.center());
        const QPoint by(readings % 13 - 6, (readings % 11 - 5) * plot.height() / 6);
        QTest::mouseMove(&chart, plot.center() + by);
        QTest::mouseRelease(&chart, Qt::MiddleButton, {}, plot.center() + by);
        chart.repaint();
        QVERIFY(chart.hasUserValueRange());
    }

    const QImage lines = chart.layer(DMMChart::Layer::Lines).toImage();
    const QImage expected = plainPolyline(chart);
    QCOMPARE(lines.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestChartLines)
#include "tst_chartlines.moc"

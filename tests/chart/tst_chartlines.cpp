// The chart draws a line with a few vertices per pixel column, however many
// readings it holds; its picture must still be, pixel for pixel, the plain
// polyline through every visible reading: vertex k at
// (trunc(L + k * xScale), trunc(y0 - yScale * value)), broken at values that
// are not finite, drawn with the default one-pixel pen.

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
void addWalk(DMMChart &chart, int count, unsigned seed)
{
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
        chart.addPoint(point, 0);
    }
}

// The plain drawing of the visible readings on top of the chart's axes layer.
QImage plainPolyline(const DMMChart &chart)
{
    QImage image = chart.layer(DMMChart::Layer::Base).toImage();
    const ChartLayout &layout = chart.plotLayout();
    const QRect plot = chart.plotArea();
    const ChartLine *line = chart.line(0);
    const double zero = std::trunc(plot.top() + layout.yScale * layout.maxValue);
    QPainter painter(&image);
    painter.setPen(QPen(line->penColor()));
    QPolygon run;
    for (int i = chart.visibleFirst(); i <= chart.visibleLast(); ++i) {
        const double value = line->values().at(i);
        if (!std::isfinite(value)) {
            painter.drawPolyline(run);
            run.clear();
            continue;
        }
        const int k = i - chart.visibleFirst();
        run << QPoint(int(std::trunc(plot.left() + k * layout.xScale)), int(std::trunc(zero - layout.yScale * value)));
    }
    painter.drawPolyline(run);
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

    // A 600 x 300 chart in the window has a plot 492 pixels wide.
    const QSize window(600, 300);
    QTest::newRow("fewer readings than pixels") << window << 150 << false;
    QTest::newRow("one reading less than pixels") << window << 491 << false;
    QTest::newRow("as many readings as pixels") << window << 492 << false;
    QTest::newRow("one reading more than pixels") << window << 493 << false;
    QTest::newRow("two readings a pixel") << window << 984 << false;
    QTest::newRow("a hundred thousand readings") << window << 100000 << false;
    QTest::newRow("zoomed into a hundred thousand") << window << 100000 << true;
    QTest::newRow("small chart, thirty readings a pixel") << QSize(331, 187) << 6000 << false;
    QTest::newRow("small chart zoomed") << QSize(331, 187) << 6000 << true;
    QTest::newRow("wide chart, a quarter million") << QSize(1250, 420) << 250000 << false;
    QTest::newRow("wide chart zoomed") << QSize(1250, 420) << 250000 << true;
}

void TestChartLines::linesLayerIsThePolylineThroughEveryReading()
{
    QFETCH(QSize, size);
    QFETCH(int, readings);
    QFETCH(bool, zoom);

    DMMChart chart;
    chart.resize(size);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    addWalk(chart, readings, unsigned(readings) ^ unsigned(size.width()));
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

    const QImage lines = chart.layer(DMMChart::Layer::Lines).toImage();
    const QImage expected = plainPolyline(chart);
    QCOMPARE(lines.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestChartLines)
#include "tst_chartlines.moc"

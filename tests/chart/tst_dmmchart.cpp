// Mouse events go through the window system, as a user's do, so moves carry
// the pressed button and reach the chart without a real cursor.
#define QTEST_QPA_MOUSE_HANDLING

#include "chartline.h"
#include "chartpoint.h"
#include "dmmchart.h"

#include <QDateTime>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

namespace {

// With the default margins (left 60, top 40, right 20, bottom 40) this gives
// a plot area of 400 x 300 pixels at (60, 40).
constexpr int kChartWidth = 480;
constexpr int kChartHeight = 380;
constexpr int kPlotWidth = 400;
constexpr int kPlotHeight = 300;
constexpr int kReadings = 10; // 40 pixels apart across the plot
constexpr int kIndicatorTimeoutMs = 6000;

ChartPoint *reading(int index, double value)
{
    auto *point = new ChartPoint;
    point->time = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 0)).addSecs(index);
    point->value = value;
    point->label = QStringLiteral("%1: %2V")
                       .arg(point->time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                       .arg(value, 0, 'f', 2);
    return point;
}

void addReadings(DMMChart &chart, int count, double value = 5.0)
{
    const int start = chart.line(0)->count();
    for (int i = 0; i < count; ++i)
        chart.addPoint(reading(start + i, value + i % 3), 0);
}

std::unique_ptr<DMMChart> shownChart(int readings)
{
    auto chart = std::make_unique<DMMChart>();
    chart->resize(kChartWidth, kChartHeight);
    chart->show();
    if (!QTest::qWaitForWindowExposed(chart.get()))
        return nullptr;
    addReadings(*chart, readings);
    chart->repaint();
    return chart;
}

// Widget position of a point given relative to the plot area.
QPoint inPlot(const DMMChart &chart, int x, int y)
{
    return chart.plotArea().topLeft() + QPoint(x, y);
}

void drag(DMMChart &chart, const QPoint &from, const QPoint &to)
{
    QTest::mousePress(&chart, Qt::LeftButton, {}, inPlot(chart, from.x(), from.y()));
    if (to != from)
        QTest::mouseMove(&chart, inPlot(chart, to.x(), to.y()));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, inPlot(chart, to.x(), to.y()));
}

void zoomOnReadingsOneToFour(DMMChart &chart)
{
    drag(chart, QPoint(30, 10), QPoint(170, 200));
    chart.repaint();
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (match(image.pixelColor(x, y)))
                ++count;
        }
    }
    return count;
}

// Smallest rectangle holding every matching pixel of the area.
QRect matchingBounds(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (match(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool isDark(QColor c)
{
    return c.lightness() < 128;
}

bool isIndicatorBlue(QColor c)
{
    return c.blue() - c.red() > 60;
}

QImage finalImage(DMMChart &chart)
{
    return chart.layer(DMMChart::Layer::Final).toImage();
}

QVector<int> visibleOffsets(const DMMChart &chart)
{
    const PixelOffsets offsets = chart.line(0)->offsets();
    QVector<int> result;
    for (int k = 0; k < offsets.size(); ++k)
        result.append(offsets.at(k));
    return result;
}

} // namespace

class TestDMMChart : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void marginsTakeEffectAtResize();
    void emptyChart();
    void titlesAreCentred();
    void singleReading();
    void rangeAndTicksOfA300PixelPlot();
    void zoomByDragRightAndDown();
    void otherDragsLeaveZoom_data();
    void otherDragsLeaveZoom();
    void narrowDragKeepsView_data();
    void narrowDragKeepsView();
    void readingsDuringZoomAreNotDrawn();
    void selectionIsDrawnWhileDragging();
    void indicatorTimesOut();
    void indicatorLabelPlacement_data();
    void indicatorLabelPlacement();
    void clearDuringZoom();
    void hostileInput();
    void saveImage();
};

void TestDMMChart::defaults()
{
    DMMChart chart;
    QCOMPARE(chart.lineCount(), 1);
    QCOMPARE(chart.line(0)->penColor(), QColor(250, 150, 0));
    QCOMPARE(chart.line(0)->owner(), &chart);
    QCOMPARE(chart.labelDecimalCount(), 2);
    QVERIFY(chart.hasMouseTracking());
    QVERIFY(!chart.hasData());
    QCOMPARE(chart.visibleLast(), -1);
    QCOMPARE(chart.indicatedPoint(), -1);
    QCOMPARE(chart.indicatorRemainingMs(), -1);

    chart.setLabelDecimals(-4);
    QCOMPARE(chart.labelDecimalCount(), 0);

    chart.addPoint(reading(0, 1.0), 1);
    chart.addPoint(reading(0, 1.0), -1);
    chart.addPoint(nullptr, 0);
    QVERIFY(!chart.hasData());
}

void TestDMMChart::marginsTakeEffectAtResize()
{
    DMMChart chart;
    chart.resize(kChartWidth, kChartHeight);
    QTest::qWait(0);
    chart.grab();
    QCOMPARE(chart.plotArea(), QRect(60, 40, kPlotWidth, kPlotHeight));

    chart.setLeftMargin(88);
    chart.setBottomMargin(66);
    QCOMPARE(chart.plotArea(), QRect(60, 40, kPlotWidth, kPlotHeight));
    chart.resize(kChartWidth + 1, kChartHeight);
    chart.grab();
    QCOMPARE(chart.plotArea(), QRect(88, 40, kChartWidth + 1 - 20 - 88, kChartHeight - 66 - 40));
}

void TestDMMChart::emptyChart()
{
    const auto chart = shownChart(0);
    QVERIFY(chart);
    const ChartLayout &layout = chart->plotLayout();
    QCOMPARE(layout.minValue, -1.1);
    QCOMPARE(layout.maxValue, 1.1);
    QCOMPARE(layout.xTickCount, 0);
    QCOMPARE(layout.yTicksAbove, 0);
    QCOMPARE(layout.yTicksBelow, 0);

    const QImage image = finalImage(*chart);
    QCOMPARE(image.size(), QSize(kChartWidth, kChartHeight));
    const QRect plot = chart->plotArea();
    const int zeroLevel = plot.top() + kPlotHeight / 2;
    QCOMPARE(layout.zeroLevel(plot.top()), zeroLevel);
    // The dotted grid line of the zero level and its label "0.00".
    QVERIFY(countPixels(image, QRect(plot.left() + 1, zeroLevel, kPlotWidth - 2, 1), isDark) > 100);
    QVERIFY(countPixels(image, QRect(0, zeroLevel - 6, plot.left() - 6, 12), isDark) > 5);
    // No time labels.
    QCOMPARE(countPixels(image, QRect(plot.left() + 1, plot.bottom() + 7, kPlotWidth - 2, 12), isDark), 0);

    QTest::mouseMove(chart.get(), inPlot(*chart, 200, 150));
    QVERIFY(!chart->isIndicatorShown());
    QTest::mousePress(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 200, 150));
    QVERIFY(!chart->isDragging());
    QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 200, 150));
}

void TestDMMChart::titlesAreCentred()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    chart->setLeftMargin(88);
    chart->setBottomMargin(66);
    chart->resize(kChartWidth + 28, kChartHeight + 26);
    chart->setXTitle(QStringLiteral("Date/Time"));
    chart->setYTitle(QStringLiteral("Voltage"));
    chart->repaint();

    const QImage image = finalImage(*chart);
    const QRect plot = chart->plotArea();
    QCOMPARE(plot.size(), QSize(kPlotWidth, kPlotHeight));

    // Time title below the time labels, value title left of the value
    // labels; both centred on the plot.
    const int titleBandTop = plot.bottom() + 7 + QFontMetrics(chart->font()).height();
    const QRect xTitle = matchingBounds(image, QRect(0, titleBandTop, image.width(), 100), isDark);
    const QRect yTitle = matchingBounds(image, QRect(0, 0, 35, image.height()), isDark);
    QVERIFY(xTitle.width() > 20 && yTitle.height() > 20);
    QVERIFY(qAbs(xTitle.center().x() - plot.center().x()) <= 3);
    QVERIFY(qAbs(yTitle.center().y() - plot.center().y()) <= 3);
}

void TestDMMChart::singleReading()
{
    const auto chart = shownChart(1);
    QVERIFY(chart);
    const ChartLayout &layout = chart->plotLayout();
    QCOMPARE(layout.xScale, double(kPlotWidth));
    QCOMPARE(layout.xTickCount, 1);
    QCOMPARE(layout.pointsPerXTick, 1);
    QCOMPARE(visibleOffsets(*chart), QVector<int>{0});

    // Its time label is centred under the left edge.
    const QRect plot = chart->plotArea();
    const QImage image = finalImage(*chart);
    QVERIFY(countPixels(image, QRect(plot.left() - 30, plot.bottom() + 7, 30, 14), isDark) > 5);
    QVERIFY(countPixels(image, QRect(plot.left() + 1, plot.bottom() + 7, 30, 14), isDark) > 5);
}

void TestDMMChart::rangeAndTicksOfA300PixelPlot()
{
    const auto chart = shownChart(0);
    QVERIFY(chart);
    chart->addPoint(reading(0, 0.0), 0);
    chart->addPoint(reading(1, 12.0), 0);
    chart->addPoint(reading(2, 5.0), 0);
    chart->repaint();

    const ChartLayout &layout = chart->plotLayout();
    QCOMPARE(layout.maxValue, 13.2);
    QCOMPARE(layout.minValue, -1.1);
    QVERIFY(qAbs(layout.yScale - 20.98) < 0.01);
    QCOMPARE(layout.yTickValue, 2.0);
    QCOMPARE(layout.yTicksAbove, 6);
    QCOMPARE(layout.yTicksBelow, 0);
    QCOMPARE(chart->line(0)->visibleMaximum(), 12.0);
    QCOMPARE(chart->line(0)->verticalScale(), layout.yScale);
}

void TestDMMChart::zoomByDragRightAndDown()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    zoomOnReadingsOneToFour(*chart);

    QVERIFY(chart->isZoomed());
    QVERIFY(!chart->isDragging());
    QCOMPARE(chart->visibleFirst(), 1);
    QCOMPARE(chart->visibleLast(), 4);
    QCOMPARE(chart->plotLayout().xScale, 100.0);
    QCOMPARE(visibleOffsets(*chart), (QVector<int>{0, 100, 200, 300}));

    // A zoom within the zoom counts from the first visible reading.
    drag(*chart, QPoint(50, 10), QPoint(350, 200));
    chart->repaint();
    QVERIFY(chart->isZoomed());
    QCOMPARE(chart->visibleFirst(), 2);
    QCOMPARE(chart->visibleLast(), 4);
}

void TestDMMChart::otherDragsLeaveZoom_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");

    QTest::newRow("leftward") << QPoint(200, 50) << QPoint(100, 200);
    QTest::newRow("upward") << QPoint(30, 200) << QPoint(170, 50);
    QTest::newRow("level") << QPoint(30, 100) << QPoint(170, 100);
    QTest::newRow("vertical") << QPoint(100, 10) << QPoint(100, 200);
    // Left of and above the previous drag's end: must not reuse it.
    QTest::newRow("click") << QPoint(5, 5) << QPoint(5, 5);
}

void TestDMMChart::otherDragsLeaveZoom()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);

    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    zoomOnReadingsOneToFour(*chart);
    QVERIFY(chart->isZoomed());

    drag(*chart, from, to);
    QVERIFY(!chart->isZoomed());
    chart->repaint();
    QCOMPARE(chart->visibleFirst(), 0);
    QCOMPARE(chart->visibleLast(), kReadings - 1);
    QCOMPARE(chart->plotLayout().xScale, 40.0);
}

void TestDMMChart::narrowDragKeepsView_data()
{
    QTest::addColumn<bool>("startZoomed");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");

    QTest::newRow("one reading") << false << QPoint(30, 10) << QPoint(70, 200);
    QTest::newRow("only the first reading") << false << QPoint(0, 10) << QPoint(20, 200);
    QTest::newRow("right of the last reading") << false << QPoint(370, 10) << QPoint(400, 200);
    QTest::newRow("one reading of a zoom") << true << QPoint(150, 10) << QPoint(250, 200);
}

void TestDMMChart::narrowDragKeepsView()
{
    QFETCH(bool, startZoomed);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);

    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    if (startZoomed)
        zoomOnReadingsOneToFour(*chart);
    const int first = chart->visibleFirst();
    const int last = chart->visibleLast();

    drag(*chart, from, to);
    chart->repaint();
    QCOMPARE(chart->isZoomed(), startZoomed);
    QCOMPARE(chart->visibleFirst(), first);
    QCOMPARE(chart->visibleLast(), last);
}

void TestDMMChart::readingsDuringZoomAreNotDrawn()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);

    // Following the readings, a new one is drawn.
    QImage lines = chart->layer(DMMChart::Layer::Lines).toImage();
    chart->addPoint(reading(kReadings, 100.0), 0);
    chart->repaint();
    QVERIFY(chart->layer(DMMChart::Layer::Lines).toImage() != lines);

    zoomOnReadingsOneToFour(*chart);
    lines = chart->layer(DMMChart::Layer::Lines).toImage();
    const double maxValue = chart->plotLayout().maxValue;
    chart->addPoint(reading(kReadings + 1, 1000.0), 0);
    chart->addPoint(reading(kReadings + 2, -1000.0), 0);
    chart->repaint();
    QCOMPARE(chart->layer(DMMChart::Layer::Lines).toImage(), lines);
    QCOMPARE(chart->plotLayout().maxValue, maxValue);
    QCOMPARE(chart->visibleLast(), 4);

    // Leaving the zoom shows them.
    drag(*chart, QPoint(200, 50), QPoint(100, 200));
    chart->repaint();
    QCOMPARE(chart->visibleLast(), kReadings + 2);
    QCOMPARE(chart->plotLayout().maxValue, 1100.0);
    QCOMPARE(chart->plotLayout().minValue, -1100.0);
}

void TestDMMChart::selectionIsDrawnWhileDragging()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    QTest::mousePress(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 30, 10));
    QTest::mouseMove(chart.get(), inPlot(*chart, 170, 200));
    QVERIFY(chart->isDragging());
    chart->repaint();

    // The dotted top edge of the rectangle lies on layer 3, not on layer 2.
    const QRect topEdge(chart->plotArea().left() + 40, chart->plotArea().top() + 10, 100, 1);
    QVERIFY(countPixels(chart->layer(DMMChart::Layer::Selection).toImage(), topEdge, isDark) > 30);
    QCOMPARE(countPixels(chart->layer(DMMChart::Layer::Lines).toImage(), topEdge, isDark), 0);

    QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 170, 200));
    chart->repaint();
    QCOMPARE(countPixels(finalImage(*chart), QRect(chart->plotArea().left() + 40,
                                                   chart->plotArea().top() + 10, 100, 1),
                         isDark),
             0);
}

void TestDMMChart::indicatorTimesOut()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    const QRect plot = chart->plotArea();
    const QRect column(plot.left() + 80, plot.top() + 1, 1, kPlotHeight - 2);

    QTest::mouseMove(chart.get(), inPlot(*chart, 78, 150));
    QVERIFY(chart->isIndicatorShown());
    QCOMPARE(chart->indicatedPoint(), 2);
    const int started = chart->indicatorRemainingMs();
    QVERIFY(started > kIndicatorTimeoutMs - 1000 && started <= kIndicatorTimeoutMs);
    chart->repaint();
    QVERIFY(countPixels(finalImage(*chart), column, isIndicatorBlue) > kPlotHeight / 2);

    // Moving within the same reading does not prolong the indicator.
    QTest::qWait(50);
    QTest::mouseMove(chart.get(), inPlot(*chart, 82, 150));
    QCOMPARE(chart->indicatedPoint(), 2);
    const int kept = chart->indicatorRemainingMs();
    QVERIFY(kept < started);

    // A new reading restarts the timeout.
    QTest::mouseMove(chart.get(), inPlot(*chart, 121, 150));
    QCOMPARE(chart->indicatedPoint(), 3);
    QVERIFY(chart->indicatorRemainingMs() > kept);

    // Its timeout, delivered without the six-second wait, hides it.
    auto *timer = chart->findChild<QTimer *>();
    QVERIFY(timer && timer->isSingleShot());
    QCOMPARE(timer->interval(), kIndicatorTimeoutMs);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QVERIFY(!chart->isIndicatorShown());
    chart->repaint();
    const QRect newColumn(plot.left() + 120, plot.top() + 1, 1, kPlotHeight - 2);
    QCOMPARE(countPixels(finalImage(*chart), newColumn, isIndicatorBlue), 0);

    // A press hides it at once.
    QTest::mouseMove(chart.get(), inPlot(*chart, 160, 150));
    QVERIFY(chart->isIndicatorShown());
    QTest::mousePress(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 160, 150));
    QVERIFY(!chart->isIndicatorShown());
    QCOMPARE(chart->indicatedPoint(), -1);
    QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, inPlot(*chart, 160, 150));
}

void TestDMMChart::indicatorLabelPlacement_data()
{
    QTest::addColumn<int>("plotX");
    QTest::addColumn<bool>("labelRight");

    QTest::newRow("left half") << 40 << true;
    QTest::newRow("near the right edge") << 360 << false;
}

void TestDMMChart::indicatorLabelPlacement()
{
    QFETCH(int, plotX);
    QFETCH(bool, labelRight);

    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    QTest::mouseMove(chart.get(), inPlot(*chart, plotX, 150));
    chart->repaint();

    const QImage image = finalImage(*chart);
    const QRect plot = chart->plotArea();
    const int x = plot.left() + plotX;
    const int bandTop = 0;
    const int bandHeight = plot.top();
    const int right = countPixels(image, QRect(x + 1, bandTop, 300, bandHeight), isIndicatorBlue);
    const int left = countPixels(image, QRect(x - 300, bandTop, 299, bandHeight), isIndicatorBlue);
    QVERIFY(labelRight ? right > 20 : left > 20);
    QCOMPARE(labelRight ? left : right, 0);
}

void TestDMMChart::clearDuringZoom()
{
    const auto chart = shownChart(kReadings);
    QVERIFY(chart);
    zoomOnReadingsOneToFour(*chart);
    QTest::mouseMove(chart.get(), inPlot(*chart, 300, 150));
    QCOMPARE(chart->indicatedPoint(), 3);

    chart->clear();
    QVERIFY(!chart->hasData());
    QVERIFY(!chart->isZoomed());
    QVERIFY(chart->visibleLast() < chart->line(0)->count());
    QVERIFY(!chart->isIndicatorShown());
    QCOMPARE(chart->indicatorRemainingMs(), -1);
    // Before the next paint, hovering finds nothing to indicate.
    QTest::mouseMove(chart.get(), inPlot(*chart, 200, 150));
    QVERIFY(!chart->isIndicatorShown());

    chart->repaint();
    QCOMPARE(chart->plotLayout().maxValue, 1.1);
    addReadings(*chart, 2);
    chart->repaint();
    QCOMPARE(chart->visibleFirst(), 0);
    QCOMPARE(chart->visibleLast(), 1);
    QCOMPARE(chart->plotLayout().xScale, kPlotWidth / 2.0);
    QCOMPARE(countPixels(finalImage(*chart), QRect(0, 0, kChartWidth, chart->plotArea().top()),
                         isIndicatorBlue),
             0);
}

void TestDMMChart::hostileInput()
{
    const auto chart = shownChart(0);
    QVERIFY(chart);
    chart->addPoint(reading(0, 3.0), 0);
    chart->addPoint(reading(1, std::numeric_limits<double>::quiet_NaN()), 0);
    chart->addPoint(reading(2, std::numeric_limits<double>::infinity()), 0);
    chart->addPoint(reading(3, 4.0), 0);
    chart->repaint();

    const ChartLayout &layout = chart->plotLayout();
    QCOMPARE(layout.maxValue, 4.4);
    QCOMPARE(layout.minValue, -1.1);
    QVERIFY(layout.yTicksAbove > 0);

    // A widget smaller than its margins has no plot area to draw or pick in.
    chart->resize(50, 50);
    chart->repaint();
    QCOMPARE(chart->plotLayout().xTickCount, 0);
    QCOMPARE(chart->plotLayout().yTicksAbove, 0);
    QTest::mouseMove(chart.get(), QPoint(10, 10));
    QTest::mousePress(chart.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(chart.get(), QPoint(45, 45));
    QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, QPoint(45, 45));
    QVERIFY(!chart->isZoomed());
}

void TestDMMChart::saveImage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("chart.jpg"));

    DMMChart chart;
    chart.resize(kChartWidth, kChartHeight);
    addReadings(chart, kReadings);
    QVERIFY(!chart.saveImage(fileName));
    QVERIFY(!QFile::exists(fileName));

    chart.grab();
    QVERIFY(chart.saveImage(fileName));
    QImageReader reader(fileName);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(kChartWidth, kChartHeight));

    QVERIFY(!chart.saveImage(dir.filePath(QStringLiteral("missing/chart.jpg"))));
    QVERIFY(!chart.saveImage(dir.filePath(QStringLiteral("chart.unknownformat"))));
}

QTEST_MAIN(TestDMMChart)
#include "tst_dmmchart.moc"

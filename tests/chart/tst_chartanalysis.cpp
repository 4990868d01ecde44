// The analysis controls beside the left-button zoom, through the real widget:
// wheel, middle and Shift+left drags, keys, cursors with their read-out, the
// axis choice remembered in the user's settings.

#define QTEST_QPA_MOUSE_HANDLING

#include "chartline.h"
#include "chartpoint.h"
#include "dmmchart.h"

#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr qint64 kStartMs = 1733650000000;

// One reading a second of the value, with a pause of 45 s after reading 50.
void addReadings(DMMChart &chart, int count, double value)
{
    const int start = chart.line(0)->count();
    for (int i = start; i < start + count; ++i) {
        auto *point = new ChartPoint;
        point->time = QDateTime::fromMSecsSinceEpoch(kStartMs + i * 1000 + (i > 50 ? 45000 : 0));
        point->value = value + (i % 7) * 0.1;
        chart.addPoint(point, 0);
    }
}

std::unique_ptr<DMMChart> shownChart(const QString &name, int readings, double value = 1.0)
{
    auto chart = std::make_unique<DMMChart>();
    chart->setObjectName(name);
    chart->resize(600, 300);
    chart->show();
    if (!QTest::qWaitForWindowExposed(chart.get()))
        return nullptr;
    addReadings(*chart, readings, value);
    chart->repaint();
    return chart;
}

void wheel(DMMChart &chart, const QPoint &at, int notches, Qt::KeyboardModifiers modifiers = {})
{
    QWheelEvent event(at, chart.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &event);
    chart.repaint();
}

void dragWith(DMMChart &chart, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &from,
              const QPoint &to)
{
    QTest::mousePress(&chart, button, modifiers, from);
    QTest::mouseMove(&chart, to);
    QTest::mouseRelease(&chart, button, modifiers, to);
    chart.repaint();
}

} // namespace

class TestChartAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void wheelZoomsAroundThePointer();
    void panningAndKeys();
    void leftDragStillZoomsTheTimeOnly();
    void cursorsAndReadout();
    void timeAxisIsRememberedAndShadesGaps();
    void clockSetBackKeepsDrawing();
    void clearedChartMeasuresItsNewReadings();
    void layersPaintedAtOnceMatchLayersPaintedInTurn();
};

void TestChartAnalysis::wheelZoomsAroundThePointer()
{
    const auto chart = shownChart(QStringLiteral("chartCH1Voltage"), 100);
    QVERIFY(chart);
    const QRect plot = chart->plotArea();
    const QPoint at(plot.left() + plot.width() / 4, plot.center().y());
    const int under = chart->visibleFirst() + int(plot.width() / 4 / chart->plotLayout().xScale);

    wheel(*chart, at, 2);
    QVERIFY(chart->isZoomed());
    QVERIFY(chart->visibleLast() - chart->visibleFirst() + 1 < 100);
    QVERIFY(chart->visibleFirst() <= under && under <= chart->visibleLast());
    QVERIFY(!chart->hasUserValueRange());
    // New readings leave a zoomed range where it is.
    const int first = chart->visibleFirst();
    addReadings(*chart, 10, 1.0);
    chart->repaint();
    QCOMPARE(chart->visibleFirst(), first);

    const double span = chart->plotLayout().maxValue - chart->plotLayout().minValue;
    wheel(*chart, at, 1, Qt::ControlModifier);
    QVERIFY(chart->hasUserValueRange());
    QVERIFY(chart->plotLayout().maxValue - chart->plotLayout().minValue < span * 0.9);
    // Over the value axis the wheel zooms the values without Ctrl.
    const double zoomedSpan = chart->plotLayout().maxValue - chart->plotLayout().minValue;
    wheel(*chart, QPoint(plot.left() - 10, plot.center().y()), -1);
    QVERIFY(chart->plotLayout().maxValue - chart->plotLayout().minValue > zoomedSpan * 1.1);

    QTest::keyClick(chart.get(), Qt::Key_Home);
    chart->repaint();
    QVERIFY(!chart->isZoomed());
    QVERIFY(!chart->hasUserValueRange());
    QCOMPARE(chart->visibleLast(), 109);
}

void TestChartAnalysis::panningAndKeys()
{
    const auto chart = shownChart(QStringLiteral("chartCH1Voltage"), 100);
    QVERIFY(chart);
    const QRect plot = chart->plotArea();
    QTest::keyClick(chart.get(), Qt::Key_Plus);
    chart->repaint();
    QVERIFY(chart->isZoomed());
    const int first = chart->visibleFirst();
    const int visible = chart->visibleLast() - first + 1;

    // Dragging the picture right shows earlier readings; up moves the values.
    dragWith(*chart, Qt::MiddleButton, {}, plot.center(), plot.center() + QPoint(60, -30));
    QVERIFY(chart->visibleFirst() < first);
    QCOMPARE(chart->visibleLast() - chart->visibleFirst() + 1, visible);
    QVERIFY(chart->hasUserValueRange());
    const double top = chart->plotLayout().maxValue;
    QVERIFY(chart->plotLayout().minValue < top);
    dragWith(*chart, Qt::LeftButton, Qt::ShiftModifier, plot.center(), plot.center() + QPoint(-120, 0));
    QVERIFY(chart->visibleFirst() > first);
    QVERIFY(!chart->isDragging());
    QTest::keyClick(chart.get(), Qt::Key_Left);
    QTest::keyClick(chart.get(), Qt::Key_Down);
    chart->repaint();
    QVERIFY(chart->plotLayout().maxValue < top);

    // The value range the user set stays while readings arrive.
    const double minimum = chart->plotLayout().minValue;
    addReadings(*chart, 5, 100.0);
    chart->repaint();
    QCOMPARE(chart->plotLayout().minValue, minimum);

    QTest::mouseDClick(chart.get(), Qt::LeftButton, {}, plot.center());
    chart->repaint();
    QVERIFY(!chart->isZoomed());
    QVERIFY(!chart->hasUserValueRange());
    QVERIFY(chart->plotLayout().maxValue > 100);
}

void TestChartAnalysis::leftDragStillZoomsTheTimeOnly()
{
    const auto chart = shownChart(QStringLiteral("chartCH1Voltage"), 100);
    QVERIFY(chart);
    const QRect plot = chart->plotArea();
    wheel(*chart, plot.center(), 2, Qt::ControlModifier);
    const double min = chart->plotLayout().minValue;
    dragWith(*chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(100, 10), plot.topLeft() + QPoint(300, 200));
    QVERIFY(chart->isZoomed());
    QVERIFY(chart->visibleFirst() > 0 && chart->visibleLast() < 99);
    QCOMPARE(chart->plotLayout().minValue, min);
    // A drag to the left leaves the zoom of the time axis, as ever.
    dragWith(*chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(300, 10), plot.topLeft() + QPoint(100, 200));
    QVERIFY(!chart->isZoomed());
}

void TestChartAnalysis::cursorsAndReadout()
{
    const auto chart = shownChart(QStringLiteral("chartCH1Current"), 100, 2.0);
    QVERIFY(chart);
    const QImage before = chart->layer(DMMChart::Layer::Selection).toImage();
    const QRect plot = chart->plotArea();
    const auto xOf = [&](int index) { return plot.left() + chart->line(0)->offsets().at(index); };
    QTest::mouseClick(chart.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(xOf(10), plot.center().y()));
    QTest::mouseClick(chart.get(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier,
                      QPoint(xOf(40), plot.center().y()));
    chart->repaint();
    QCOMPARE(chart->cursor(0), 10);
    QCOMPARE(chart->cursor(1), 40);
    QVERIFY(!chart->isZoomed());
    QVERIFY(chart->layer(DMMChart::Layer::Selection).toImage() != before);

    // Readings 10 .. 40, a second apart: 31 readings over 30 s, the mean of
    // (i % 7) * 0.1 + 2 over them, and the charge of 30 one-second trapezoids.
    const QStringList readout = chart->readout();
    QVERIFY2(readout.join('\n').contains(QStringLiteral("\u0394t 0:00:30.000")), qPrintable(readout.join('\n')));
    QVERIFY(readout.join('\n').contains(QStringLiteral("Readings 31")));
    double charge = 0;
    for (int i = 11; i <= 40; ++i)
        charge += (2.0 + (i % 7) * 0.1 + 2.0 + ((i - 1) % 7) * 0.1) / 2 * 1000;
    const QString expected = QStringLiteral("Charge %1 mAh").arg(charge / 3600000 * 1000, 0, 'g', 6);
    QVERIFY2(readout.contains(expected), qPrintable(readout.join('\n') + " / " + expected));

    QTest::keyClick(chart.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), readout.join('\n'));

    // Readings and differences in the chart's decimals; averages with two more.
    const int labelDecimals = chart->labelDecimalCount();
    chart->setLabelDecimals(3);
    QVERIFY2(chart->readout().at(0).endsWith(QStringLiteral("  2.300 A")), qPrintable(chart->readout().at(0)));
    QVERIFY(chart->readout().at(2).endsWith(QStringLiteral("\u0394value 0.200 A")));
    QVERIFY(chart->readout().join('\n').contains(QRegularExpression(QStringLiteral("Mean 2\\.\\d{5} A"))));
    chart->setLabelDecimals(labelDecimals);

    QTest::keyClick(chart.get(), Qt::Key_Escape);
    chart->repaint();
    QCOMPARE(chart->cursor(0), -1);
    QCOMPARE(chart->cursor(1), -1);
    QCOMPARE(chart->layer(DMMChart::Layer::Selection).toImage(), before);
}

void TestChartAnalysis::timeAxisIsRememberedAndShadesGaps()
{
    {
        const auto chart = shownChart(QStringLiteral("chartCH2Power"), 100);
        QVERIFY(chart);
        QVERIFY(!chart->isTimeAxis());
        // The chart's own menu opens from its corner button; a plain right
        // click is left to the window.
        QTest::mouseClick(chart.get(), Qt::LeftButton, {}, chart->menuButton().center());
        QMenu *menu = chart->analysisMenu();
        QTRY_VERIFY(menu->isVisible());
        const auto actions = menu->actions();
        const auto time = std::find_if(actions.cbegin(), actions.cend(),
                                       [](QAction *action) { return action->text() == QStringLiteral("Time"); });
        QVERIFY(time != actions.cend());
        (*time)->trigger();
        menu->hide();
        chart->repaint();
        QVERIFY(chart->isTimeAxis());
        QVERIFY(!chart->isDragging());
    }
    const auto chart = shownChart(QStringLiteral("chartCH2Power"), 100);
    QVERIFY(chart);
    QVERIFY(chart->isTimeAxis());
    QVERIFY(!shownChart(QStringLiteral("chartCH1Power"), 1)->isTimeAxis());

    // Readings 0 .. 50 take the first 50 s of 144 s: the pause after them
    // is shaded, and the first reading after it stands where its time puts it.
    const QRect plot = chart->plotArea();
    const PixelOffsets offsets = chart->line(0)->offsets();
    QVERIFY(offsets.at(51) - offsets.at(50) > plot.width() / 4);
    const QImage base = chart->layer(DMMChart::Layer::Base).toImage();
    const QPoint inGap(plot.left() + (offsets.at(50) + offsets.at(51)) / 2, plot.bottom() - 20);
    QVERIFY(base.pixelColor(inGap) != QColor(Qt::white));
    QVERIFY(chart->readout().contains(QStringLiteral("Readings 100  min 1.00 W  max 1.60 W")));
    QVERIFY(chart->readout().join('\n').contains(QStringLiteral("Energy")));
}

void TestChartAnalysis::clockSetBackKeepsDrawing()
{
    DMMChart chart;
    chart.resize(600, 300);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.setTimeAxis(true);
    // An hour back after reading 40, readings 60 .. 62 without a time.
    for (int i = 0; i < 100; ++i) {
        auto *point = new ChartPoint;
        if (i < 60 || i > 62)
            point->time = QDateTime::fromMSecsSinceEpoch(kStartMs + i * 1000 - (i > 40 ? 3600000 : 0));
        point->value = i % 5;
        chart.addPoint(point, 0);
    }
    chart.repaint();
    const QRect plot = chart.plotArea();
    wheel(chart, plot.center(), 3);
    dragWith(chart, Qt::MiddleButton, {}, plot.center(), plot.center() + QPoint(80, 20));
    QTest::mouseMove(&chart, plot.center());
    dragWith(chart, Qt::LeftButton, {}, plot.topLeft() + QPoint(10, 10), plot.bottomRight() - QPoint(10, 10));
    QTest::keyClick(&chart, Qt::Key_Home);
    chart.repaint();
    QVERIFY(chart.layer(DMMChart::Layer::Lines).toImage() != chart.layer(DMMChart::Layer::Base).toImage());
    QVERIFY(chart.readout().join('\n').contains(QStringLiteral("Readings 100")));
}

void TestChartAnalysis::clearedChartMeasuresItsNewReadings()
{
    const auto chart = shownChart(QStringLiteral("chartCH3Power"), 100);
    QVERIFY(chart);
    chart->setReadoutShown(true);
    chart->repaint();
    chart->clear();
    // Filled again before the next paint, as the window's Delete may be.
    for (int i = 0; i < 100; ++i) {
        auto *point = new ChartPoint;
        point->time = QDateTime::fromMSecsSinceEpoch(kStartMs + 7000000 + i * 1000);
        point->value = 5.0;
        chart->addPoint(point, 0);
    }
    chart->repaint();
    // 5 W for 99 s.
    QVERIFY2(chart->readout().contains(QStringLiteral("Energy 137.5 mWh")), qPrintable(chart->readout().join('\n')));
}

// A full repaint draws the changed layers straight into the top one; painted
// later, when asked for or when a layer above changes alone, they must hold
// the pixels of layers painted one at a time.
void TestChartAnalysis::layersPaintedAtOnceMatchLayersPaintedInTurn()
{
    auto atOnce = shownChart(QStringLiteral("chartVoltage"), 200);
    auto inTurn = shownChart(QStringLiteral("chartVoltage"), 200);
    QVERIFY(atOnce && inTurn);
    const QPoint hover = atOnce->plotArea().center();
    const auto layersOf = [](DMMChart &chart) {
        QList<QImage> images;
        for (DMMChart::Layer layer :
             {DMMChart::Layer::Base, DMMChart::Layer::Lines, DMMChart::Layer::Selection, DMMChart::Layer::Final})
            images << chart.layer(layer).toImage();
        return images;
    };

    inTurn->setYTitle(QStringLiteral("Volts"));
    inTurn->repaint();
    inTurn->setCursor(0, 40);
    inTurn->setCursor(1, 150);
    inTurn->repaint();
    QTest::mouseMove(inTurn.get(), hover);
    inTurn->repaint();

    atOnce->setCursor(0, 40);
    atOnce->setCursor(1, 150);
    // The same column, so the same reading; a move to the very same point
    // as the other window's would not reach this one.
    QTest::mouseMove(atOnce.get(), hover + QPoint(0, 5));
    atOnce->setYTitle(QStringLiteral("Volts"));
    atOnce->repaint();
    QVERIFY(atOnce->isIndicatorShown());
    QCOMPARE(atOnce->grab().toImage(), inTurn->grab().toImage());

    // A cursor moved after the full repaint: the selection is drawn again on
    // lines that were never painted on their own.
    atOnce->setCursor(1, 120);
    atOnce->repaint();
    inTurn->setCursor(1, 120);
    inTurn->repaint();
    QCOMPARE(layersOf(*atOnce), layersOf(*inTurn));
    QVERIFY(layersOf(*atOnce).at(1) != layersOf(*atOnce).at(2));
}

int main(int argc, char *argv[])
{
    // The axis choice goes to the user's settings: a folder of this run's
    // own, named before anything reads the settings.
    QTemporaryDir config;
    if (!config.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestChartAnalysis test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_chartanalysis.moc"

#include "chartlayout.h"

#include <QtTest>

#include <limits>

class TestChartLayout : public QObject
{
    Q_OBJECT
private slots:
    void valueRange_data();
    void valueRange();
    void xStep_data();
    void xStep();
    void yStep_data();
    void yStep();
    void unusablePlotGivesNoTicks_data();
    void unusablePlotGivesNoTicks();
    void pixelOffsetsRound();
};

void TestChartLayout::valueRange_data()
{
    QTest::addColumn<double>("dataMin");
    QTest::addColumn<double>("dataMax");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("empty") << 0.0 << 0.0 << -1.1 << 1.1;
    QTest::newRow("within one") << -0.9 << 0.5 << -1.1 << 1.1;
    QTest::newRow("maximum 12") << 0.0 << 12.0 << -1.1 << 13.2;
    QTest::newRow("negative") << -20.0 << 5.0 << -22.0 << 5.5;
    QTest::newRow("not finite ignored") << -inf << nan << -1.1 << 1.1;
}

void TestChartLayout::valueRange()
{
    QFETCH(double, dataMin);
    QFETCH(double, dataMax);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);

    ChartLayout layout;
    layout.setValueRange(dataMin, dataMax);
    QCOMPARE(layout.minValue, minValue);
    QCOMPARE(layout.maxValue, maxValue);
}

void TestChartLayout::xStep_data()
{
    QTest::addColumn<double>("xScale");
    QTest::addColumn<int>("step");

    QTest::newRow("wide") << 100.0 << 1;
    QTest::newRow("exactly 80") << 80.0 << 1;
    QTest::newRow("two") << 40.0 << 2;
    QTest::newRow("three") << 27.0 << 3;
    QTest::newRow("five") << 16.0 << 5;
    QTest::newRow("ten") << 8.0 << 10;
    QTest::newRow("forty") << 2.0 << 40;
    QTest::newRow("first multiple of 50") << 1.6 << 50;
    QTest::newRow("multiple of 50") << 0.7 << 150;
    QTest::newRow("million readings") << 0.0003 << 266700;
    QTest::newRow("zero scale") << 0.0 << 0;
    QTest::newRow("negative scale") << -3.0 << 0;
}

void TestChartLayout::xStep()
{
    QFETCH(double, xScale);
    QFETCH(int, step);
    QCOMPARE(ChartLayout::xStep(xScale, 80), step);
}

void TestChartLayout::yStep_data()
{
    QTest::addColumn<double>("yScale");
    QTest::addColumn<double>("step");

    QTest::newRow("microvolts") << 3.0e6 << 0.00001;
    QTest::newRow("0.2 not 0.3") << 150.0 << 0.2;
    QTest::newRow("0.3 present") << 110.0 << 0.3;
    QTest::newRow("0.8 present") << 40.0 << 0.8;
    QTest::newRow("2 for 300 pixels") << 300.0 / 14.3 << 2.0;
    QTest::newRow("40") << 0.8 << 40.0;
    QTest::newRow("beyond the list") << 0.1 << 300.0;
    QTest::newRow("zero scale") << 0.0 << 0.0;
}

void TestChartLayout::yStep()
{
    QFETCH(double, yScale);
    QFETCH(double, step);
    QCOMPARE(ChartLayout::yStep(yScale, 30), step);
}

void TestChartLayout::unusablePlotGivesNoTicks_data()
{
    QTest::addColumn<QSize>("plotSize");
    QTest::addColumn<double>("dataMin");
    QTest::addColumn<int>("xTickCount");
    QTest::addColumn<int>("yTicksAbove");

    const double lowest = -std::numeric_limits<double>::max();
    QTest::newRow("narrower than the margins") << QSize(-30, 200) << 0.0 << 0 << 5;
    QTest::newRow("lower than the margins") << QSize(300, -10) << 0.0 << 2 << 0;
    QTest::newRow("zero area") << QSize(0, 0) << 0.0 << 0 << 0;
    QTest::newRow("span overflows") << QSize(300, 200) << lowest << 2 << 0;
}

void TestChartLayout::unusablePlotGivesNoTicks()
{
    QFETCH(QSize, plotSize);
    QFETCH(double, dataMin);
    QFETCH(int, xTickCount);
    QFETCH(int, yTicksAbove);

    ChartLayout layout;
    layout.setValueRange(dataMin, 5);
    layout.setScales(plotSize, 0, 1);
    layout.computeTicks(plotSize.width(), true);

    QCOMPARE(layout.xTickCount, xTickCount);
    QCOMPARE(layout.yTicksAbove, yTicksAbove);
}

void TestChartLayout::pixelOffsetsRound()
{
    const int offsets[] = {0, 3, 5, 8};
    for (int k = 0; k < 4; ++k)
        QCOMPARE(ChartLayout::pixelOffset(2.5, k), offsets[k]);
    QCOMPARE(ChartLayout::toPixel(-2.7), -2);
    QCOMPARE(ChartLayout::toPixel(std::numeric_limits<double>::quiet_NaN()), 0);
    QVERIFY(ChartLayout::toPixel(1e300) > 1000000);
}

QTEST_APPLESS_MAIN(TestChartLayout)
#include "tst_chartlayout.moc"

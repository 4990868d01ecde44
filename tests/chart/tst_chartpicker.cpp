#include "chartpicker.h"

#include <QtTest>

class TestChartPicker : public QObject
{
    Q_OBJECT
private slots:
    void indexAt_data();
    void indexAt();
    void selectedSpan_data();
    void selectedSpan();
};

void TestChartPicker::indexAt_data()
{
    QTest::addColumn<double>("xScale");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("index");

    // Offsets 0, 10, 20, 30.
    QTest::newRow("left of the plot") << 10.0 << 4 << -5 << 0;
    QTest::newRow("on the first") << 10.0 << 4 << 0 << 0;
    QTest::newRow("nearer the first") << 10.0 << 4 << 4 << 0;
    QTest::newRow("tie goes to the earlier") << 10.0 << 4 << 5 << 0;
    QTest::newRow("nearer the second") << 10.0 << 4 << 6 << 1;
    QTest::newRow("on an entry") << 10.0 << 4 << 20 << 2;
    QTest::newRow("beyond the last entry") << 10.0 << 4 << 36 << 3;
    QTest::newRow("right of the plot") << 10.0 << 4 << 41 << 3;
    // Offsets 0, 0, 1, 1, 2, 2 ...: the first of equal offsets.
    QTest::newRow("duplicates give the first") << 0.4 << 6 << 1 << 2;
    QTest::newRow("ten million readings") << 4e-6 << 10000000 << 20 << 4875000;
    QTest::newRow("nothing visible") << 10.0 << 0 << 5 << -1;
    QTest::newRow("nothing visible, left") << 10.0 << 0 << -5 << -1;
}

void TestChartPicker::indexAt()
{
    QFETCH(double, xScale);
    QFETCH(int, count);
    QFETCH(int, x);
    QFETCH(int, index);
    QCOMPARE(ChartPicker::indexAt(PixelOffsets{xScale, count}, x, 40), index);
}

void TestChartPicker::selectedSpan_data()
{
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("dragX");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("zoomable");

    // Readings at 0, 40, 80 ... 360.
    QTest::newRow("four readings") << 30 << 170 << 1 << 4 << true;
    QTest::newRow("end exclusive") << 40 << 160 << 1 << 3 << true;
    QTest::newRow("to the right edge") << 50 << 400 << 2 << 9 << true;
    QTest::newRow("two readings") << 0 << 41 << 0 << 1 << true;
    QTest::newRow("one reading") << 30 << 70 << 1 << 1 << false;
    QTest::newRow("only the first reading") << 0 << 20 << 0 << 0 << false;
    QTest::newRow("between readings") << 41 << 79 << 2 << 1 << false;
    QTest::newRow("right of the last reading") << 370 << 400 << 0 << -1 << false;
    QTest::newRow("leftward") << 200 << 100 << 0 << -1 << false;
}

void TestChartPicker::selectedSpan()
{
    QFETCH(int, pressX);
    QFETCH(int, dragX);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, zoomable);

    const ChartPicker::Span span = ChartPicker::selectedSpan(PixelOffsets{40.0, 10}, pressX, dragX);
    QCOMPARE(span.isZoomable(), zoomable);
    if (zoomable) {
        QCOMPARE(span.first, first);
        QCOMPARE(span.last, last);
    }
}

QTEST_APPLESS_MAIN(TestChartPicker)
#include "tst_chartpicker.moc"

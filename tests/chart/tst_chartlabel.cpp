#include "chartlabel.h"

#include <QDateTime>
#include <QtTest>

class TestChartLabel : public QObject
{
    Q_OBJECT
private slots:
    void value_data();
    void value();
    void time();
};

void TestChartLabel::value_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << 2 << "0.00";
    QTest::newRow("negative zero") << -0.0 << 2 << "0.00";
    QTest::newRow("plain") << 12.0 << 2 << "12.00";
    QTest::newRow("three decimals") << 0.3 << 3 << "0.300";
    QTest::newRow("just below a thousand") << 999.0 << 1 << "999.0";
    QTest::newRow("thousand") << 1000.0 << 0 << "1k";
    QTest::newRow("1500") << 1500.0 << 2 << "1.50k";
    QTest::newRow("two and a half million") << 2500000.0 << 3 << "2.500M";
    QTest::newRow("negative thousands") << -1500.0 << 2 << "-1.50k";
    QTest::newRow("negative millions") << -3000000.0 << 1 << "-3.0M";
    QTest::newRow("negative rounding to zero") << -0.001 << 2 << "0.00";
}

void TestChartLabel::value()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(ChartLabel::value(value, decimals), text);
}

void TestChartLabel::time()
{
    QCOMPARE(ChartLabel::time(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))), QStringLiteral("14:07:09"));
}

QTEST_APPLESS_MAIN(TestChartLabel)
#include "tst_chartlabel.moc"

// The recorded table gives back every display text exactly as the driver
// wrote it, whether its digits follow from the value or not.

#include "displaytext.h"
#include "readingtable.h"

#include <QtTest>

class TestReadingTable : public QObject
{
    Q_OBJECT

private slots:
    void textsComeBackAsWritten_data();
    void textsComeBackAsWritten();
};

void TestReadingTable::textsComeBackAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("display form") << "05.00" << 5.0;
    QTest::newRow("amperes") << "0.500" << 0.5;
    QTest::newRow("rounded to tenths from hundredths") << "3.4" << 3.35;
    QTest::newRow("rounded to the nearest") << "12.01" << 12.0149;
    QTest::newRow("negative") << "-1.25" << -1.25;
    QTest::newRow("no point") << "7" << 7.0;
    QTest::newRow("text of another value") << "00.00" << 7.5;
    QTest::newRow("negative zero") << "-0.00" << -0.001;
    QTest::newRow("not a number") << "OL" << 99.0;
    QTest::newRow("no digits before the point") << ".5" << 0.5;
    QTest::newRow("too many digits") << "123456789.5" << 123456789.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("value not finite") << "1.00" << qQNaN();
}

void TestReadingTable::textsComeBackAsWritten()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    ReadingTable table;
    ReadingTable::Row row;
    for (int series = 0; series < ReadingTable::SeriesCount; ++series) {
        row.values[series] = value;
        row.texts[series] = DisplayText::pack(text);
        row.otherTexts[series] = text;
    }
    table.append(row);
    table.append(row);
    for (int series = 0; series < ReadingTable::SeriesCount; ++series) {
        QCOMPARE(table.text(1, series), text);
        QVERIFY(table.value(1, series) == value || (qIsNaN(value) && qIsNaN(table.value(1, series))));
    }
}

QTEST_MAIN(TestReadingTable)
#include "tst_readingtable.moc"

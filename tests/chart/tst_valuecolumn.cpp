// The block extremes must answer exactly what a scan of the values would,
// at every block size, for ranges that start and end anywhere.

#include "valuecolumn.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

class TestValueColumn : public QObject
{
    Q_OBJECT
private slots:
    void answersAsAScanWould_data();
    void answersAsAScanWould();
};

void TestValueColumn::answersAsAScanWould_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one value") << 1;
    QTest::newRow("one block of 16") << 16;
    QTest::newRow("partial blocks") << 300;
    QTest::newRow("three levels") << 5000;
    // 65536 values complete the fourth level.
    QTest::newRow("four levels and a partial fifth") << 70001;
}

void TestValueColumn::answersAsAScanWould()
{
    QFETCH(int, count);
    std::mt19937 random{unsigned(count)};
    std::uniform_int_distribution<int> kind(0, 999);
    std::uniform_int_distribution<int> level(-25, 25);
    std::vector<double> values;
    ValueColumn column;
    for (int i = 0; i < count; ++i) {
        const int what = kind(random);
        const double value = what == 0 ? std::numeric_limits<double>::quiet_NaN()
                             : what == 1 ? -std::numeric_limits<double>::infinity()
                                         : double(level(random));
        values.push_back(value);
        column.append(value);
    }
    QCOMPARE(column.count(), count);

    std::uniform_int_distribution<int> index(0, count - 1);
    for (int query = 0; query < 300; ++query) {
        int first = index(random);
        int last = index(random);
        if (first > last)
            std::swap(first, last);
        // Values outside [low, high] are picked.
        const double low = level(random);
        const double high = low + std::abs(level(random)) / 2;
        const auto picks = [low, high](double min, double max) { return min < low || max > high; };

        ValueColumn::Extremes expected;
        ValueColumn::Sums expectedSums;
        int firstPicked = -1;
        int lastPicked = -1;
        for (int i = first; i <= last; ++i) {
            if (!std::isfinite(values[i]))
                continue;
            expected.include(ValueColumn::Extremes{values[i], values[i]});
            ++expectedSums.count;
            expectedSums.sum += values[i];
            expectedSums.squares += values[i] * values[i];
            if (picks(values[i], values[i])) {
                lastPicked = i;
                if (firstPicked < 0)
                    firstPicked = i;
            }
        }
        const ValueColumn::Extremes found = column.extremes(first, last);
        QCOMPARE(found.min, expected.min);
        QCOMPARE(found.max, expected.max);
        const ValueColumn::Sums sums = column.sums(first, last);
        QCOMPARE(sums.count, expectedSums.count);
        // Whole numbers: every partial sum is exact.
        QCOMPARE(sums.sum, expectedSums.sum);
        QCOMPARE(sums.squares, expectedSums.squares);
        QCOMPARE(column.findFirst(first, last, picks), firstPicked);
        QCOMPARE(column.findLast(first, last, picks), lastPicked);

        int nextBreak = count;
        for (int i = first; i < count && nextBreak == count; ++i) {
            if (!std::isfinite(values[i]))
                nextBreak = i;
        }
        QCOMPARE(column.nextBreak(first), nextBreak);
    }
}

QTEST_APPLESS_MAIN(TestValueColumn)
#include "tst_valuecolumn.moc"

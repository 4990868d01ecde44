// Statistics, charge and energy of any range must be what a plain pass over
// the readings gives: readings about a second apart with pauses, a clock set
// back, readings without a time and values that are not finite.

#include "chartpointstore.h"
#include "charttimeline.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

class TestChartTimeline : public QObject
{
    Q_OBJECT
private slots:
    void statisticsAsAPlainPass();
};

void TestChartTimeline::statisticsAsAPlainPass()
{
    std::mt19937 random(17);
    std::uniform_int_distribution<int> event(0, 999);
    std::uniform_int_distribution<int> jitter(-100, 100);
    std::normal_distribution<double> step(0.0, 0.05);
    ChartPointStore store;
    ChartTimeline timeline;
    std::vector<double> values;
    std::vector<qint64> times;
    qint64 time = 1733650000000;
    double value = 1.0;
    const int count = 70001; // four levels of blocks and a partial fifth
    for (int i = 0; i < count; ++i) {
        const int what = event(random);
        time += 1000 + jitter(random);
        if (what < 3)
            time += 18000 + 1000 * what; // a pause, far beyond three intervals
        else if (what == 3)
            time -= 3600000; // the clock set back an hour
        value += step(random);
        const double shown = what == 4 ? std::numeric_limits<double>::quiet_NaN() : value;
        const bool timeless = what == 5;
        store.append(shown, timeless ? QDateTime() : QDateTime::fromMSecsSinceEpoch(time), QString());
        values.push_back(shown);
        times.push_back(timeless ? ChartPointSource::kNoTime : time);
        if (i % 9000 == 0)
            timeline.sync(store); // as readings arrive between repaints
    }
    timeline.sync(store);
    QCOMPARE(timeline.count(), count);

    std::uniform_int_distribution<int> index(0, count - 1);
    for (int query = 0; query < 200; ++query) {
        int first = index(random);
        int last = query == 0 ? count - 1 : index(random);
        if (query == 0)
            first = 0;
        if (first > last)
            std::swap(first, last);
        int finite = 0;
        double min = std::numeric_limits<double>::infinity();
        double max = -min;
        double sum = 0;
        double squares = 0;
        double area = 0;
        for (int i = first; i <= last; ++i) {
            if (std::isfinite(values[i])) {
                ++finite;
                min = std::min(min, values[i]);
                max = std::max(max, values[i]);
                sum += values[i];
                squares += values[i] * values[i];
            }
            if (i == first)
                continue;
            const bool known = times[i] != ChartPointSource::kNoTime && times[i - 1] != ChartPointSource::kNoTime;
            const qint64 interval = known ? times[i] - times[i - 1] : -1;
            const bool counts = known && interval >= 0 && interval < 5000 && std::isfinite(values[i])
                                && std::isfinite(values[i - 1]);
            QCOMPARE(timeline.breaksBefore(i), !(known && interval >= 0 && interval < 5000));
            if (counts)
                area += (values[i] + values[i - 1]) / 2 * double(interval);
        }
        const ChartTimeline::Statistics statistics = timeline.statistics(store, first, last);
        QCOMPARE(statistics.count, finite);
        QCOMPARE(statistics.min, min);
        QCOMPARE(statistics.max, max);
        QVERIFY(std::abs(statistics.mean - sum / finite) < 1e-9);
        QVERIFY(std::abs(statistics.rms - std::sqrt(squares / finite)) < 1e-9);
        QVERIFY(std::abs(statistics.area - area) <= 1e-9 * std::max(1.0, std::abs(area)) + 1e-3);
    }
}

QTEST_APPLESS_MAIN(TestChartTimeline)
#include "tst_charttimeline.moc"

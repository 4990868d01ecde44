#include "charttimeline.h"
#include "chartpointsource.h"
#include "valuecolumn.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRecentIntervals = 7;

} // namespace

void ChartTimeline::sync(const ChartPointSource &source)
{
    const int total = source.values().count();
    if (total < synced) {
        synced = 0;
        breakIndexes.clear();
        areas.clear();
        recentIntervals.clear();
    }
    for (; synced < total; ++synced) {
        const qint64 time = source.timeMs(synced);
        bool broken = false;
        if (synced > 0) {
            const bool known = time != ChartPointSource::kNoTime && lastTime != ChartPointSource::kNoTime;
            const qint64 interval = known ? time - lastTime : -1;
            const double typical = typicalInterval();
            broken = interval < 0 || (typical > 0 && interval > kGapFactor * typical);
            if (!broken && interval > 0) {
                recentIntervals.append(interval);
                if (recentIntervals.size() > kRecentIntervals)
                    recentIntervals.removeFirst();
            }
        }
        if (broken)
            breakIndexes.append(synced);
        lastTime = time;
        areas.append(broken || synced == 0 ? 0.0 : segmentArea(source, synced));
    }
}

double ChartTimeline::typicalInterval() const
{
    if (recentIntervals.isEmpty())
        return 0;
    QVector<qint64> sorted = recentIntervals;
    std::sort(sorted.begin(), sorted.end());
    return double(sorted.at(sorted.size() / 2));
}

bool ChartTimeline::breaksBefore(int index) const
{
    return std::binary_search(breakIndexes.cbegin(), breakIndexes.cend(), index);
}

int ChartTimeline::nextBreak(int from) const
{
    const auto found = std::lower_bound(breakIndexes.cbegin(), breakIndexes.cend(), from);
    return found == breakIndexes.cend() ? synced : *found;
}

QVector<int> ChartTimeline::breaksIn(int first, int last) const
{
    const auto begin = std::upper_bound(breakIndexes.cbegin(), breakIndexes.cend(), first);
    const auto end = std::upper_bound(begin, breakIndexes.cend(), last);
    return QVector<int>(begin, end);
}

bool ChartTimeline::isGap(const ChartPointSource &source, int index) const
{
    if (index <= 0 || index >= synced || !breaksBefore(index))
        return false;
    const qint64 before = source.timeMs(index - 1);
    const qint64 after = source.timeMs(index);
    return before != ChartPointSource::kNoTime && after != ChartPointSource::kNoTime && after > before;
}

int ChartTimeline::firstAtOrAfter(const ChartPointSource &source, qint64 ms) const
{
    int low = 0;
    int high = synced;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const qint64 time = source.timeMs(middle);
        // A reading without a time counts as early, so the search goes on.
        if (time == ChartPointSource::kNoTime || time < ms)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

double ChartTimeline::segmentArea(const ChartPointSource &source, int index) const
{
    const double before = source.values().at(index - 1);
    const double after = source.values().at(index);
    if (!std::isfinite(before) || !std::isfinite(after))
        return 0;
    const qint64 duration = source.timeMs(index) - source.timeMs(index - 1);
    return (before + after) / 2 * double(duration);
}

ChartTimeline::Statistics ChartTimeline::statistics(const ChartPointSource &source, int first, int last) const
{
    Statistics result;
    const ValueColumn &values = source.values();
    first = std::max(first, 0);
    last = std::min({last, values.count() - 1, synced - 1});
    if (first > last)
        return result;
    const ValueColumn::Sums sums = values.sums(first, last);
    result.count = sums.count;
    if (sums.count > 0) {
        const ValueColumn::Extremes extremes = values.extremes(first, last);
        result.min = extremes.min;
        result.max = extremes.max;
        result.mean = sums.sum / sums.count;
        result.rms = std::sqrt(std::max(sums.squares, 0.0) / sums.count);
    }
    // Segments first + 1 .. last lie inside the range.
    result.area = areas.sum(first + 1, last, [this, &source](qint64 i) {
        return breaksBefore(int(i)) ? 0.0 : segmentArea(source, int(i));
    });
    return result;
}

#include "valuecolumn.h"

void ValueColumn::append(double value)
{
    const qint64 index = values.size();
    values.append(value);
    Extremes point;
    if (std::isfinite(value)) {
        point = Extremes{value, value};
        allValues.include(point);
        valueSums.append(value);
        squareSums.append(value * value);
    } else {
        breakIndexes.append(int(index));
        valueSums.append(0);
        squareSums.append(0);
    }

    qint64 span = kFanout;
    for (QVector<Extremes> &blocks : levels) {
        if (index % span == 0)
            blocks.append(point);
        else
            blocks.last().include(point);
        span *= kFanout;
    }
    // The first block of the next level is complete: it holds every value.
    if (index + 1 == span)
        levels.append(QVector<Extremes>{allValues});
}

void ValueColumn::clear()
{
    values.clear();
    levels.clear();
    breakIndexes.clear();
    valueSums.clear();
    squareSums.clear();
    allValues = Extremes();
}

ValueColumn::Extremes ValueColumn::extremes(int first, int last) const
{
    if (first <= 0 && last >= count() - 1)
        return allValues;
    // Climbs the levels: at each, the blocks before the first and after the
    // last whole block of the level above.
    Extremes result;
    qint64 begin = std::max(first, 0);
    qint64 end = qint64(std::min(last, count() - 1)) + 1;
    for (int level = 0; begin < end; ++level) {
        if (level == levels.size()) {
            while (begin < end)
                result.include(extremesOf(Block{level, int(begin++)}));
            break;
        }
        while (begin < end && (begin & (kFanout - 1)) != 0)
            result.include(extremesOf(Block{level, int(begin++)}));
        while (end > begin && (end & (kFanout - 1)) != 0)
            result.include(extremesOf(Block{level, int(--end)}));
        begin >>= kFanoutBits;
        end >>= kFanoutBits;
    }
    return result;
}

int ValueColumn::nextBreak(int from) const
{
    const auto found = std::lower_bound(breakIndexes.cbegin(), breakIndexes.cend(), from);
    return found == breakIndexes.cend() ? count() : *found;
}

ValueColumn::Sums ValueColumn::sums(int first, int last) const
{
    Sums result;
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first > last)
        return result;
    const auto breaksBefore = [this](int index) {
        return int(std::lower_bound(breakIndexes.cbegin(), breakIndexes.cend(), index) - breakIndexes.cbegin());
    };
    result.count = last - first + 1 - (breaksBefore(last + 1) - breaksBefore(first));
    const auto finite = [this](qint64 i) { return std::isfinite(values[int(i)]) ? values[int(i)] : 0.0; };
    result.sum = valueSums.sum(first, last, finite);
    result.squares = squareSums.sum(first, last, [&finite](qint64 i) { return finite(i) * finite(i); });
    return result;
}

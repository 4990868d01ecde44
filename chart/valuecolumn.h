#ifndef VALUECOLUMN_H
#define VALUECOLUMN_H

#include "blocksums.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <limits>

// The values of one chart line in order of arrival, 8 bytes each, with the
// extremes, sums and sums of squares of every aligned block of 16, 256,
// 4096 ... values (about two bytes more per value). The extremes of any index range, and the first or
// last value of a range that a test picks out, are then found in a few
// steps per block size, whatever the number of values.
//
// Values that are not finite are kept but never count as extremes; their
// indexes are listed, for they break the line.
class ValueColumn
{
public:
    struct Extremes
    {
        double min = std::numeric_limits<double>::infinity();
        double max = -std::numeric_limits<double>::infinity();

        bool isEmpty() const { return min > max; }
        void include(const Extremes &other)
        {
            min = std::min(min, other.min);
            max = std::max(max, other.max);
        }
    };

    void append(double value);
    void clear();
    // Room for this many values without moving them again.
    void reserve(int count) { values.reserve(count); }
    int count() const { return values.size(); }
    double at(int index) const { return values[index]; }

    // Of the finite values first .. last, both included; the range is
    // bounded to the values held. The whole range costs nothing: its
    // extremes are kept as values arrive.
    Extremes extremes(int first, int last) const;
    // The first index from `from` on whose value is not finite; count()
    // when there is none.
    int nextBreak(int from) const;

    // Of the finite values first .. last, bounded to the values held.
    struct Sums
    {
        int count = 0;
        double sum = 0;
        double squares = 0;
    };
    Sums sums(int first, int last) const;

    // The first (findFirst) or last (findLast) index of first .. last whose
    // finite value v gives picks(v, v), or -1. picks(min, max) is asked of
    // whole blocks too and must be true exactly when picks is true for the
    // block's minimum or its maximum, as it is for any test of the form
    // "maps to another pixel row" under a monotonic mapping.
    template <typename Picks>
    int findFirst(int first, int last, Picks picks) const;
    template <typename Picks>
    int findLast(int first, int last, Picks picks) const;

private:
    static constexpr int kFanoutBits = 4;
    static constexpr int kFanout = 1 << kFanoutBits;

    // A block of 16^level values (a single value at level 0).
    struct Block
    {
        int level;
        int index;
    };
    // The blocks begin .. end - 1 of one level.
    struct Stretch
    {
        int level;
        qint64 begin;
        qint64 end;
    };
    static constexpr int kMaxLevels = 8; // 16^8 values exceed any int index

    Extremes extremesOf(const Block &block) const;
    // Searches first .. last from one end: the blocks nearest that end
    // first, climbing the levels, and the far end's partial blocks last.
    template <typename Picks>
    int find(int first, int last, bool fromFront, Picks picks) const;
    // Searches one stretch from one end and descends into the first block
    // whose extremes pass picks; -1 if none does.
    template <typename Picks>
    int search(const Stretch &stretch, bool fromFront, Picks picks) const;
    // From a block whose extremes pass picks down to the first or last
    // single value inside it that does.
    template <typename Picks>
    int descend(Block block, bool fromFront, Picks picks) const;

    QVector<double> values;
    // levels[l] holds the extremes of the blocks of 16^(l + 1) values; a
    // level exists once its first block is complete.
    QVector<QVector<Extremes>> levels;
    QVector<int> breakIndexes; // ascending
    BlockSums valueSums;
    BlockSums squareSums;
    Extremes allValues;
};

Q_DECLARE_TYPEINFO(ValueColumn::Extremes, Q_PRIMITIVE_TYPE);

inline ValueColumn::Extremes ValueColumn::extremesOf(const Block &block) const
{
    if (block.level > 0)
        return levels[block.level - 1][block.index];
    const double value = values[block.index];
    return std::isfinite(value) ? Extremes{value, value} : Extremes{};
}

template <typename Picks>
int ValueColumn::descend(Block block, bool fromFront, Picks picks) const
{
    while (block.level > 0) {
        const int below = block.level - 1;
        const int firstChild = block.index * kFanout;
        const int childCount = below > 0 ? levels[below - 1].size() : values.size();
        const int lastChild = std::min(firstChild + kFanout, childCount) - 1;
        for (int i = 0; i <= lastChild - firstChild; ++i) {
            const Block child{below, fromFront ? firstChild + i : lastChild - i};
            const Extremes extremes = extremesOf(child);
            if (!extremes.isEmpty() && picks(extremes.min, extremes.max)) {
                block = child;
                break;
            }
        }
    }
    return block.index;
}

template <typename Picks>
int ValueColumn::search(const Stretch &stretch, bool fromFront, Picks picks) const
{
    for (qint64 i = 0; i < stretch.end - stretch.begin; ++i) {
        const Block block{stretch.level, int(fromFront ? stretch.begin + i : stretch.end - 1 - i)};
        const Extremes extremes = extremesOf(block);
        if (!extremes.isEmpty() && picks(extremes.min, extremes.max))
            return descend(block, fromFront, picks);
    }
    return -1;
}

template <typename Picks>
int ValueColumn::find(int first, int last, bool fromFront, Picks picks) const
{
    qint64 begin = std::max(first, 0);
    qint64 end = qint64(std::min(last, count() - 1)) + 1;
    // The partial blocks at the far end, one stretch per level, searched
    // after everything nearer.
    Stretch farther[kMaxLevels + 1];
    int fartherCount = 0;
    for (int level = 0; begin < end; ++level) {
        if (level == levels.size()) {
            // No level above: fewer than 16 blocks remain.
            const int found = search(Stretch{level, begin, end}, fromFront, picks);
            if (found >= 0)
                return found;
            break;
        }
        const qint64 alignedBegin = std::min((begin + kFanout - 1) & ~qint64(kFanout - 1), end);
        const qint64 alignedEnd = std::max(end & ~qint64(kFanout - 1), alignedBegin);
        const Stretch head{level, begin, alignedBegin};
        const Stretch tail{level, alignedEnd, end};
        const int found = search(fromFront ? head : tail, fromFront, picks);
        if (found >= 0)
            return found;
        farther[fartherCount++] = fromFront ? tail : head;
        begin = alignedBegin >> kFanoutBits;
        end = alignedEnd >> kFanoutBits;
    }
    while (fartherCount > 0) {
        const int found = search(farther[--fartherCount], fromFront, picks);
        if (found >= 0)
            return found;
    }
    return -1;
}

template <typename Picks>
int ValueColumn::findFirst(int first, int last, Picks picks) const
{
    return find(first, last, true, picks);
}

template <typename Picks>
int ValueColumn::findLast(int first, int last, Picks picks) const
{
    return find(first, last, false, picks);
}

#endif // VALUECOLUMN_H

#ifndef BLOCKSUMS_H
#define BLOCKSUMS_H

#include <QVector>

#include <algorithm>

// Sums of the aligned blocks of 16, 256, 4096 ... elements of a sequence
// whose elements are kept (or computed) elsewhere, about half a byte per
// element. The sum of any index range then costs a few steps per block
// size: whole blocks from the levels, and at most 15 elements at each end
// of each level, asked of the caller.
class BlockSums
{
public:
    void append(double element);
    void clear();
    qint64 count() const { return elementCount; }

    // Sum of the elements first .. last, both included, bounded to those
    // held; element(i) gives the single element i.
    template <typename Element>
    double sum(qint64 first, qint64 last, Element element) const;

private:
    static constexpr int kFanoutBits = 4;
    static constexpr qint64 kFanout = 1 << kFanoutBits;

    // levels[l] holds the sums of the blocks of 16^(l + 1) elements.
    QVector<QVector<double>> levels;
    qint64 elementCount = 0;
    double total = 0;
};

template <typename Element>
double BlockSums::sum(qint64 first, qint64 last, Element element) const
{
    qint64 begin = std::max<qint64>(first, 0);
    qint64 end = std::min(last, elementCount - 1) + 1;
    if (begin == 0 && end == elementCount)
        return total;
    double result = 0;
    for (int level = 0; begin < end; ++level) {
        const auto at = [&](qint64 i) { return level == 0 ? double(element(i)) : levels[level - 1][int(i)]; };
        if (level == levels.size()) {
            // No level above: fewer than 16 blocks remain.
            while (begin < end)
                result += at(begin++);
            break;
        }
        while (begin < end && (begin & (kFanout - 1)) != 0)
            result += at(begin++);
        while (end > begin && (end & (kFanout - 1)) != 0)
            result += at(--end);
        begin >>= kFanoutBits;
        end >>= kFanoutBits;
    }
    return result;
}

#endif // BLOCKSUMS_H

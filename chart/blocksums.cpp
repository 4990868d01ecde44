#include "blocksums.h"

void BlockSums::append(double element)
{
    const qint64 index = elementCount++;
    total += element;
    qint64 span = kFanout;
    for (QVector<double> &blocks : levels) {
        if (index % span == 0)
            blocks.append(element);
        else
            blocks.last() += element;
        span *= kFanout;
    }
    // The first block of the next level is complete: it holds every element.
    if (index + 1 == span)
        levels.append(QVector<double>{total});
}

void BlockSums::clear()
{
    levels.clear();
    elementCount = 0;
    total = 0;
}

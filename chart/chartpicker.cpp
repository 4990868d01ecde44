#include "chartpicker.h"

#include <algorithm>

int ChartPicker::indexAt(const QVector<int> &pixelX, int x, int plotWidth)
{
    if (pixelX.isEmpty())
        return -1;
    if (x < 0)
        return 0;
    if (x > plotWidth)
        return pixelX.size() - 1;

    const auto above = std::lower_bound(pixelX.cbegin(), pixelX.cend(), x);
    if (above == pixelX.cend())
        return pixelX.size() - 1;
    const int index = int(above - pixelX.cbegin());
    if (*above == x || index == 0)
        return index;
    const int before = index - 1;
    return (*above - x) < (x - pixelX[before]) ? index : before;
}

ChartPicker::Span ChartPicker::selectedSpan(const QVector<int> &pixelX, int pressX, int dragX)
{
    Span span;
    if (dragX <= pressX)
        return span;
    const auto first = std::lower_bound(pixelX.cbegin(), pixelX.cend(), pressX);
    if (first == pixelX.cend())
        return span;
    const auto end = std::lower_bound(first, pixelX.cend(), dragX);
    span.first = int(first - pixelX.cbegin());
    span.last = int(end - pixelX.cbegin()) - 1;
    return span;
}

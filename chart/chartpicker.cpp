#include "chartpicker.h"

namespace {

// The first index from `from` on whose offset is at least x; size() when
// there is none. The offsets never decrease, so this halves the range.
int firstAtLeast(const PixelOffsets &pixelX, int from, int x)
{
    int low = from;
    int high = pixelX.size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (pixelX.at(middle) < x)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

} // namespace

int ChartPicker::indexAt(const PixelOffsets &pixelX, int x, int plotWidth)
{
    if (pixelX.size() == 0)
        return -1;
    if (x < 0)
        return 0;
    if (x > plotWidth)
        return pixelX.size() - 1;

    const int index = firstAtLeast(pixelX, 0, x);
    if (index == pixelX.size())
        return pixelX.size() - 1;
    const int above = pixelX.at(index);
    if (above == x || index == 0)
        return index;
    const int before = index - 1;
    return (above - x) < (x - pixelX.at(before)) ? index : before;
}

ChartPicker::Span ChartPicker::selectedSpan(const PixelOffsets &pixelX, int pressX, int dragX)
{
    Span span;
    if (dragX <= pressX)
        return span;
    const int first = firstAtLeast(pixelX, 0, pressX);
    if (first == pixelX.size())
        return span;
    span.first = first;
    span.last = firstAtLeast(pixelX, first, dragX) - 1;
    return span;
}

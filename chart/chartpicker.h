#ifndef CHARTPICKER_H
#define CHARTPICKER_H

#include "chartlayout.h"

// The pixel offsets, from the plot's left edge, of `count` visible readings
// as hit-testing sees them: reading k at trunc(k * xScale + 0.5). They are
// computed when asked, never stored.
struct PixelOffsets
{
    double xScale = 0;
    int count = 0;

    int size() const { return count; }
    int at(int k) const { return ChartLayout::pixelOffset(xScale, k); }
};

// Maps pixel offsets along the time axis to visible readings. The results
// are indexes of the offsets, that is, counted from the first visible
// reading.
class ChartPicker
{
public:
    // The reading nearest to offset x: the first reading left of the plot,
    // the last one right of it (plotWidth); a tie goes to the earlier
    // reading. -1 when no reading is visible.
    static int indexAt(const PixelOffsets &pixelX, int x, int plotWidth);

    // The readings whose offsets lie in [pressX, dragX), as the first and
    // last index. A selection holding fewer than two readings yields an
    // empty span (last < first).
    struct Span
    {
        int first = 0;
        int last = -1;
        bool isZoomable() const { return last > first; }
    };
    static Span selectedSpan(const PixelOffsets &pixelX, int pressX, int dragX);
};

#endif // CHARTPICKER_H

#ifndef CHARTPICKER_H
#define CHARTPICKER_H

#include "chartlayout.h"
#include "chartpointsource.h"

// On a time axis, where reading k of the visible ones (k counted from
// `first`) stands: at its time, msScale pixels per millisecond from startMs.
struct TimeMapping
{
    const ChartPointSource *source = nullptr; // null: the readings axis
    int first = 0;
    double startMs = 0;
    double msScale = 0;

    bool isActive() const { return source != nullptr; }
    // Unrounded offset from the plot's left edge; a reading without a time
    // lies far left, out of sight.
    double offset(int k) const
    {
        const qint64 ms = source->timeMs(first + k);
        return ms == ChartPointSource::kNoTime ? -1e9 : (double(ms) - startMs) * msScale;
    }
};

// The pixel offsets, from the plot's left edge, of `count` visible readings
// as hit-testing sees them: reading k at trunc(k * xScale + 0.5), or on a
// time axis at its time. They are computed when asked, never stored.
struct PixelOffsets
{
    PixelOffsets() = default;
    PixelOffsets(double xScale, int count, const TimeMapping &time = TimeMapping())
        : xScale(xScale), count(count), time(time)
    {
    }

    double xScale = 0;
    int count = 0;
    TimeMapping time;

    int size() const { return count; }
    int at(int k) const
    {
        return time.isActive() ? ChartLayout::toPixel(time.offset(k) + 0.5) : ChartLayout::pixelOffset(xScale, k);
    }
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

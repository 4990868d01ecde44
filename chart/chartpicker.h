#ifndef CHARTPICKER_H
#define CHARTPICKER_H

#include <QVector>

// Maps pixel offsets along the time axis to visible readings. pixelX holds
// one ascending offset per visible reading, measured from the plot's left
// edge; the results are indexes into it, that is, counted from the first
// visible reading.
class ChartPicker
{
public:
    // The reading nearest to offset x: the first reading left of the plot,
    // the last one right of it (plotWidth); a tie goes to the earlier
    // reading. -1 when no reading is visible.
    static int indexAt(const QVector<int> &pixelX, int x, int plotWidth);

    // The readings whose offsets lie in [pressX, dragX), as the first and
    // last index. A selection holding fewer than two readings yields an
    // empty span (last < first).
    struct Span
    {
        int first = 0;
        int last = -1;
        bool isZoomable() const { return last > first; }
    };
    static Span selectedSpan(const QVector<int> &pixelX, int pressX, int dragX);
};

#endif // CHARTPICKER_H

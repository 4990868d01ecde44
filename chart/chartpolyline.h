#ifndef CHARTPOLYLINE_H
#define CHARTPOLYLINE_H

#include "chartlayout.h"
#include "chartpicker.h"

#include <QPolygon>

#include <QVector>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

class ChartTimeline;
class ValueColumn;

// The vertices of a line as the chart draws it. The plain drawing is one
// polyline through every visible reading, broken at values that are not
// finite, with reading k (counted from the first visible one) at
//   x = trunc(left + k * xScale),  y = trunc(zero - yScale * value).
// When many readings share a pixel column, their vertical strokes are
// replaced by at most eight vertices per column that make QPainter's
// aliased one-pixel pen (its cosmetic stroker) set exactly the same pixels:
// the column's first reading, its extremes in the order the walk meets
// them, and its last two strokes (see appendColumn). The extremes come from
// the block extremes of the values, so a column costs a few steps however
// many readings it holds, and a line a few vertices per pixel of width.
// Nothing may be clipped away: the stroker forgets a stroke it clips away
// entirely, so which pixels it skips at the next joint would depend on
// strokes that the reduction leaves out. Rows are therefore held to the
// plot and its border (Mapping::topRow, bottomRow), where a line on the
// automatic scale always stays, and a reading beyond a value range the
// user chose is drawn on the border row.
class ChartPolyline
{
public:
    struct Mapping
    {
        int left = 0;       // x pixel of the first visible reading
        double xScale = 0;  // pixels per reading
        double zero = 0;    // y pixel of the value 0
        double yScale = 0;  // pixels per value unit
        TimeMapping time;   // on a time axis, where the readings stand

        int x(int k) const
        {
            return ChartLayout::toPixel(time.isActive() ? left + time.offset(k) : left + k * xScale);
        }
        // Rows beyond these are drawn on them: a value range the user chose
        // can put readings above and below the plot.
        int topRow = -(1 << 24);
        int bottomRow = 1 << 24;

        // ChartLayout::toPixel held to the rows, which lie within its
        // range: clamping to whole rows before truncating gives the same
        // row, with fewer branches.
        int y(double value) const
        {
            const double row = zero - yScale * value;
            return int(std::clamp(std::isnan(row) ? 0.0 : row, double(topRow), double(bottomRow)));
        }
    };

    // One polyline per run of finite values among first .. last (bounded
    // to the values held), in order, also broken where breaks (when given)
    // breaks the line; runs of one reading give one vertex.
    static QVector<QPolygon> runs(const ValueColumn &values, int first, int last, const Mapping &mapping,
                                  const ChartTimeline *breaks = nullptr);

private:
    ChartPolyline(const ValueColumn &values, int first, const Mapping &mapping);

    QPolygon run(int start, int end);
    // The readings start .. end share the pixel column x.
    void appendColumn(int start, int end, bool runStarts, bool runEnds);
    // After the vertex of reading from, vertices that stand for the walk
    // from .. to and end on the row of reading to.
    void appendWalk(int from, int to);
    // Short columns: the rows of start .. end, read by the searches below.
    void workOutRows(int start, int end);
    bool rowsWorkedOut(int from, int to) const;
    // The last (first) reading of from .. to whose row is not notRow, or -1.
    int lastOtherRow(int from, int to, int notRow) const;
    int firstOtherRow(int from, int to, int notRow) const;
    // The top and bottom rows of the readings from .. to.
    std::pair<int, int> rowSpan(int from, int to) const;
    // The last reading from `start` on that lies in the same pixel column.
    int columnEnd(int start, int end) const;
    // The same on a time axis: from where the run's mean pace puts the
    // column's end, in widening steps to the exact one, so that a column
    // costs a few reads of times that lie close together.
    int timeColumnEnd(int start, int end) const;
    int row(int index) const;
    void append(int y);
    void appendAgain();

    const ValueColumn &values;
    int first;
    Mapping mapping;
    int x = 0;
    QPolygon vertices;
    // A column of up to this many readings has its rows worked out once and
    // searched one by one: cheaper than asking the value blocks, which pays
    // off for longer columns only.
    static constexpr int kMaxRowsWorkedOut = 64;
    // The rows of the current column's readings from rowsStart on, when it
    // is short enough; rowCount is 0 when it is not.
    int rowsStart = 0;
    int rowCount = 0;
    std::array<int, kMaxRowsWorkedOut> columnRows;
    // On a time axis, the run's first and last reading and their offsets.
    int runStart = 0;
    int runEnd = 0;
    double runStartOffset = 0;
    double runEndOffset = 0;
};

#endif // CHARTPOLYLINE_H

#include "chartpolyline.h"
#include "charttimeline.h"
#include "valuecolumn.h"

#include <algorithm>
#include <cmath>


ChartPolyline::ChartPolyline(const ValueColumn &values, int first, const Mapping &mapping)
    : values(values), first(first), mapping(mapping)
{
}

QVector<QPolygon> ChartPolyline::runs(const ValueColumn &values, int first, int last, const Mapping &mapping,
                                      const ChartTimeline *breaks)
{
    QVector<QPolygon> result;
    ChartPolyline polyline(values, first, mapping);
    last = std::min(last, values.count() - 1);
    for (int start = std::max(first, 0); start <= last;) {
        const int stop = values.nextBreak(start);
        if (stop == start) {
            ++start; // a value that is not finite
            continue;
        }
        int end = std::min(stop - 1, last);
        if (breaks)
            end = std::min(end, breaks->nextBreak(start + 1) - 1);
        result.append(polyline.run(start, end));
        start = end + 1;
    }
    return result;
}

QPolygon ChartPolyline::run(int start, int end)
{
    vertices = QPolygon();
    if (mapping.time.isActive()) {
        runStart = start;
        runEnd = end;
        runStartOffset = mapping.time.offset(start - first);
        runEndOffset = mapping.time.offset(end - first);
    }
    for (int columnStart = start; columnStart <= end;) {
        const int columnStop = columnEnd(columnStart, end);
        x = mapping.x(columnStart - first);
        appendColumn(columnStart, columnStop, columnStart == start, columnStop == end);
        columnStart = columnStop + 1;
    }
    return vertices;
}

// Why these vertices draw the pixels of the plain polyline (QCosmeticStroker,
// aliased, integer vertices): within a column every stroke is vertical. A
// stroke sets the rows from its start up to, not including, its lower end;
// a stroke that turns back adds its start row, and a stroke that begins or
// ends a run adds the row of its cap, unless the run begins or ends with a
// zero-length stroke, which takes the cap and draws nothing. So the column's
// pixels are every row between its extremes, except possibly its first row
// (when the walk leaves it upwards and never comes back down to it) and, at
// the end of a run, its last row. Beyond that the stroker looks back one
// stroke: which pixel a stroke skips or adds where it meets the previous
// one depends on that one's direction. So the vertices keep the direction
// of the column's first stroke, and its last two strokes as they are.
void ChartPolyline::appendColumn(int start, int end, bool runStarts, bool runEnds)
{
    workOutRows(start, end);
    const int firstRow = row(start);
    append(firstRow);
    if (runStarts && start < end && row(start + 1) == firstRow)
        appendAgain();

    const int lastRow = row(end);
    const int plateau = lastOtherRow(start, end - 1, lastRow);
    if (plateau < 0) {
        if (runEnds && start < end)
            appendAgain();
        return;
    }
    const int beforePlateau = lastOtherRow(start, plateau - 1, row(plateau));
    if (beforePlateau >= 0)
        appendWalk(start, beforePlateau);
    append(row(plateau));
    append(lastRow);
    if (runEnds && plateau < end - 1)
        appendAgain();
}

void ChartPolyline::workOutRows(int start, int end)
{
    rowsStart = start;
    rowCount = end - start + 1 <= kMaxRowsWorkedOut ? end - start + 1 : 0;
    for (int i = 0; i < rowCount; ++i)
        columnRows[i] = mapping.y(values.at(start + i));
}

bool ChartPolyline::rowsWorkedOut(int from, int to) const
{
    return from >= rowsStart && to - rowsStart < rowCount;
}

int ChartPolyline::lastOtherRow(int from, int to, int notRow) const
{
    if (rowsWorkedOut(from, to)) {
        for (int index = to; index >= from; --index) {
            if (columnRows[index - rowsStart] != notRow)
                return index;
        }
        return -1;
    }
    return values.findLast(from, to, [this, notRow](double low, double high) {
        return mapping.y(low) != notRow || (high != low && mapping.y(high) != notRow);
    });
}

int ChartPolyline::firstOtherRow(int from, int to, int notRow) const
{
    if (rowsWorkedOut(from, to)) {
        for (int index = from; index <= to; ++index) {
            if (columnRows[index - rowsStart] != notRow)
                return index;
        }
        return -1;
    }
    return values.findFirst(from, to, [this, notRow](double low, double high) {
        return mapping.y(low) != notRow || (high != low && mapping.y(high) != notRow);
    });
}

std::pair<int, int> ChartPolyline::rowSpan(int from, int to) const
{
    if (rowsWorkedOut(from, to)) {
        const auto [top, bottom] = std::minmax_element(columnRows.cbegin() + (from - rowsStart),
                                                       columnRows.cbegin() + (to - rowsStart + 1));
        return {*top, *bottom};
    }
    // The mapping is monotonic: the extremes give the outermost rows.
    const ValueColumn::Extremes extremes = values.extremes(from, to);
    const int rowOfMin = mapping.y(extremes.min);
    const int rowOfMax = mapping.y(extremes.max);
    return std::minmax(rowOfMin, rowOfMax);
}

void ChartPolyline::appendWalk(int from, int to)
{
    const int startRow = row(from);
    const int turn = firstOtherRow(from + 1, to, startRow);
    if (turn < 0)
        return;

    // The rows before the turn are all the start row.
    const auto [topAfterTurn, bottomAfterTurn] = rowSpan(turn, to);
    if (row(turn) < startRow) {
        // Up first: the start row is only drawn again if the walk comes back
        // down to it, so the way down goes no further than the walk does
        // after leaving it.
        append(topAfterTurn);
        append(bottomAfterTurn);
    } else {
        append(bottomAfterTurn);
        append(std::min(startRow, topAfterTurn));
    }
    append(row(to));
}

int ChartPolyline::columnEnd(int start, int end) const
{
    if (mapping.time.isActive())
        return timeColumnEnd(start, end);
    const int column = mapping.x(start - first);
    if (mapping.xScale > 0 && !mapping.time.isActive()) {
        // Where the scale puts the column's end, moved onto the exact
        // mapping: rounding can put the estimate a reading off.
        const double estimate = first + (column + 1 - mapping.left) / mapping.xScale - 1;
        int last = int(std::clamp(std::ceil(estimate), double(start), double(end)));
        while (last < end && mapping.x(last + 1 - first) == column)
            ++last;
        while (last > start && mapping.x(last - first) != column)
            --last;
        return last;
    }
    // A plot without width, or a time axis: gallop to a reading outside the column, then
    // halve back to its last one.
    int inside = start;
    for (qint64 step = 1; inside < end; step *= 2) {
        const int probe = int(std::min<qint64>(inside + step, end));
        if (mapping.x(probe - first) != column) {
            int outside = probe;
            while (outside - inside > 1) {
                const int middle = inside + (outside - inside) / 2;
                (mapping.x(middle - first) == column ? inside : outside) = middle;
            }
            return inside;
        }
        inside = probe;
    }
    return end;
}

int ChartPolyline::row(int index) const
{
    if (rowsWorkedOut(index, index))
        return columnRows[index - rowsStart];
    return mapping.y(values.at(index));
}

void ChartPolyline::append(int y)
{
    const QPoint vertex(x, y);
    if (vertices.isEmpty() || vertices.last() != vertex)
        vertices.append(vertex);
}

void ChartPolyline::appendAgain()
{
    vertices.append(vertices.last());
}

int ChartPolyline::timeColumnEnd(int start, int end) const
{
    const int column = mapping.x(start - first);
    const auto inside = [this, column](int index) { return mapping.x(index - first) <= column; };
    int guess = end;
    const double span = runEndOffset - runStartOffset;
    if (span > 0 && runEnd > runStart) {
        const double readingsPerPixel = (runEnd - runStart) / span;
        const double estimate = runStart + (column + 1 - mapping.left - runStartOffset) * readingsPerPixel;
        guess = int(std::clamp(std::floor(estimate), double(start), double(end)));
    }
    // low is inside the column, high (when not past end) outside.
    qint64 low = start;
    qint64 high = qint64(end) + 1;
    if (inside(guess)) {
        low = guess;
        for (qint64 step = 1; low + step <= end; step *= 2) {
            if (!inside(int(low + step))) {
                high = low + step;
                break;
            }
            low += step;
        }
    } else {
        high = guess;
        for (qint64 step = 1; high - step > start; step *= 2) {
            if (inside(int(high - step))) {
                low = high - step;
                break;
            }
            high -= step;
        }
    }
    while (high - low > 1) {
        const qint64 middle = low + (high - low) / 2;
        (inside(int(middle)) ? low : high) = middle;
    }
    return int(low);
}

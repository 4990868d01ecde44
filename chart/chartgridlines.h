#ifndef CHARTGRIDLINES_H
#define CHARTGRIDLINES_H

#include <QHash>
#include <QImage>
#include <QPen>

class QPainter;
class QPoint;

// The dotted grid lines, drawn once per length into a strip and stamped from
// there. The dotted pen's stroker costs several times more than blending a
// strip, and a full repaint draws a dozen lines of a few lengths. The
// pixels the pen sets depend only on where a line starts, so a strip holds
// exactly the line's pixels.
class ChartGridLines
{
public:
    // As drawLine(x1, y, x2, y) with the dotted black pen of width 1, for
    // x1 <= x2.
    void horizontal(QPainter &painter, int x1, int x2, int y);
    // As drawLine(x, y1, x, y2) with that pen, for y1 <= y2.
    void vertical(QPainter &painter, int x, int y1, int y2);

    static QPen pen();

private:
    // A line of `length` pixels beyond `start`, across (to the right) or
    // down.
    void stamp(QPainter &painter, const QPoint &start, int length, bool across);
    // A strip for a line of `length` pixels beyond its first, by length.
    const QImage &strip(QHash<int, QImage> &strips, int length, bool across);

    QHash<int, QImage> rows;
    QHash<int, QImage> columns;
};

#endif // CHARTGRIDLINES_H

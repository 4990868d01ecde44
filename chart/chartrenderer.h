#ifndef CHARTRENDERER_H
#define CHARTRENDERER_H

#include "chartlayout.h"

#include <QRect>
#include <QString>

class ChartLine;
class QColor;
class QPainter;
class QPoint;

// Draws the contents of the chart's layers for one layout: the plot area,
// its scales and ticks, and the visible index range. Holds no state of the
// widget, so the way a layer is drawn can change without touching the
// widget's event handling or caching.
class ChartRenderer
{
public:
    // Margins and texts around the plot area.
    struct Axes
    {
        int leftMargin = 0;   // pixels; band of the value labels and title
        int topMargin = 0;    // pixels
        int bottomMargin = 0; // pixels; band of the time labels and title
        int labelDecimals = 0;
        QString xTitle;
        QString yTitle;
    };

    ChartRenderer(const QRect &plotRect, const ChartLayout &layout, int firstIndex, int lastIndex);

    // Axis lines, ticks, dotted grid, labels and titles. The time labels
    // are the times of timeLine's readings; null draws none.
    void drawAxes(QPainter &painter, const ChartLine *timeLine, const Axes &axes) const;
    // The visible readings of the line as a polyline; readings that are not
    // finite break it.
    void drawLine(QPainter &painter, const ChartLine &line) const;
    // press and drag are relative to the plot area's top-left corner.
    void drawSelection(QPainter &painter, const QPoint &press, const QPoint &drag) const;
    // index counts from the first visible reading and must name an entry
    // of the line's offsets.
    void drawIndicator(QPainter &painter, const ChartLine &line, int index, const QColor &color) const;

private:
    // Value ticks firstStep .. lastStep from the zero level: direction -1
    // goes up the screen towards positive values, +1 down towards negative.
    void drawValueTicks(QPainter &painter, int direction, int firstStep, int lastStep,
                        int decimals) const;

    QRect plotRect;
    ChartLayout layout;
    int firstIndex;
    int lastIndex;
};

#endif // CHARTRENDERER_H

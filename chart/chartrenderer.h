#ifndef CHARTRENDERER_H
#define CHARTRENDERER_H

#include "chartgridlines.h"
#include "chartlayout.h"
#include "charttext.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class ChartLine;
class ChartTimeline;
class QColor;
class QImage;
class QPainter;
class QPoint;

// Draws the contents of the chart's layers for one layout: the plot area,
// its scales and ticks, and the visible index range. Holds no state of the
// widget, so the way a layer is drawn can change without touching the
// widget's event handling or caching.
class ChartRenderer
{
public:
    // Margins, texts and font around the plot area.
    struct Axes
    {
        int leftMargin = 0;   // pixels; band of the value labels and title
        int topMargin = 0;    // pixels
        int bottomMargin = 0; // pixels; band of the time labels and title
        int labelDecimals = 0;
        QString xTitle;
        QString yTitle;
        QFont font;

        bool operator==(const Axes &other) const;
    };

    // One pass of value ticks from the zero level: their rows and labels.
    struct ValueTicks
    {
        QVector<int> y;
        QStringList labels;

        bool operator==(const ValueTicks &other) const;
    };

    // Everything the axes layer shows, worked out without painting, so that
    // a layout that changes none of it (most new readings) leaves the layer
    // as it is.
    struct AxesPicture
    {
        QRect plotRect;
        Axes axes;
        QVector<int> timeTickX;
        QStringList timeLabels; // one per tick that has a reading
        QStringList dateLabels; // time axis: below the time where the day changes
        QVector<QRect> gaps;    // time axis: shaded pauses
        QStringList gapLabels;  // their durations
        ValueTicks upward;      // from the zero level up, zero included
        ValueTicks downward;    // below the zero level

        bool operator==(const AxesPicture &other) const;
        bool operator!=(const AxesPicture &other) const;
    };

    // What the drawing keeps from paint to paint: texts and grid lines
    // drawn once and stamped after.
    struct Stamps
    {
        ChartText text;
        ChartGridLines grid;
    };

    ChartRenderer(const QRect &plotRect, const ChartLayout &layout, int firstIndex, int lastIndex, Stamps &stamps);

    // The axis lines, ticks, dotted grid, labels and titles of this layout.
    // The time labels are the times of timeLine's readings; null, or a line
    // without a point source, gives none. When timeLine stands on a time
    // axis, the ticks are at round times and the gaps that timeline finds
    // are shaded.
    AxesPicture axesPicture(const ChartLine *timeLine, const Axes &axes,
                            const ChartTimeline *timeline = nullptr) const;
    static void drawAxes(QPainter &painter, const AxesPicture &picture, Stamps &stamps);
    // The visible readings of the line as a polyline; readings that are not
    // finite, and the breaks of timeline when given, break it; a reading
    // alone between breaks is a dot. It costs a few vertices per pixel
    // column, however many readings are visible (see ChartPolyline).
    void drawLine(QPainter &painter, const ChartLine &line, const ChartTimeline *timeline = nullptr) const;
    // Vertical lines at the cursors (reading indexes, -1 for none) that are
    // visible on the line's offsets, numbered 1 and 2.
    void drawCursors(QPainter &painter, const ChartLine &line, const int (&cursors)[2]) const;
    // The read-out's box (see ChartReadoutBox) at the plot's top left corner.
    void drawReadout(QPainter &painter, const QImage &box) const;
    // press and drag are relative to the plot area's top-left corner.
    void drawSelection(QPainter &painter, const QPoint &press, const QPoint &drag) const;
    // index counts from the first visible reading and must name an entry
    // of the line's offsets.
    void drawIndicator(QPainter &painter, const ChartLine &line, int index, const QColor &color) const;

private:
    // Value ticks firstStep .. lastStep from the zero level: direction -1
    // goes up the screen towards positive values, +1 down towards negative.
    ValueTicks valueTicks(int direction, int firstStep, int lastStep, int decimals) const;
    static void drawValueTicks(QPainter &painter, const QRect &plotRect, const ValueTicks &ticks, Stamps &stamps);

    QRect plotRect;
    ChartLayout layout;
    int firstIndex;
    int lastIndex;
    Stamps *stamps;
};

#endif // CHARTRENDERER_H

#ifndef CHARTLAYOUT_H
#define CHARTLAYOUT_H

#include <QSize>

#include <algorithm>
#include <cmath>

// Scales and ticks of one chart, computed from the plot size, the value
// range of the visible points and the visible index range. Pure geometry:
// no widget, no painter, so it can be checked directly.
struct ChartLayout
{
    double minValue = 0;     // value units, margin included
    double maxValue = 0;     // value units, margin included
    double xScale = 0;       // pixels per reading
    double yScale = 0;       // pixels per value unit
    double xTickPixels = 0;  // distance between time ticks
    double yTickPixels = 0;  // distance between value ticks
    int xTickCount = 0;
    int yTicksAbove = 0;     // value steps above the zero level
    int yTicksBelow = 0;     // value steps below the zero level
    // The first step of each pass that lies inside the range: 0 and 1 while
    // the range holds the zero level; more when the user moved it away.
    int yFirstAbove = 0;
    int yFirstBelow = 1;
    int pointsPerXTick = 0;  // readings per time tick
    double yTickValue = 0;   // value units per value tick

    // Widens the data's extremes to include -1 .. 1 and adds a tenth of each
    // end's magnitude, so the zero level always lies inside the plot.
    // Values that are not finite are ignored.
    void setValueRange(double dataMin, double dataMax);

    // A range the user chose, shown as it is, without margins.
    void setUserValueRange(double min, double max);

    // xScale spreads the readings firstIndex .. lastIndex (both included)
    // over the plot width; 0 when the range is empty.
    void setScales(const QSize &plotSize, int firstIndex, int lastIndex);

    // Tick counts are 0 without data or without a usable plot area; the
    // remaining tick members then keep their previous values.
    void computeTicks(int plotWidth, bool hasData);

    // y pixel of the value 0 for a plot area whose top edge is plotTop.
    int zeroLevel(int plotTop) const;

    // Readings per time tick so that ticks lie at least minPixels apart;
    // 0 when xScale is not a positive number.
    static int xStep(double xScale, double minPixels);

    // Value units per value tick so that ticks lie at least minPixels
    // apart; 0 when yScale is not a positive number.
    static double yStep(double yScale, double minPixels);

    // Pixel offset, from the plot's left edge, of the visible reading k as
    // hit-testing sees it: trunc(k * xScale + 0.5).
    static int pixelOffset(double xScale, int k);

    // Truncates toward zero like a plain int conversion, but keeps results
    // of huge or non-finite values within a range QPainter can take.
    static int toPixel(double coordinate)
    {
        // Far outside any screen, well inside int and QPainter's fixed-point range.
        constexpr double kMaxPixelCoordinate = 1 << 24;
        if (std::isnan(coordinate))
            return 0;
        return static_cast<int>(std::clamp(coordinate, -kMaxPixelCoordinate, kMaxPixelCoordinate));
    }
};

#endif // CHARTLAYOUT_H

#include "chartlayout.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The range always shows at least this much either side of zero.
constexpr double kMinimumRangeMagnitude = 1.0;
// Fraction of each end's magnitude added as a margin.
constexpr double kRangeMarginFraction = 0.1;
// Minimum tick distances in pixels.
constexpr double kMinXTickPixels = 80.0;
constexpr double kMinYTickPixels = 30.0;
// Beyond the fixed step lists, steps grow in multiples of this.
constexpr double kLargeStep = 50.0;

constexpr int kXSteps[] = {1, 2, 3, 5, 10, 20, 30, 40};
constexpr double kYSteps[] = {0.00001, 0.0001, 0.001, 0.01, 0.1, 0.2, 0.3, 0.5, 0.8,
                              1, 2, 3, 5, 10, 20, 30, 40};

bool isUsableScale(double scale)
{
    return std::isfinite(scale) && scale > 0;
}

// The smallest multiple of kLargeStep whose product with scale reaches
// minPixels, found arithmetically so a tiny scale cannot loop for long.
double largeStep(double scale, double minPixels)
{
    double multiple = std::max(1.0, std::ceil(minPixels / (kLargeStep * scale)));
    // Correct a rounding error of the division, by one step either way.
    // No loop: for huge multiples adding one changes nothing.
    if (multiple * kLargeStep * scale < minPixels)
        multiple += 1;
    else if (multiple > 1 && (multiple - 1) * kLargeStep * scale >= minPixels)
        multiple -= 1;
    return multiple * kLargeStep;
}

int truncatedRatio(double numerator, double denominator)
{
    if (!(denominator > 0))
        return 0;
    const double ratio = numerator / denominator;
    if (!std::isfinite(ratio))
        return 0;
    return static_cast<int>(std::min(ratio, double(std::numeric_limits<int>::max())));
}

} // namespace

void ChartLayout::setValueRange(double dataMin, double dataMax)
{
    minValue = -kMinimumRangeMagnitude;
    maxValue = kMinimumRangeMagnitude;
    if (std::isfinite(dataMax))
        maxValue = std::max(maxValue, dataMax);
    if (std::isfinite(dataMin))
        minValue = std::min(minValue, dataMin);
    const double limit = std::numeric_limits<double>::max();
    maxValue = std::min(maxValue + std::abs(maxValue) * kRangeMarginFraction, limit);
    minValue = std::max(minValue - std::abs(minValue) * kRangeMarginFraction, -limit);
}

void ChartLayout::setUserValueRange(double min, double max)
{
    minValue = min;
    maxValue = max;
}

void ChartLayout::setScales(const QSize &plotSize, int firstIndex, int lastIndex)
{
    // The span of two extreme values can overflow to infinity; a zero
    // scale then flattens the line instead of producing garbage.
    const double span = maxValue - minValue;
    yScale = std::isfinite(span) ? plotSize.height() / span : 0;
    xScale = lastIndex >= firstIndex ? plotSize.width() / (double(lastIndex) - firstIndex + 1) : 0;
}

void ChartLayout::computeTicks(int plotWidth, bool hasData)
{
    xTickCount = 0;
    yTicksAbove = 0;
    yTicksBelow = 0;
    if (!hasData)
        return;

    pointsPerXTick = xStep(xScale, kMinXTickPixels);
    xTickPixels = pointsPerXTick * xScale;
    xTickCount = truncatedRatio(plotWidth, xTickPixels);

    yTickValue = yStep(yScale, kMinYTickPixels);
    yTickPixels = yScale * yTickValue;
    yTicksAbove = truncatedRatio(maxValue * yScale, yTickPixels);
    yTicksBelow = truncatedRatio(std::abs(minValue) * yScale, yTickPixels);
    yFirstAbove = 0;
    yFirstBelow = 1;
    // A range beside the zero level: only the steps inside it.
    if (yTickValue > 0 && minValue > 0) {
        yTicksBelow = 0;
        yFirstAbove = truncatedRatio(std::ceil(minValue / yTickValue), 1);
    }
    if (yTickValue > 0 && maxValue < 0) {
        yTicksAbove = -1;
        yFirstBelow = std::max(1, truncatedRatio(std::ceil(-maxValue / yTickValue), 1));
    }
}

int ChartLayout::zeroLevel(int plotTop) const
{
    return toPixel(plotTop + yScale * maxValue);
}

int ChartLayout::xStep(double xScale, double minPixels)
{
    if (!isUsableScale(xScale))
        return 0;
    for (int step : kXSteps) {
        if (step * xScale >= minPixels)
            return step;
    }
    return static_cast<int>(std::min(largeStep(xScale, minPixels),
                                     double(std::numeric_limits<int>::max())));
}

double ChartLayout::yStep(double yScale, double minPixels)
{
    if (!isUsableScale(yScale))
        return 0;
    for (double step : kYSteps) {
        if (step * yScale >= minPixels)
            return step;
    }
    return largeStep(yScale, minPixels);
}

int ChartLayout::pixelOffset(double xScale, int k)
{
    return toPixel(k * xScale + 0.5);
}


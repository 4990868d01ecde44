#include "chartline.h"
#include "chartpointsource.h"

#include <algorithm>

ChartLine::ChartLine(DMMChart *chart, const QColor &color) : color(color), chart(chart) {}

ChartLine::~ChartLine() = default;

void ChartLine::append(double value)
{
    ownValues.append(value);
}

void ChartLine::clear()
{
    ownValues.clear();
    visibleCount = 0;
}

int ChartLine::count() const
{
    return values().count();
}

const ValueColumn &ChartLine::values() const
{
    return source ? source->values() : ownValues;
}

ChartPoint ChartLine::at(int index) const
{
    ChartPoint point;
    point.value = values().at(index);
    if (source) {
        point.time = source->time(index);
        point.label = source->label(index);
    }
    return point;
}

void ChartLine::setPointSource(const ChartPointSource *source)
{
    this->source = source;
}

const ChartPointSource *ChartLine::pointSource() const
{
    return source;
}

QColor ChartLine::penColor() const
{
    return color;
}

DMMChart *ChartLine::owner() const
{
    return chart;
}

void ChartLine::measureRange(int firstIndex, int lastIndex)
{
    const ValueColumn::Extremes extremes = values().extremes(firstIndex, lastIndex);
    minValue = 0;
    maxValue = 0;
    if (!extremes.isEmpty()) {
        minValue = std::min(minValue, extremes.min);
        maxValue = std::max(maxValue, extremes.max);
    }
}

double ChartLine::visibleMinimum() const
{
    return minValue;
}

double ChartLine::visibleMaximum() const
{
    return maxValue;
}

void ChartLine::placePoints(double xScale, double yScale, int firstIndex, int lastIndex, const TimeMapping &time)
{
    this->time = time;
    this->xScale = xScale;
    this->yScale = yScale;
    visibleCount = std::max(lastIndex - firstIndex + 1, 0);
}

PixelOffsets ChartLine::offsets() const
{
    return PixelOffsets{xScale, visibleCount, time};
}

const TimeMapping &ChartLine::timeMapping() const
{
    return time;
}

double ChartLine::horizontalScale() const
{
    return xScale;
}

double ChartLine::verticalScale() const
{
    return yScale;
}

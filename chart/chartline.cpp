#include "chartline.h"
#include "chartlayout.h"
#include "chartpoint.h"

#include <algorithm>
#include <cmath>

ChartLine::ChartLine(DMMChart *chart, const QColor &color) : color(color), chart(chart) {}

ChartLine::~ChartLine()
{
    qDeleteAll(points);
}

void ChartLine::append(ChartPoint *point)
{
    points.append(point);
}

void ChartLine::clear()
{
    qDeleteAll(points);
    points.clear();
    pixelX.clear();
}

int ChartLine::count() const
{
    return points.size();
}

const ChartPoint *ChartLine::at(int index) const
{
    return points.at(index);
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
    minValue = 0;
    maxValue = 0;
    const int last = std::min(lastIndex, points.size() - 1);
    for (int i = std::max(firstIndex, 0); i <= last; ++i) {
        const double value = points.at(i)->value;
        if (!std::isfinite(value))
            continue;
        maxValue = std::max(maxValue, value);
        minValue = std::min(minValue, value);
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

void ChartLine::placePoints(double xScale, double yScale, int firstIndex, int lastIndex)
{
    this->xScale = xScale;
    this->yScale = yScale;
    pixelX = ChartLayout::pixelOffsets(xScale, lastIndex - firstIndex + 1);
}

const QVector<int> &ChartLine::offsets() const
{
    return pixelX;
}

double ChartLine::horizontalScale() const
{
    return xScale;
}

double ChartLine::verticalScale() const
{
    return yScale;
}

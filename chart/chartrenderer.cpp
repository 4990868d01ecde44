#include "chartrenderer.h"
#include "chartlabel.h"
#include "chartline.h"
#include "chartpoint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTickLengthPixels = 5;
constexpr int kTimeLabelOffsetPixels = 7;  // below the plot's bottom edge
constexpr int kLabelGapPixels = 2;         // between a label and its tick or line
constexpr double kTitleRotationDegrees = -90.0;

// The room kept for value labels left of the axis, in characters.
QString valueLabelRoom()
{
    return QStringLiteral("000.0k ");
}

QPen dottedPen()
{
    return QPen(Qt::black, 1, Qt::DotLine);
}

} // namespace

ChartRenderer::ChartRenderer(const QRect &plotRect, const ChartLayout &layout, int firstIndex,
                             int lastIndex)
    : plotRect(plotRect), layout(layout), firstIndex(firstIndex), lastIndex(lastIndex)
{
}

void ChartRenderer::drawAxes(QPainter &painter, const ChartLine *timeLine, const Axes &axes) const
{
    const int left = plotRect.left();
    const int top = plotRect.top();
    const int right = plotRect.right();
    const int bottom = plotRect.bottom();
    const QFontMetrics metrics = painter.fontMetrics();
    const int textHeight = metrics.height();

    painter.setPen(QPen());
    painter.drawLine(left - 1, bottom + 1, right + 1, bottom + 1);

    QVector<int> tickX(layout.xTickCount);
    for (int i = 0; i < tickX.size(); ++i)
        tickX[i] = ChartLayout::toPixel(i * layout.xTickPixels + left + 0.5);
    for (int x : tickX)
        painter.drawLine(x, bottom, x, bottom + kTickLengthPixels);
    painter.setPen(dottedPen());
    for (int x : tickX)
        painter.drawLine(x, top, x, bottom);
    painter.setPen(QPen());

    if (timeLine) {
        for (int i = 0; i < tickX.size(); ++i) {
            const qint64 index = firstIndex + qint64(i) * layout.pointsPerXTick;
            if (index >= timeLine->count())
                break;
            const QString text = ChartLabel::time(timeLine->at(int(index))->time);
            const int width = metrics.horizontalAdvance(text);
            painter.drawText(QRect(tickX[i] - width / 2, bottom + kTimeLabelOffsetPixels, width,
                                   textHeight),
                             Qt::AlignCenter, text);
        }
    }

    painter.drawLine(axes.leftMargin - 1, axes.topMargin - 1, axes.leftMargin - 1, bottom + 1);
    drawValueTicks(painter, -1, 0, layout.yTicksAbove, axes.labelDecimals);
    // The upward pass has drawn the zero level; drawing its antialiased
    // label a second time would make it look bold.
    drawValueTicks(painter, +1, 1, layout.yTicksBelow, axes.labelDecimals);

    // The value title reads bottom to top, centred on the plot's middle
    // and on the band left of the value labels.
    const int roomWidth = metrics.horizontalAdvance(valueLabelRoom());
    const int yTitleWidth = metrics.horizontalAdvance(axes.yTitle);
    painter.save();
    painter.translate((axes.leftMargin - roomWidth) / 2 - textHeight / 2,
                      yTitleWidth / 2 + plotRect.height() / 2 + top);
    painter.rotate(kTitleRotationDegrees);
    painter.drawText(QRect(0, 0, yTitleWidth, textHeight), Qt::AlignCenter, axes.yTitle);
    painter.restore();

    // The time title is centred under the plot, below the time labels.
    const int xTitleWidth = metrics.horizontalAdvance(axes.xTitle);
    painter.drawText(QRect(left + plotRect.width() / 2 - xTitleWidth / 2,
                           bottom + textHeight + (axes.bottomMargin - textHeight) / 2, xTitleWidth,
                           textHeight),
                     Qt::AlignCenter, axes.xTitle);
}

void ChartRenderer::drawValueTicks(QPainter &painter, int direction, int firstStep, int lastStep,
                                   int decimals) const
{
    const int left = plotRect.left();
    const int zero = layout.zeroLevel(plotRect.top());

    QVector<int> tickY;
    QVector<double> tickValue;
    for (int j = firstStep; j <= lastStep; ++j) {
        tickY.append(ChartLayout::toPixel(zero + direction * j * layout.yTickPixels));
        // Upward ticks carry positive values, downward ones negative.
        tickValue.append(-direction * j * layout.yTickValue);
    }

    painter.setPen(QPen());
    for (int y : tickY)
        painter.drawLine(left, y, left - kTickLengthPixels, y);
    painter.setPen(dottedPen());
    for (int y : tickY)
        painter.drawLine(left, y, left + plotRect.width(), y);
    painter.setPen(QPen());

    const QFontMetrics metrics = painter.fontMetrics();
    const int textHeight = metrics.height();
    for (int j = 0; j < tickY.size(); ++j) {
        const QString text = ChartLabel::value(tickValue[j], decimals);
        const int width = metrics.horizontalAdvance(text);
        painter.drawText(QRect(left - kTickLengthPixels - width - kLabelGapPixels,
                               tickY[j] - textHeight / 2, width, textHeight),
                         Qt::AlignCenter, text);
    }
}

void ChartRenderer::drawLine(QPainter &painter, const ChartLine &line) const
{
    const int first = std::max(firstIndex, 0);
    const int last = std::min(lastIndex, line.count() - 1);
    if (last < first)
        return;

    painter.setPen(QPen(line.penColor()));
    const double zero = layout.zeroLevel(plotRect.top());
    const double xScale = line.horizontalScale();
    const double yScale = line.verticalScale();
    const int left = plotRect.left();

    QPolygon run;
    run.reserve(last - first + 1);
    for (int i = first; i <= last; ++i) {
        const double value = line.at(i)->value;
        if (!std::isfinite(value)) {
            painter.drawPolyline(run);
            run.clear();
            continue;
        }
        run.append(QPoint(ChartLayout::toPixel(left + (i - firstIndex) * xScale),
                          ChartLayout::toPixel(zero - yScale * value)));
    }
    painter.drawPolyline(run);
}

void ChartRenderer::drawSelection(QPainter &painter, const QPoint &press, const QPoint &drag) const
{
    const QPoint origin = plotRect.topLeft();
    const QPolygon frame({origin + press, origin + QPoint(drag.x(), press.y()), origin + drag,
                          origin + QPoint(press.x(), drag.y())});
    painter.setPen(dottedPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(frame);
}

void ChartRenderer::drawIndicator(QPainter &painter, const ChartLine &line, int index,
                                  const QColor &color) const
{
    const QVector<int> &offsets = line.offsets();
    if (index < 0 || index >= offsets.size())
        return;

    const int x = plotRect.left() + offsets.at(index);
    painter.setPen(QPen(color));
    painter.drawLine(x, plotRect.top(), x, plotRect.bottom());

    const int pointIndex = firstIndex + index;
    if (pointIndex >= line.count())
        return;
    const QString text = line.at(pointIndex)->label.toString();
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    // Near the right edge the label goes left of the line to stay readable.
    const int labelLeft = x + width + kLabelGapPixels < plotRect.right()
                              ? x + kLabelGapPixels
                              : x - width - kLabelGapPixels;
    painter.drawText(QRect(labelLeft, plotRect.top() - height, width, height), Qt::AlignCenter,
                     text);
}

#include "chartrenderer.h"
#include "chartlabel.h"
#include "chartline.h"
#include "chartpointsource.h"
#include "chartpolyline.h"
#include "charttext.h"
#include "charttimeline.h"
#include "charttimeticks.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>


namespace {

constexpr int kTickLengthPixels = 5;
constexpr int kTimeLabelOffsetPixels = 7;  // below the plot's bottom edge
constexpr int kLabelGapPixels = 2;         // between a label and its tick or line
constexpr double kTitleRotationDegrees = -90.0;
constexpr double kMinTimeTickPixels = 80.0;
constexpr int kDotRadiusPixels = 1; // a lone reading is a 3 x 3 dot
constexpr int kReadoutInsetPixels = 4; // between the plot's corner and the read-out
const QColor kGapColor(0, 0, 0, 24);
const QColor kCursorColors[2] = {QColor(0, 140, 60), QColor(200, 0, 160)};

// The room kept for value labels left of the axis, in characters.
QString valueLabelRoom()
{
    return QStringLiteral("000.0k ");
}


void clipToDevice(QPainter &painter)
{
    painter.setClipRect(QRect(0, 0, painter.device()->width(), painter.device()->height()));
}

} // namespace

ChartRenderer::ChartRenderer(const QRect &plotRect, const ChartLayout &layout, int firstIndex,
                             int lastIndex, Stamps &stamps)
    : plotRect(plotRect), layout(layout), firstIndex(firstIndex), lastIndex(lastIndex), stamps(&stamps)
{
}

bool ChartRenderer::Axes::operator==(const Axes &other) const
{
    return leftMargin == other.leftMargin && topMargin == other.topMargin && bottomMargin == other.bottomMargin
        && labelDecimals == other.labelDecimals && xTitle == other.xTitle && yTitle == other.yTitle
        && font == other.font;
}

bool ChartRenderer::ValueTicks::operator==(const ValueTicks &other) const
{
    return y == other.y && labels == other.labels;
}

bool ChartRenderer::AxesPicture::operator==(const AxesPicture &other) const
{
    return plotRect == other.plotRect && axes == other.axes && timeTickX == other.timeTickX
        && timeLabels == other.timeLabels && dateLabels == other.dateLabels && gaps == other.gaps
        && gapLabels == other.gapLabels && upward == other.upward && downward == other.downward;
}

bool ChartRenderer::AxesPicture::operator!=(const AxesPicture &other) const
{
    return !(*this == other);
}

ChartRenderer::AxesPicture ChartRenderer::axesPicture(const ChartLine *timeLine, const Axes &axes,
                                                      const ChartTimeline *timeline) const
{
    AxesPicture picture;
    picture.plotRect = plotRect;
    picture.axes = axes;
    if (timeLine && timeLine->timeMapping().isActive()) {
        const TimeMapping &time = timeLine->timeMapping();
        const ChartTimeTicks::Ticks ticks =
            ChartTimeTicks::compute(time.startMs, time.msScale, plotRect.width(), kMinTimeTickPixels);
        for (int x : ticks.x)
            picture.timeTickX.append(plotRect.left() + x);
        picture.timeLabels = ticks.times;
        picture.dateLabels = ticks.dates;
        if (timeline) {
            const PixelOffsets offsets = timeLine->offsets();
            for (int index : timeline->breaksIn(firstIndex, lastIndex)) {
                if (!timeline->isGap(*time.source, index))
                    continue;
                const int k = index - firstIndex;
                const int from = plotRect.left() + offsets.at(k - 1);
                const int to = plotRect.left() + offsets.at(k);
                picture.gaps.append(QRect(from, plotRect.top(), std::max(to - from, 1), plotRect.height()));
                picture.gapLabels << ChartTimeTicks::duration(time.source->timeMs(index)
                                                              - time.source->timeMs(index - 1));
            }
        }
    } else {
        for (int i = 0; i < layout.xTickCount; ++i)
            picture.timeTickX.append(ChartLayout::toPixel(i * layout.xTickPixels + plotRect.left() + 0.5));
    }
    if (timeLine && timeLine->pointSource() && !timeLine->timeMapping().isActive()) {
        for (int i = 0; i < picture.timeTickX.size(); ++i) {
            const qint64 index = firstIndex + qint64(i) * layout.pointsPerXTick;
            if (index >= timeLine->count())
                break;
            picture.timeLabels << ChartLabel::time(timeLine->pointSource()->time(int(index)));
        }
    }
    picture.upward = valueTicks(-1, layout.yFirstAbove, layout.yTicksAbove, axes.labelDecimals);
    // The upward pass has the zero level; drawing its antialiased label a
    // second time would make it look bold.
    picture.downward = valueTicks(+1, layout.yFirstBelow, layout.yTicksBelow, axes.labelDecimals);
    return picture;
}

ChartRenderer::ValueTicks ChartRenderer::valueTicks(int direction, int firstStep, int lastStep, int decimals) const
{
    const int zero = layout.zeroLevel(plotRect.top());
    ValueTicks ticks;
    for (int j = firstStep; j <= lastStep; ++j) {
        ticks.y.append(ChartLayout::toPixel(zero + direction * j * layout.yTickPixels));
        // Upward ticks carry positive values, downward ones negative.
        ticks.labels << ChartLabel::value(-direction * j * layout.yTickValue, decimals);
    }
    return ticks;
}

void ChartRenderer::drawAxes(QPainter &painter, const AxesPicture &picture, Stamps &stamps)
{
    ChartText &text = stamps.text;
    const QRect &plotRect = picture.plotRect;
    const Axes &axes = picture.axes;
    const int left = plotRect.left();
    const int top = plotRect.top();
    const int right = plotRect.right();
    const int bottom = plotRect.bottom();
    painter.setFont(axes.font);
    // See drawLine: the clip lets the pen write pixels directly.
    clipToDevice(painter);
    const int textHeight = painter.fontMetrics().height();

    for (int i = 0; i < picture.gaps.size(); ++i) {
        const QRect &gap = picture.gaps.at(i);
        painter.fillRect(gap, kGapColor);
        const QString &label = picture.gapLabels.at(i);
        if (text.width(painter, label) + 2 * kLabelGapPixels <= gap.width()) {
            painter.setPen(QPen(Qt::darkGray));
            text.draw(painter, gap.adjusted(0, 0, 0, -plotRect.height() / 2), Qt::AlignCenter, label);
        }
    }

    painter.setPen(QPen());
    painter.drawLine(left - 1, bottom + 1, right + 1, bottom + 1);

    for (int x : picture.timeTickX)
        painter.drawLine(x, bottom, x, bottom + kTickLengthPixels);
    for (int x : picture.timeTickX)
        stamps.grid.vertical(painter, x, top, bottom);

    for (int i = 0; i < picture.timeLabels.size(); ++i) {
        const QString &label = picture.timeLabels.at(i);
        const int width = text.width(painter, label);
        text.draw(painter,
                  QRect(picture.timeTickX.at(i) - width / 2, bottom + kTimeLabelOffsetPixels, width, textHeight),
                  Qt::AlignCenter, label);
        const QString date = picture.dateLabels.value(i);
        if (!date.isEmpty()) {
            const int dateWidth = text.width(painter, date);
            text.draw(painter,
                      QRect(picture.timeTickX.at(i) - dateWidth / 2, bottom + kTimeLabelOffsetPixels + textHeight,
                            dateWidth, textHeight),
                      Qt::AlignCenter, date);
        }
    }

    painter.drawLine(axes.leftMargin - 1, axes.topMargin - 1, axes.leftMargin - 1, bottom + 1);
    drawValueTicks(painter, plotRect, picture.upward, stamps);
    drawValueTicks(painter, plotRect, picture.downward, stamps);

    // The value title reads bottom to top, centred on the plot's middle
    // and on the band left of the value labels.
    const int roomWidth = text.width(painter, valueLabelRoom());
    const int yTitleWidth = text.width(painter, axes.yTitle);
    painter.save();
    painter.translate((axes.leftMargin - roomWidth) / 2 - textHeight / 2,
                      yTitleWidth / 2 + plotRect.height() / 2 + top);
    painter.rotate(kTitleRotationDegrees);
    text.draw(painter, QRect(0, 0, yTitleWidth, textHeight), Qt::AlignCenter, axes.yTitle);
    painter.restore();

    // The time title is centred under the plot, below the time labels.
    const int xTitleWidth = text.width(painter, axes.xTitle);
    text.draw(painter,
              QRect(left + plotRect.width() / 2 - xTitleWidth / 2,
                    bottom + textHeight + (axes.bottomMargin - textHeight) / 2, xTitleWidth, textHeight),
              Qt::AlignCenter, axes.xTitle);
}

void ChartRenderer::drawValueTicks(QPainter &painter, const QRect &plotRect, const ValueTicks &ticks,
                                   Stamps &stamps)
{
    const int left = plotRect.left();
    painter.setPen(QPen());
    for (int y : ticks.y)
        painter.drawLine(left, y, left - kTickLengthPixels, y);
    for (int y : ticks.y)
        stamps.grid.horizontal(painter, left, left + plotRect.width(), y);

    const int textHeight = painter.fontMetrics().height();
    for (int j = 0; j < ticks.y.size(); ++j) {
        const QString &label = ticks.labels.at(j);
        const int width = stamps.text.width(painter, label);
        stamps.text.draw(painter,
                  QRect(left - kTickLengthPixels - width - kLabelGapPixels, ticks.y.at(j) - textHeight / 2, width,
                        textHeight),
                  Qt::AlignCenter, label);
    }
}

void ChartRenderer::drawLine(QPainter &painter, const ChartLine &line, const ChartTimeline *timeline) const
{
    ChartPolyline::Mapping mapping;
    mapping.left = plotRect.left();
    mapping.xScale = line.horizontalScale();
    mapping.zero = layout.zeroLevel(plotRect.top());
    mapping.yScale = line.verticalScale();
    mapping.time = line.timeMapping();
    mapping.topRow = plotRect.top() - 1;
    mapping.bottomRow = plotRect.bottom() + 1;
    painter.save();
    painter.setPen(QPen(line.penColor()));
    // With a clip the raster engine writes the pen's pixels directly rather
    // than through its span blending, which is many times faster for many
    // short strokes; the clip is the whole device, so no pixel changes.
    clipToDevice(painter);
    const QVector<QPolygon> runs = ChartPolyline::runs(line.values(), firstIndex, lastIndex, mapping,
                                                       mapping.time.isActive() ? timeline : nullptr);
    for (const QPolygon &run : runs) {
        if (run.size() == 1)
            painter.fillRect(QRect(run.first() - QPoint(kDotRadiusPixels, kDotRadiusPixels),
                                   QSize(2 * kDotRadiusPixels + 1, 2 * kDotRadiusPixels + 1)),
                             line.penColor());
        else
            painter.drawPolyline(run);
    }
    painter.restore();
}

void ChartRenderer::drawSelection(QPainter &painter, const QPoint &press, const QPoint &drag) const
{
    const QPoint origin = plotRect.topLeft();
    const QPolygon frame({origin + press, origin + QPoint(drag.x(), press.y()), origin + drag,
                          origin + QPoint(press.x(), drag.y())});
    painter.setPen(ChartGridLines::pen());
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(frame);
}

void ChartRenderer::drawIndicator(QPainter &painter, const ChartLine &line, int index,
                                  const QColor &color) const
{
    const PixelOffsets offsets = line.offsets();
    if (index < 0 || index >= offsets.size())
        return;

    const int x = plotRect.left() + offsets.at(index);
    painter.setPen(QPen(color));
    painter.drawLine(x, plotRect.top(), x, plotRect.bottom());

    const int pointIndex = firstIndex + index;
    if (pointIndex >= line.count() || !line.pointSource())
        return;
    const QString label = line.pointSource()->label(pointIndex);
    const int width = stamps->text.width(painter, label);
    const int height = painter.fontMetrics().height();
    // Near the right edge the label goes left of the line to stay readable.
    const int labelLeft = x + width + kLabelGapPixels < plotRect.right()
                              ? x + kLabelGapPixels
                              : x - width - kLabelGapPixels;
    stamps->text.draw(painter, QRect(labelLeft, plotRect.top() - height, width, height), Qt::AlignCenter, label);
}

void ChartRenderer::drawCursors(QPainter &painter, const ChartLine &line, const int (&cursors)[2]) const
{
    const PixelOffsets offsets = line.offsets();
    const QFontMetrics metrics = painter.fontMetrics();
    for (int c = 0; c < 2; ++c) {
        const int k = cursors[c] - firstIndex;
        if (cursors[c] < 0 || k < 0 || k >= offsets.size())
            continue;
        const int x = plotRect.left() + offsets.at(k);
        painter.setPen(QPen(kCursorColors[c], 1, Qt::DashLine));
        painter.drawLine(x, plotRect.top(), x, plotRect.bottom());
        const QString number = QString::number(c + 1);
        painter.setPen(QPen(kCursorColors[c]));
        stamps->text.draw(painter,
                   QRect(x + kLabelGapPixels, plotRect.bottom() - metrics.height(), stamps->text.width(painter, number),
                         metrics.height()),
                   Qt::AlignCenter, number);
    }
}

void ChartRenderer::drawReadout(QPainter &painter, const QImage &box) const
{
    if (!box.isNull())
        painter.drawImage(plotRect.topLeft() + QPoint(kReadoutInsetPixels, kReadoutInsetPixels), box);
}

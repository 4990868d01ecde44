#include "chartgridlines.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace {

// A plot of the chart's sizes has a few lengths at a time; resizing leaves
// old ones behind, and beyond this many the strips start again.
constexpr int kMaxStrips = 64;

// Stamping gives the pen's pixels where the painter draws at whole pixels.
bool stampsExactly(const QPainter &painter)
{
    const QTransform &transform = painter.deviceTransform();
    return transform.type() <= QTransform::TxTranslate && transform.dx() == std::floor(transform.dx())
        && transform.dy() == std::floor(transform.dy());
}

} // namespace

QPen ChartGridLines::pen()
{
    return QPen(Qt::black, 1, Qt::DotLine);
}

const QImage &ChartGridLines::strip(QHash<int, QImage> &strips, int length, bool across)
{
    const auto found = strips.constFind(length);
    if (found != strips.constEnd())
        return *found;
    if (strips.size() >= kMaxStrips)
        strips.clear();
    QImage image(across ? QSize(length + 1, 1) : QSize(1, length + 1), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // As the chart draws: a clip lets the raster engine set the pen's
    // pixels directly, which changes none of them.
    painter.setClipRect(image.rect());
    painter.setPen(pen());
    painter.drawLine(QPoint(0, 0), across ? QPoint(length, 0) : QPoint(0, length));
    painter.end();
    return *strips.insert(length, image);
}

void ChartGridLines::horizontal(QPainter &painter, int x1, int x2, int y)
{
    stamp(painter, QPoint(x1, y), x2 - x1, true);
}

void ChartGridLines::vertical(QPainter &painter, int x, int y1, int y2)
{
    stamp(painter, QPoint(x, y1), y2 - y1, false);
}

void ChartGridLines::stamp(QPainter &painter, const QPoint &start, int length, bool across)
{
    if (!stampsExactly(painter) || length < 0) {
        painter.save();
        painter.setPen(pen());
        painter.drawLine(start, start + (across ? QPoint(length, 0) : QPoint(0, length)));
        painter.restore();
        return;
    }
    painter.drawImage(start, strip(across ? rows : columns, length, across));
}

#include "chartreadoutbox.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kPaddingPixels = 4;
// See-through, so the line under the box stays in sight.
const QColor kBoxColor(255, 255, 255, 150);

} // namespace

const QImage &ChartReadoutBox::image(const QStringList &lines, const QFont &font)
{
    if (lines == boxLines && font == boxFont)
        return box;
    boxLines = lines;
    boxFont = font;
    if (lines.isEmpty()) {
        box = QImage();
        return box;
    }

    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QSize size(width + 2 * kPaddingPixels, lines.size() * metrics.height() + 2 * kPaddingPixels);
    // A moving cursor changes the numbers, seldom the box's size: its
    // memory is kept.
    if (box.size() != size)
        box = QImage(size, QImage::Format_ARGB32_Premultiplied);
    box.fill(kBoxColor);
    QPainter painter(&box);
    painter.setFont(font);
    painter.setPen(QPen(Qt::gray));
    painter.drawRect(box.rect().adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::black));
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(kPaddingPixels, kPaddingPixels + i * metrics.height(), width, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, lines.at(i));
    return box;
}

#include "charttext.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace {

// Labels of a live chart keep changing (times, indicator labels); beyond
// this many texts a cache starts again rather than grow.
constexpr int kMaxTexts = 512;
// Room around a text's rectangle for glyphs that reach beyond their
// advance (drawText does not clip a text that fits).
constexpr int kOverhangPixels = 3;

// An image drawn at whole pixels of the painter's device, at the font
// size of the device's resolution, gives the text's own pixels.
bool blendsExactly(QPainter &painter)
{
    static const int imageDpi = QImage(1, 1, QImage::Format_ARGB32_Premultiplied).logicalDpiY();
    const QTransform &transform = painter.deviceTransform();
    return transform.type() <= QTransform::TxTranslate && transform.dx() == std::floor(transform.dx())
        && transform.dy() == std::floor(transform.dy()) && painter.device()->logicalDpiY() == imageDpi;
}

} // namespace

bool ChartText::Key::operator==(const Key &other) const
{
    return text == other.text && size == other.size && alignment == other.alignment && color == other.color;
}

uint qHash(const ChartText::Key &key, uint seed)
{
    return qHash(key.text, seed) ^ qHash(key.size.width() * 4099 + key.size.height(), seed)
        ^ qHash(key.alignment * 31 + int(key.color), seed);
}

void ChartText::follow(QPainter &painter)
{
    if (painter.font() == font)
        return;
    widths.clear();
    images.clear();
    font = painter.font();
}

int ChartText::width(QPainter &painter, const QString &text)
{
    follow(painter);
    const auto found = widths.constFind(text);
    if (found != widths.constEnd())
        return *found;
    if (widths.size() >= kMaxTexts)
        widths.clear();
    return *widths.insert(text, painter.fontMetrics().horizontalAdvance(text));
}

void ChartText::draw(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text)
{
    // A text wider or taller than its rectangle is cut at it, and drawn at
    // a place whose rounding the image would not repeat: it goes directly.
    if (!blendsExactly(painter) || width(painter, text) > rect.width()
        || painter.fontMetrics().height() > rect.height()) {
        painter.drawText(rect, int(alignment), text);
        return;
    }
    const Key key{text, rect.size(), int(alignment), painter.pen().color().rgba()};
    auto found = images.constFind(key);
    if (found == images.constEnd()) {
        if (images.size() >= kMaxTexts)
            images.clear();
        QImage image(rect.size() + QSize(2 * kOverhangPixels, 2 * kOverhangPixels),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        imagePainter.setFont(font);
        imagePainter.setPen(painter.pen());
        imagePainter.drawText(QRect(QPoint(kOverhangPixels, kOverhangPixels), rect.size()), int(alignment), text);
        imagePainter.end();
        found = images.insert(key, image);
    }
    painter.drawImage(rect.topLeft() - QPoint(kOverhangPixels, kOverhangPixels), *found);
}

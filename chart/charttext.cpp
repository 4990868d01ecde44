#include "charttext.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <cmath>
#include <optional>

namespace {

// Labels of a live chart keep changing (times, indicator labels); beyond
// this many texts a cache starts again rather than grow.
constexpr int kMaxTexts = 512;
// Room around a text's rectangle for glyphs that reach beyond their
// advance (drawText does not clip a text that fits).
constexpr int kOverhangPixels = 3;

// The painter's rotation when it turns by quarter turns and moves by whole
// pixels: then an image drawn with the same rotation, at the font size of
// the device's resolution, gives the text's own pixels. Null otherwise.
std::optional<QTransform> quarterTurn(QPainter &painter)
{
    static const int imageDpi = QImage(1, 1, QImage::Format_ARGB32_Premultiplied).logicalDpiY();
    const QTransform &transform = painter.deviceTransform();
    const auto unitOrZero = [](qreal m) { return m == 0 || m == 1 || m == -1; };
    if (transform.type() > QTransform::TxRotate || !unitOrZero(transform.m11()) || !unitOrZero(transform.m12())
        || !unitOrZero(transform.m21()) || !unitOrZero(transform.m22())
        || transform.dx() != std::floor(transform.dx()) || transform.dy() != std::floor(transform.dy())
        || painter.device()->logicalDpiY() != imageDpi)
        return std::nullopt;
    return QTransform(transform.m11(), transform.m12(), transform.m21(), transform.m22(), 0, 0);
}

} // namespace

bool ChartText::Key::operator==(const Key &other) const
{
    return text == other.text && size == other.size && alignment == other.alignment && color == other.color
        && cosine == other.cosine && sine == other.sine;
}

uint qHash(const ChartText::Key &key, uint seed)
{
    return qHash(key.text, seed) ^ qHash(key.size.width() * 4099 + key.size.height(), seed)
        ^ qHash(key.alignment * 31 + int(key.color) + int(key.cosine) * 7 + int(key.sine) * 3, seed);
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
    const std::optional<QTransform> turn = quarterTurn(painter);
    if (!turn || width(painter, text) > rect.width() || painter.fontMetrics().height() > rect.height()) {
        painter.drawText(rect, int(alignment), text);
        return;
    }
    // The rectangle with room for overhangs, relative to its corner, and
    // where the turn puts it.
    const QRectF padded(-kOverhangPixels, -kOverhangPixels, rect.width() + 2 * kOverhangPixels,
                        rect.height() + 2 * kOverhangPixels);
    const QRect turned = turn->mapRect(padded).toAlignedRect();
    const Key key{text, rect.size(), int(alignment), painter.pen().color().rgba(), turn->m11(), turn->m12()};
    auto found = images.constFind(key);
    if (found == images.constEnd()) {
        if (images.size() >= kMaxTexts)
            images.clear();
        QImage image(turned.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        imagePainter.setTransform(*turn * QTransform::fromTranslate(-turned.left(), -turned.top()));
        imagePainter.setFont(font);
        imagePainter.setPen(painter.pen());
        imagePainter.drawText(QRect(QPoint(0, 0), rect.size()), int(alignment), text);
        imagePainter.end();
        found = images.insert(key, image);
    }
    // Stamped in device pixels, unturned.
    const QPointF corner = painter.deviceTransform().map(QPointF(rect.topLeft())) + turned.topLeft();
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.drawImage(painter.deviceTransform().inverted().map(corner), *found);
    painter.restore();
}

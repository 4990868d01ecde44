#ifndef CHARTTEXT_H
#define CHARTTEXT_H

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

class QPainter;
class QRect;

// The chart's texts, each drawn once into an image of its own and blended
// from there after. Laying a text out and drawing its glyphs one by one
// costs several times more than blending one small image, and the labels
// and titles mostly come back unchanged from paint to paint. The image is
// the text as QPainter::drawText puts it in the same rectangle, so only
// the rounding of the blend can differ, by a few levels of a colour. A
// painter turned by quarter turns (the value title) gets a turned image.
class ChartText
{
public:
    // As QFontMetrics::horizontalAdvance with the painter's font.
    int width(QPainter &painter, const QString &text);
    // As QPainter::drawText(rect, alignment, text), in the painter's pen.
    void draw(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text);

    struct Key
    {
        QString text;
        QSize size;
        int alignment;
        QRgb color;
        qreal cosine; // of the painter's quarter turn
        qreal sine;

        bool operator==(const Key &other) const;
    };

private:
    // Forgets every text when the painter's font differs from the last one.
    void follow(QPainter &painter);

    QHash<QString, int> widths;
    QHash<Key, QImage> images;
    QFont font;
};

uint qHash(const ChartText::Key &key, uint seed = 0);

#endif // CHARTTEXT_H

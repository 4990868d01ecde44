#ifndef CHARTTEXT_H
#define CHARTTEXT_H

#include <QFont>
#include <QString>

#include <memory>
#include <unordered_map>

class QPainter;
class QRect;
class QTextLayout;

// The chart's texts, each laid out once and drawn from its layout after.
// Laying a text out (shaping its glyphs) costs about twice as much as
// drawing them, and the labels, titles and read-out lines mostly come back
// unchanged from paint to paint. A text is drawn with the same pixels as
// QPainter::drawText gives for the same rectangle and alignment.
class ChartText
{
public:
    ChartText();
    ~ChartText();

    // As QFontMetrics::horizontalAdvance with the painter's font and device.
    int width(QPainter &painter, const QString &text);
    // As QPainter::drawText(rect, alignment, text).
    void draw(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text);

private:
    struct Laid
    {
        std::unique_ptr<QTextLayout> layout;
        int width = 0;
    };

    // Forgets every layout when the painter's font or resolution changed.
    void follow(QPainter &painter);
    const Laid &laid(QPainter &painter, const QString &text);

    std::unordered_map<QString, Laid> texts;
    QFont font;
    int dpi = 0;
};

#endif // CHARTTEXT_H

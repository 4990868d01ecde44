#include "charttext.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace {

// Labels of a live chart keep changing (times, read-out values); beyond
// this many texts the cache starts again rather than grow.
constexpr int kMaxTexts = 512;
// Wide enough for any line the chart draws: the layout must not wrap.
constexpr qreal kUnwrappedWidth = 1e6;

} // namespace

ChartText::ChartText() = default;

ChartText::~ChartText() = default;

void ChartText::follow(QPainter &painter)
{
    const int deviceDpi = painter.device()->logicalDpiY();
    if (painter.font() == font && deviceDpi == dpi)
        return;
    texts.clear();
    font = painter.font();
    dpi = deviceDpi;
}

const ChartText::Laid &ChartText::laid(QPainter &painter, const QString &text)
{
    follow(painter);
    const auto found = texts.find(text);
    if (found != texts.end())
        return found->second;
    if (texts.size() >= kMaxTexts)
        texts.clear();
    Laid entry;
    entry.layout = std::make_unique<QTextLayout>(text, font, painter.device());
    entry.layout->setCacheEnabled(true);
    entry.layout->beginLayout();
    entry.layout->createLine().setLineWidth(kUnwrappedWidth);
    entry.layout->endLayout();
    entry.width = painter.fontMetrics().horizontalAdvance(text);
    return texts.emplace(text, std::move(entry)).first->second;
}

int ChartText::width(QPainter &painter, const QString &text)
{
    return laid(painter, text).width;
}

void ChartText::draw(QPainter &painter, const QRect &rect, Qt::Alignment alignment, const QString &text)
{
    // What the chart draws: one line, left or centred, top or middle.
    // Anything else goes the long way.
    if (text.contains(QLatin1Char('\n')) || (alignment & (Qt::AlignRight | Qt::AlignBottom | Qt::AlignJustify))) {
        painter.drawText(rect, int(alignment), text);
        return;
    }
    const QTextLayout &layout = *laid(painter, text).layout;
    const QTextLine line = layout.lineAt(0);
    // The offsets and the clip are drawText's own for one line: the bounds
    // take the text's natural width, the drawing its advance.
    const bool centred = alignment & Qt::AlignHCenter;
    const qreal boundsX = centred ? (rect.width() - line.naturalTextWidth()) / 2 : 0;
    const qreal drawX = centred ? (rect.width() - line.horizontalAdvance()) / 2 : 0;
    const qreal y = alignment & Qt::AlignVCenter ? (rect.height() - line.height()) / 2 : 0;
    const QRectF bounds(rect.x() + boundsX, rect.y() + y, line.naturalTextWidth(), line.height());
    const bool clipped = !QRectF(rect).contains(bounds);
    if (clipped) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    layout.draw(&painter, QPointF(rect.x() + drawX, rect.y() + y));
    if (clipped)
        painter.restore();
}

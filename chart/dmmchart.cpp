#include "dmmchart.h"
#include "chartline.h"
#include "chartpicker.h"
#include "chartpoint.h"
#include "chartpointstore.h"
#include "chartrenderer.h"

#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kDefaultLeftMarginPx = 60;
constexpr int kDefaultRightMarginPx = 20;
constexpr int kDefaultTopMarginPx = 40; // holds the indicator label
constexpr int kDefaultBottomMarginPx = 40;
constexpr int kIndicatorTimeoutMs = 6000;
constexpr int kDefaultLabelDecimals = 2;
// More decimals than a double can show would only print noise.
constexpr int kMaxLabelDecimals = 15;

const QColor kLineColor(250, 150, 0);
const QColor kIndicatorColor(0, 100, 250);

} // namespace

DMMChart::DMMChart(QWidget *parent)
    : QFrame(parent),
      leftMargin(kDefaultLeftMarginPx),
      rightMargin(kDefaultRightMarginPx),
      topMargin(kDefaultTopMarginPx),
      bottomMargin(kDefaultBottomMarginPx),
      indicatorTimer(new QTimer(this)),
      axesDirty(true),
      linesDirty(true),
      indicatorDirty(false),
      selectionDirty(false),
      backgroundColor(Qt::white),
      indicatorVisible(false),
      indicatorIndex(-1),
      dragging(false),
      zoomed(false),
      firstIndex(0),
      lastIndex(-1), // an empty chart shows no point
      indicatorColor(kIndicatorColor),
      ownStore(nullptr),
      labelDecimals(kDefaultLabelDecimals)
{
    auto store = std::make_unique<ChartPointStore>();
    ownStore = store.get();
    pointSource = std::move(store);
    setMouseTracking(true);
    // The picture covers the whole widget: what lies behind it (the tab
    // page's frame) need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    indicatorTimer->setSingleShot(true);
    // A coarse timer may fire 5 % early; the indicator's time is a promise.
    indicatorTimer->setTimerType(Qt::PreciseTimer);
    indicatorTimer->setInterval(kIndicatorTimeoutMs);
    connect(indicatorTimer, &QTimer::timeout, this, &DMMChart::slotTmrIndicatorTimeout);
    lines.append(new ChartLine(this, kLineColor));
    lines.first()->setPointSource(pointSource.get());
}

DMMChart::~DMMChart()
{
    qDeleteAll(lines);
}

void DMMChart::setLeftMargin(int pixels)
{
    leftMargin = pixels;
    axesDirty = true;
    update();
}

void DMMChart::setBottomMargin(int pixels)
{
    bottomMargin = pixels;
}

void DMMChart::setXTitle(const QString &title)
{
    if (title == xTitle)
        return;
    xTitle = title;
    axesDirty = true;
    update();
}

void DMMChart::setYTitle(const QString &title)
{
    if (title == yTitle)
        return;
    yTitle = title;
    axesDirty = true;
    update();
}

void DMMChart::setLabelDecimals(int decimals)
{
    const int bounded = std::clamp(decimals, 0, kMaxLabelDecimals);
    if (bounded == labelDecimals)
        return;
    labelDecimals = bounded;
    axesDirty = true;
    update();
}

void DMMChart::addPoint(ChartPoint *point, int line)
{
    if (!point)
        return;
    if (line < 0 || line >= lines.size()) {
        delete point; // ownership was passed, and no line can hold it
        return;
    }
    // Line 0's readings belong to its point source; another source than the
    // chart's own store already holds them.
    if (line > 0)
        lines.at(line)->append(point->value);
    else if (ownStore)
        ownStore->append(point->value, point->time, point->label.toString());
    delete point;
    refresh();
}

void DMMChart::refresh()
{
    if (dragging || zoomed)
        return;
    axesDirty = true;
    update();
}

void DMMChart::setPointSource(std::unique_ptr<ChartPointSource> source)
{
    if (!source)
        return;
    QMutexLocker locker(&mutex);
    pointSource = std::move(source);
    ownStore = nullptr;
    lines.first()->setPointSource(pointSource.get());
    axesDirty = true;
    update();
}

void DMMChart::clear()
{
    {
        QMutexLocker locker(&mutex);
        for (ChartLine *line : qAsConst(lines))
            line->clear();
        if (ownStore)
            ownStore->clear();
        // The zoomed range and the indicated point named points that are
        // gone; the next layout shows the full (empty) range.
        zoomed = false;
        dragging = false;
        firstIndex = 0;
        lastIndex = -1;
        indicatorIndex = -1;
        indicatorVisible = false;
    }
    indicatorTimer->stop();
    axesDirty = true;
    update();
}

bool DMMChart::hasData() const
{
    return std::any_of(lines.cbegin(), lines.cend(),
                       [](const ChartLine *line) { return line->count() > 0; });
}

bool DMMChart::saveImage(const QString &fileName) const
{
    QMutexLocker locker(&mutex);
    if (finalPixmap.isNull())
        return false;
    return finalPixmap.save(fileName);
}

QRect DMMChart::plotArea() const
{
    return plotRect;
}

const ChartLayout &DMMChart::plotLayout() const
{
    return plot;
}

int DMMChart::visibleFirst() const
{
    return firstIndex;
}

int DMMChart::visibleLast() const
{
    return lastIndex;
}

bool DMMChart::isZoomed() const
{
    return zoomed;
}

bool DMMChart::isDragging() const
{
    return dragging;
}

bool DMMChart::isIndicatorShown() const
{
    return indicatorVisible;
}

int DMMChart::indicatedPoint() const
{
    return indicatorIndex;
}

int DMMChart::indicatorRemainingMs() const
{
    return indicatorTimer->remainingTime();
}

int DMMChart::lineCount() const
{
    return lines.size();
}

const ChartLine *DMMChart::line(int index) const
{
    return lines.value(index);
}

int DMMChart::labelDecimalCount() const
{
    return labelDecimals;
}

QPixmap DMMChart::layer(Layer which) const
{
    QMutexLocker locker(&mutex);
    switch (which) {
    case Layer::Base:
        return basePixmap;
    case Layer::Lines:
        return linesPixmap;
    case Layer::Selection:
        return selectionPixmap;
    case Layer::Final:
        return finalPixmap;
    }
    return QPixmap();
}

void DMMChart::slotTmrIndicatorTimeout()
{
    indicatorVisible = false;
    indicatorDirty = true;
    update();
}

void DMMChart::mousePressEvent(QMouseEvent *event)
{
    const bool handled = event->button() == Qt::LeftButton && hasData();
    if (handled) {
        indicatorIndex = -1;
        indicatorVisible = false;
        indicatorDirty = true;
        update();
        if (!dragging) {
            dragging = true;
            pressPoint = toPlot(event->pos());
            // A click without a move then ends as a drag that is neither
            // right nor down of its start: back to the full view.
            dragPoint = pressPoint;
            selectionDirty = true;
        }
    }
    QWidget::mousePressEvent(event);
    // The base handler ignores the event; a press that starts a selection
    // belongs to the chart and must not reach the parents.
    if (handled)
        event->accept();
}

void DMMChart::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging) {
        dragPoint = toPlot(event->pos());
        selectionDirty = true;
        update();
    } else if (hasData()) {
        const int index = indexAt(toPlot(event->pos()).x());
        if (index != -1 && index != indicatorIndex) {
            indicatorIndex = index;
            indicatorVisible = true;
            indicatorTimer->start(kIndicatorTimeoutMs);
            indicatorDirty = true;
            update();
        }
    }
    QWidget::mouseMoveEvent(event);
}

void DMMChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragging) {
        if (dragPoint.x() > pressPoint.x() && dragPoint.y() > pressPoint.y()) {
            // The offsets are those of the last layout, which also set
            // firstIndex, so the span counts from the current first point.
            const ChartPicker::Span span = ChartPicker::selectedSpan(
                lines.first()->offsets(), pressPoint.x(), dragPoint.x());
            if (span.isZoomable()) {
                zoomed = true;
                lastIndex = firstIndex + span.last;
                firstIndex += span.first;
            }
        } else {
            zoomed = false;
        }
        dragging = false;
        axesDirty = true;
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void DMMChart::paintEvent(QPaintEvent *event)
{
    {
        QMutexLocker locker(&mutex);
        rebuildLayers();
    }
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, width(), height()), finalPixmap);
    painter.end();
    // The frame goes over the picture.
    QFrame::paintEvent(event);
}

void DMMChart::resizeEvent(QResizeEvent *event)
{
    const QSize size = event->size();
    plotRect = QRect(leftMargin, topMargin, size.width() - rightMargin - leftMargin,
                     size.height() - bottomMargin - topMargin);
    basePixmap = QPixmap(size);
    paintedAxes.reset();
    axesDirty = true;
    QWidget::resizeEvent(event);
}

void DMMChart::rebuildLayers()
{
    // A widget without area has nothing to draw on; the layers wait for a
    // resize, which marks them dirty again.
    if (basePixmap.isNull())
        return;

    bool lowerChanged = false;
    if (axesDirty) {
        axesDirty = false;
        if (!zoomed) {
            firstIndex = 0;
            lastIndex = lines.first()->count() - 1;
        }
        updateLayout();
        // The lines follow the new scales even when the axes look the same.
        linesDirty = true;
        ChartRenderer::Axes axes;
        axes.leftMargin = leftMargin;
        axes.topMargin = topMargin;
        axes.bottomMargin = bottomMargin;
        axes.labelDecimals = labelDecimals;
        axes.xTitle = xTitle;
        axes.yTitle = yTitle;
        axes.font = font();
        const ChartRenderer::AxesPicture picture = ChartRenderer(plotRect, plot, firstIndex, lastIndex)
                                                       .axesPicture(hasData() ? lines.first() : nullptr, axes);
        if (!paintedAxes || *paintedAxes != picture) {
            basePixmap.fill(backgroundColor);
            QPainter painter(&basePixmap);
            ChartRenderer::drawAxes(painter, picture);
            paintedAxes = picture;
            lowerChanged = true;
        }
    }

    const ChartRenderer renderer(plotRect, plot, firstIndex, lastIndex);
    if (linesDirty || lowerChanged) {
        linesDirty = false;
        linesPixmap = basePixmap;
        if (hasData()) {
            QPainter painter(&linesPixmap);
            for (const ChartLine *line : qAsConst(lines))
                renderer.drawLine(painter, *line);
        }
        lowerChanged = true;
    }

    if (selectionDirty || lowerChanged) {
        selectionDirty = false;
        selectionPixmap = linesPixmap;
        if (dragging) {
            QPainter painter(&selectionPixmap);
            renderer.drawSelection(painter, pressPoint, dragPoint);
        }
        lowerChanged = true;
    }

    if (indicatorDirty || lowerChanged) {
        // While the timer runs the indicator is redrawn at every paint, so
        // its timeout is drawn however the paints fall.
        if (!indicatorTimer->isActive())
            indicatorDirty = false;
        finalPixmap = selectionPixmap;
        if (hasData() && indicatorVisible && indicatorIndex != -1) {
            const int visibleCount = lines.first()->offsets().size();
            indicatorIndex = std::min(indicatorIndex, visibleCount - 1);
            if (indicatorIndex >= 0) {
                QPainter painter(&finalPixmap);
                painter.setFont(font());
                renderer.drawIndicator(painter, *lines.first(), indicatorIndex, indicatorColor);
            }
        }
    }
}

void DMMChart::updateLayout()
{
    double dataMin = 0;
    double dataMax = 0;
    for (ChartLine *line : qAsConst(lines)) {
        line->measureRange(firstIndex, lastIndex);
        dataMin = std::min(dataMin, line->visibleMinimum());
        dataMax = std::max(dataMax, line->visibleMaximum());
    }
    plot.setValueRange(dataMin, dataMax);
    plot.setScales(plotRect.size(), firstIndex, lastIndex);
    for (ChartLine *line : qAsConst(lines))
        line->placePoints(plot.xScale, plot.yScale, firstIndex, lastIndex);
    plot.computeTicks(plotRect.width(), hasData());
}

QPoint DMMChart::toPlot(const QPoint &pos) const
{
    return QPoint(std::clamp(pos.x() - plotRect.left(), 0, std::max(plotRect.width(), 0)),
                  std::clamp(pos.y() - plotRect.top(), 0, std::max(plotRect.height(), 0)));
}

int DMMChart::indexAt(int x) const
{
    if (lines.isEmpty())
        return -1;
    return ChartPicker::indexAt(lines.first()->offsets(), x, plotRect.width());
}

#include "dmmchart.h"
#include "chartline.h"
#include "chartpicker.h"
#include "chartpoint.h"
#include "chartpointstore.h"
#include "chartrenderer.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QResizeEvent>
#include <QSettings>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kDefaultLeftMarginPx = 60;
constexpr int kDefaultRightMarginPx = 20;
constexpr int kDefaultTopMarginPx = 40; // holds the indicator label
constexpr int kDefaultBottomMarginPx = 40;
constexpr int kIndicatorTimeoutMs = 6000;
constexpr int kDefaultLabelDecimals = 2;
// More decimals than a double can show would only print noise.
constexpr int kMaxLabelDecimals = 15;

// One wheel notch (120 eighths of a degree) shows this part of the range.
constexpr double kWheelZoomFactor = 0.8;
constexpr double kWheelNotch = 120.0;
constexpr double kMinZoomStep = 0.001;
// Arrow keys move the picture by this part of the plot.
constexpr int kKeyPanDivisor = 10;
constexpr int kMinVisibleReadings = 2;
constexpr double kMinVisibleMs = 10.0;
constexpr int kMenuButtonPx = 16;
constexpr int kMenuButtonInsetPx = 2;

const QColor kLineColor(250, 150, 0);
const QColor kMenuButtonColor(170, 170, 170);

// Copies a layer into the buffer of the one above, which is kept from paint
// to paint. Assigning and then drawing would give the upper layer fresh
// memory at every paint: a layer is larger than the allocator's threshold
// for mapping pages of its own, so each paint would fault in every page
// again, which cost more than all the drawing (depending on what the
// process freed before, from 0.2 to 4 ms for a 600 x 300 chart).
// The buffer must not be shared, or drawing would copy it again.
void copyLayer(const QPixmap &from, QPixmap &to)
{
    if (to.size() != from.size() || to.isNull())
        to = QPixmap(from.size());
    QPainter painter(&to);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, from);
}

// The user's chart choices live in charts.conf in the program's folder of
// the user's configuration (~/.config/luma4200/), apart from options.xml.
QString axisKey(const QString &chartName)
{
    return QStringLiteral("%1/axis").arg(chartName);
}

QString chartSettingsName()
{
    return QStringLiteral("charts");
}
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
    // The keys zoom and pan once a click gave the chart focus.
    setFocusPolicy(Qt::ClickFocus);
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
    // What the old source's times said does not hold for the new one.
    timeline = ChartTimeline();
    cursors[0] = cursors[1] = -1;
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
        cursors[0] = cursors[1] = -1;
        panning = false;
        // The owner may fill its source again before the next paint.
        timeline = ChartTimeline();
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

QPixmap DMMChart::layer(Layer which)
{
    QMutexLocker locker(&mutex);
    compose(which);
    return painted[int(which)] ? pixmapOf(which) : QPixmap();
}

void DMMChart::slotTmrIndicatorTimeout()
{
    indicatorVisible = false;
    indicatorDirty = true;
    update();
}

void DMMChart::mousePressEvent(QMouseEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool left = event->button() == Qt::LeftButton;
    if (left && !dragging && menuButton().contains(event->pos())) {
        analysisMenu()->popup(mapToGlobal(menuButton().bottomLeft()));
        event->accept();
        return;
    }
    if (!dragging && hasData()
        && (event->button() == Qt::MiddleButton || (left && modifiers == Qt::ShiftModifier))) {
        panning = true;
        panLast = event->pos();
        event->accept();
        return;
    }
    if (!dragging && left && hasData() && (modifiers & Qt::ControlModifier)) {
        const int index = indexAt(toPlot(event->pos()).x());
        if (index >= 0)
            setCursor(modifiers & Qt::ShiftModifier ? 1 : 0, firstIndex + index);
        event->accept();
        return;
    }
    const bool handled = left && hasData();
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
    if (panning) {
        const QPoint delta = event->pos() - panLast;
        panLast = event->pos();
        pan(delta.x(), delta.y());
    } else if (dragging) {
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
    if (panning) {
        panning = false;
        event->accept();
        return;
    }
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
                if (usesTimeAxis()) {
                    const qint64 from = pointSource->timeMs(firstIndex);
                    const qint64 to = pointSource->timeMs(lastIndex);
                    // Readings without times cannot bound a time range.
                    zoomed = from != ChartPointSource::kNoTime && to != ChartPointSource::kNoTime;
                    timeStart = double(from);
                    timeEnd = std::max(double(to), timeStart + kMinVisibleMs);
                }
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
    // The menu button is drawn on the widget only, not into the picture
    // that is saved.
    const QRect button = menuButton();
    painter.setPen(QPen(kMenuButtonColor));
    painter.drawRect(button.adjusted(0, 0, -1, -1));
    for (int bar = 1; bar <= 3; ++bar) {
        const int y = button.top() + bar * button.height() / 4;
        painter.drawLine(button.left() + 4, y, button.right() - 4, y);
    }
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
    axesPicture.reset();
    invalidateFrom(Layer::Base);
    axesDirty = true;
    QWidget::resizeEvent(event);
}

void DMMChart::rebuildLayers()
{
    // A widget without area has nothing to draw on; the layers wait for a
    // resize, which marks them dirty again.
    if (basePixmap.isNull())
        return;

    if (axesDirty) {
        axesDirty = false;
        loadAxisChoice();
        timeline.sync(*pointSource);
        placeVisibleRange();
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
        const ChartRenderer::AxesPicture picture = ChartRenderer(plotRect, plot, firstIndex, lastIndex, stamps)
                                                       .axesPicture(hasData() ? lines.first() : nullptr, axes,
                                                                    &timeline);
        if (!axesPicture || *axesPicture != picture) {
            axesPicture = picture;
            invalidateFrom(Layer::Base);
        }
    }
    if (linesDirty) {
        linesDirty = false;
        invalidateFrom(Layer::Lines);
    }
    if (selectionDirty) {
        selectionDirty = false;
        invalidateFrom(Layer::Selection);
    }
    if (indicatorDirty) {
        // While the timer runs the indicator is redrawn at every paint, so
        // its timeout is drawn however the paints fall.
        if (!indicatorTimer->isActive())
            indicatorDirty = false;
        invalidateFrom(Layer::Final);
    }
    if (!painted[int(Layer::Final)] && hasData() && indicatorVisible && indicatorIndex != -1)
        indicatorIndex = std::min(indicatorIndex, lines.first()->offsets().size() - 1);
    compose(Layer::Final);
    std::fill(std::begin(changed), std::end(changed), false);
}

void DMMChart::invalidateFrom(Layer lowest)
{
    for (int layer = int(lowest); layer <= int(Layer::Final); ++layer) {
        changed[layer] = true;
        painted[layer] = false;
        // The pixels of the layers above may be shared with this one's
        // buffer; dropping them keeps the buffer from being copied when it
        // is drawn again.
        if (layer != int(Layer::Base))
            pixmapOf(Layer(layer)) = QPixmap();
    }
}

void DMMChart::compose(Layer layer)
{
    const int index = int(layer);
    if (painted[index] || !axesPicture)
        return;
    if (layer != Layer::Base && !addsToLayerBelow(layer)) {
        compose(Layer(index - 1));
        pixmapOf(layer) = pixmapOf(Layer(index - 1));
    } else {
        // The layers below that changed together with this one are drawn
        // straight into its buffer and left unpainted: a full repaint then
        // draws each layer once and copies nothing. They are painted on
        // their own when a layer above changes alone.
        int below = index - 1;
        while (below >= 0 && !painted[below] && changed[below])
            --below;
        QPixmap &buffer = bufferOf(layer);
        if (below >= 0) {
            compose(Layer(below));
            copyLayer(pixmapOf(Layer(below)), buffer);
        } else if (buffer.size() != basePixmap.size()) {
            buffer = QPixmap(basePixmap.size());
        }
        QPainter painter(&buffer);
        for (int drawn = below + 1; drawn <= index; ++drawn) {
            painter.save();
            drawContent(Layer(drawn), painter);
            painter.restore();
            changed[drawn] = false;
        }
        painter.end();
        pixmapOf(layer) = buffer;
    }
    painted[index] = true;
}

bool DMMChart::addsToLayerBelow(Layer layer) const
{
    switch (layer) {
    case Layer::Base:
        return true;
    case Layer::Lines:
        return hasData();
    case Layer::Selection:
        return dragging || analysisShown();
    case Layer::Final:
        return hasData() && indicatorVisible && indicatorIndex >= 0;
    }
    return false;
}

void DMMChart::drawContent(Layer layer, QPainter &painter)
{
    const ChartRenderer renderer(plotRect, plot, firstIndex, lastIndex, stamps);
    painter.setFont(font());
    switch (layer) {
    case Layer::Base:
        painter.fillRect(QRect(QPoint(0, 0), basePixmap.size()), backgroundColor);
        ChartRenderer::drawAxes(painter, *axesPicture, stamps);
        break;
    case Layer::Lines:
        for (const ChartLine *line : qAsConst(lines))
            renderer.drawLine(painter, *line, &timeline);
        break;
    case Layer::Selection:
        if (analysisShown()) {
            renderer.drawCursors(painter, *lines.first(), cursors);
            renderer.drawReadout(painter, readoutBox.image(readout(), font()));
        }
        if (dragging)
            renderer.drawSelection(painter, pressPoint, dragPoint);
        break;
    case Layer::Final:
        renderer.drawIndicator(painter, *lines.first(), indicatorIndex, indicatorColor);
        break;
    }
}

bool DMMChart::analysisShown() const
{
    return hasData() && (cursors[0] >= 0 || cursors[1] >= 0 || readoutShown);
}

QPixmap &DMMChart::pixmapOf(Layer layer)
{
    switch (layer) {
    case Layer::Base:
        break;
    case Layer::Lines:
        return linesPixmap;
    case Layer::Selection:
        return selectionPixmap;
    case Layer::Final:
        return finalPixmap;
    }
    return basePixmap;
}

QPixmap &DMMChart::bufferOf(Layer layer)
{
    switch (layer) {
    case Layer::Base:
        break;
    case Layer::Lines:
        return linesBuffer;
    case Layer::Selection:
        return selectionBuffer;
    case Layer::Final:
        return finalBuffer;
    }
    return basePixmap;
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
    if (valueRangeSet)
        plot.setUserValueRange(userMin, userMax);
    else
        plot.setValueRange(dataMin, dataMax);
    plot.setScales(plotRect.size(), firstIndex, lastIndex);
    TimeMapping time;
    if (usesTimeAxis()) {
        msScale = std::max(plotRect.width() - 1, 0) / std::max(timeEnd - timeStart, 1.0);
        time = TimeMapping{pointSource.get(), firstIndex, timeStart, msScale};
    }
    for (ChartLine *line : qAsConst(lines))
        line->placePoints(plot.xScale, plot.yScale, firstIndex, lastIndex, time);
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

bool DMMChart::usesTimeAxis() const
{
    // Readings without times have no place on a time axis.
    const int count = lines.first()->count();
    return timeAxis && count > 0 && pointSource->timeMs(0) != ChartPointSource::kNoTime
        && pointSource->timeMs(count - 1) != ChartPointSource::kNoTime;
}

void DMMChart::loadAxisChoice()
{
    if (axisLoaded || objectName().isEmpty())
        return;
    axisLoaded = true;
    const QSettings settings(QCoreApplication::applicationName(), chartSettingsName());
    timeAxis = settings.value(axisKey(objectName())).toString() == QLatin1String("time");
}

void DMMChart::placeVisibleRange()
{
    const int count = lines.first()->count();
    if (!zoomed) {
        firstIndex = 0;
        lastIndex = count - 1;
    }
    if (!usesTimeAxis())
        return;
    if (!zoomed) {
        timeStart = double(pointSource->timeMs(0));
        timeEnd = double(pointSource->timeMs(count - 1));
        // A clock set back can put the last reading before the first.
        if (timeEnd < timeStart)
            std::swap(timeStart, timeEnd);
        return;
    }
    firstIndex = timeline.firstAtOrAfter(*pointSource, qint64(std::ceil(timeStart)));
    lastIndex = timeline.firstAtOrAfter(*pointSource, qint64(std::floor(timeEnd)) + 1) - 1;
}

void DMMChart::setTimeAxis(bool on)
{
    axisLoaded = true;
    if (!objectName().isEmpty()) {
        QSettings settings(QCoreApplication::applicationName(), chartSettingsName());
        settings.setValue(axisKey(objectName()), on ? QStringLiteral("time") : QStringLiteral("readings"));
    }
    if (on == timeAxis)
        return;
    timeAxis = on;
    // The zoomed range is kept in the units of the other axis.
    zoomed = false;
    viewChanged();
}

bool DMMChart::isTimeAxis() const
{
    return timeAxis;
}

bool DMMChart::hasUserValueRange() const
{
    return valueRangeSet;
}

double DMMChart::userValueMinimum() const
{
    return userMin;
}

double DMMChart::userValueMaximum() const
{
    return userMax;
}

void DMMChart::showFullView()
{
    zoomed = false;
    valueRangeSet = false;
    viewChanged();
}

void DMMChart::setCursor(int which, int index)
{
    if (which < 0 || which > 1)
        return;
    cursors[which] = index >= 0 && index < lines.first()->count() ? index : -1;
    selectionDirty = true;
    update();
}

int DMMChart::cursor(int which) const
{
    return which == 0 || which == 1 ? cursors[which] : -1;
}

void DMMChart::clearCursors()
{
    setCursor(0, -1);
    setCursor(1, -1);
}

void DMMChart::setReadoutShown(bool shown)
{
    readoutShown = shown;
    selectionDirty = true;
    update();
}

bool DMMChart::isReadoutShown() const
{
    return readoutShown;
}

QStringList DMMChart::readout()
{
    timeline.sync(*pointSource);
    ChartReadout::Input input;
    input.cursors[0] = cursors[0];
    input.cursors[1] = cursors[1];
    input.first = firstIndex;
    input.last = lastIndex;
    input.quantity = ChartReadout::quantityOf(objectName());
    input.decimals = labelDecimals;
    return ChartReadout::lines(*pointSource, timeline, input);
}

void DMMChart::copyReadout()
{
    QApplication::clipboard()->setText(readout().join(QLatin1Char('\n')));
}

QRect DMMChart::menuButton() const
{
    return QRect(width() - kMenuButtonPx - kMenuButtonInsetPx, kMenuButtonInsetPx, kMenuButtonPx, kMenuButtonPx);
}

QMenu *DMMChart::analysisMenu()
{
    if (menu)
        return menu;
    menu = new QMenu(this);
    auto *axes = new QActionGroup(menu);
    QAction *readings = menu->addAction(tr("Readings"), this, [this] { setTimeAxis(false); });
    QAction *time = menu->addAction(tr("Time"), this, [this] { setTimeAxis(true); });
    for (QAction *action : {readings, time}) {
        action->setCheckable(true);
        axes->addAction(action);
    }
    menu->addSeparator();
    menu->addAction(tr("Cursors on the visible readings"), this, [this] {
        const int count = lastIndex - firstIndex + 1;
        setCursor(0, firstIndex + count / 3);
        setCursor(1, firstIndex + count * 2 / 3);
    });
    menu->addAction(tr("Remove cursors"), this, &DMMChart::clearCursors);
    QAction *shown = menu->addAction(tr("Read-out"), this, &DMMChart::setReadoutShown);
    shown->setCheckable(true);
    menu->addAction(tr("Copy"), this, &DMMChart::copyReadout);
    menu->addSeparator();
    menu->addAction(tr("Full view"), this, &DMMChart::showFullView);
    connect(menu, &QMenu::aboutToShow, this, [this, readings, time, shown] {
        loadAxisChoice();
        (timeAxis ? time : readings)->setChecked(true);
        shown->setChecked(readoutShown);
    });
    return menu;
}

void DMMChart::keepValueRange()
{
    if (valueRangeSet)
        return;
    valueRangeSet = true;
    userMin = plot.minValue;
    userMax = plot.maxValue;
}

void DMMChart::viewChanged()
{
    axesDirty = true;
    update();
}

void DMMChart::zoomHorizontally(double factor, int x)
{
    const int count = lines.first()->count();
    if (count == 0)
        return;
    if (usesTimeAxis()) {
        const double span = std::max(timeEnd - timeStart, 1.0);
        const double at = timeStart + (msScale > 0 ? x / msScale : 0);
        const double newSpan = std::max(span * factor, kMinVisibleMs);
        const double newStart = at - (at - timeStart) * newSpan / span;
        if (!std::isfinite(newStart) || !std::isfinite(newStart + newSpan))
            return;
        timeStart = newStart;
        timeEnd = newStart + newSpan;
        zoomed = true;
        viewChanged();
        return;
    }
    const int visible = lastIndex - firstIndex + 1;
    if (visible <= 0 || !(plot.xScale > 0))
        return;
    const double at = firstIndex + x / plot.xScale;
    const int newVisible = int(std::clamp<double>(std::llround(visible * factor), kMinVisibleReadings, count));
    if (newVisible >= count) {
        zoomed = false;
    } else {
        const double newFirst = at - (at - firstIndex) * newVisible / visible;
        firstIndex = int(std::clamp<double>(std::llround(newFirst), 0, count - newVisible));
        lastIndex = firstIndex + newVisible - 1;
        zoomed = true;
    }
    viewChanged();
}

void DMMChart::zoomValues(double factor, int y)
{
    if (!hasData() || !(plot.yScale > 0))
        return;
    keepValueRange();
    const double at = userMax - y / plot.yScale;
    const double newMin = at - (at - userMin) * factor;
    const double newMax = at + (userMax - at) * factor;
    // Beyond what a double can tell apart the scale would fall apart.
    if (std::isfinite(newMin) && std::isfinite(newMax) && newMax - newMin > 1e-9 * std::max(1.0, std::abs(at))) {
        userMin = newMin;
        userMax = newMax;
    }
    viewChanged();
}

void DMMChart::pan(int dx, int dy)
{
    const int count = lines.first()->count();
    if (count == 0)
        return;
    if (dx != 0) {
        if (usesTimeAxis() && msScale > 0) {
            timeStart -= dx / msScale;
            timeEnd -= dx / msScale;
            zoomed = true;
        } else if (plot.xScale > 0) {
            const int visible = lastIndex - firstIndex + 1;
            const int shift = int(std::llround(-dx / plot.xScale));
            if (visible < count && shift != 0) {
                firstIndex = std::clamp(firstIndex + shift, 0, count - visible);
                lastIndex = firstIndex + visible - 1;
                zoomed = true;
            }
        }
    }
    if (dy != 0 && plot.yScale > 0) {
        keepValueRange();
        userMin += dy / plot.yScale;
        userMax += dy / plot.yScale;
    }
    viewChanged();
}

void DMMChart::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y();
    if (notches == 0 || !hasData()) {
        QWidget::wheelEvent(event);
        return;
    }
    // A wheel that reports a huge turn still zooms by a bounded step.
    const double factor = std::clamp(std::pow(kWheelZoomFactor, notches / kWheelNotch), kMinZoomStep, 1 / kMinZoomStep);
    const QPoint pos = event->position().toPoint();
    if ((event->modifiers() & Qt::ControlModifier) || pos.x() < plotRect.left())
        zoomValues(factor, toPlot(pos).y());
    else
        zoomHorizontally(factor, toPlot(pos).x());
    event->accept();
}

void DMMChart::keyPressEvent(QKeyEvent *event)
{
    const bool values = event->modifiers() & Qt::ControlModifier;
    const QPoint centre(plotRect.width() / 2, plotRect.height() / 2);
    switch (event->key()) {
    case Qt::Key_Left:
        pan(plotRect.width() / kKeyPanDivisor, 0);
        break;
    case Qt::Key_Right:
        pan(-plotRect.width() / kKeyPanDivisor, 0);
        break;
    case Qt::Key_Up:
        pan(0, plotRect.height() / kKeyPanDivisor);
        break;
    case Qt::Key_Down:
        pan(0, -plotRect.height() / kKeyPanDivisor);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        values ? zoomValues(kWheelZoomFactor, centre.y()) : zoomHorizontally(kWheelZoomFactor, centre.x());
        break;
    case Qt::Key_Minus:
        values ? zoomValues(1 / kWheelZoomFactor, centre.y()) : zoomHorizontally(1 / kWheelZoomFactor, centre.x());
        break;
    case Qt::Key_Home:
        showFullView();
        break;
    case Qt::Key_Escape:
        clearCursors();
        break;
    case Qt::Key_C:
        if (!values)
            return QWidget::keyPressEvent(event);
        copyReadout();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DMMChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !menuButton().contains(event->pos()))
        showFullView();
    QWidget::mouseDoubleClickEvent(event);
}

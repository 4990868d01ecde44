#ifndef DMMCHART_H
#define DMMCHART_H

#include "chartlayout.h"
#include "chartreadout.h"
#include "chartreadoutbox.h"
#include "chartrenderer.h"
#include "charttimeline.h"

#include <QColor>
#include <QFrame>
#include <QList>
#include <QMutex>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class ChartLine;
class ChartPointSource;
class ChartPointStore;
class QMenu;
class QTimer;
struct ChartPoint;

// Plots readings against their order of arrival, with a hover indicator and
// a drag-to-zoom time axis. Beside that: the wheel, a middle or Shift+left
// drag and the keys zoom and pan both axes; a time axis (chosen in the
// chart's own menu, behind the button in its top right corner, and
// remembered per chart) places readings at their times and shades gaps;
// two cursors (Ctrl+click, Ctrl+Shift+click) get a read-out with the
// statistics, charge or energy of the readings between them. Drawing is
// cached in four layers, each the one below with more drawn on it, so that
// hovering and dragging redraw only the upper layers; layers that change
// together are drawn straight into the top one, and the ones below it are
// painted on their own only when a layer above them changes alone. A
// repaint costs about the same for ten
// readings as for ten million: the lines hold their values in columns with
// block extremes, and a line is drawn with a few vertices per pixel column.
class DMMChart : public QFrame
{
    Q_OBJECT
public:
    enum class Layer { Base, Lines, Selection, Final };

    explicit DMMChart(QWidget *parent = nullptr);
    ~DMMChart() override;

    void setLeftMargin(int pixels);
    // Takes effect at the next resize.
    void setBottomMargin(int pixels);
    void setXTitle(const QString &title);
    void setYTitle(const QString &title);
    void setLabelDecimals(int decimals);

    // Takes ownership of the point. While the user drags or views a zoomed
    // range the point is stored but not drawn. Line 0's point goes to the
    // chart's own store; with another point source it is dropped, as that
    // source holds line 0's readings itself.
    void addPoint(ChartPoint *point, int line);
    // Line 0's values, times and labels from now on come from the source,
    // which its owner fills and empties; the chart no longer keeps them.
    // Null changes nothing.
    void setPointSource(std::unique_ptr<ChartPointSource> source);
    // The point source holds more readings: redraw as for an added point.
    void refresh();
    // Deletes every point and returns to the full view.
    void clear();
    bool hasData() const;
    // Writes the picture as last painted; false before the first paint or
    // when the file cannot be written. The format follows the suffix.
    bool saveImage(const QString &fileName) const;

    QRect plotArea() const;
    const ChartLayout &plotLayout() const;
    int visibleFirst() const;
    int visibleLast() const;
    bool isZoomed() const;
    bool isDragging() const;
    bool isIndicatorShown() const;
    int indicatedPoint() const;
    // Milliseconds until the indicator hides; -1 when the timer is idle.
    int indicatorRemainingMs() const;
    int lineCount() const;
    const ChartLine *line(int index) const;
    int labelDecimalCount() const;
    // The layer's pixels as the chart last composed them (painted now if a
    // full repaint drew it straight into a layer above); null before the
    // first paint.
    QPixmap layer(Layer which);

    // "Readings" (false, the default) or "Time"; stored in the user's
    // settings under the chart's object name.
    void setTimeAxis(bool on);
    bool isTimeAxis() const;
    // The value range the user set by zooming or panning; none while the
    // scale follows the readings.
    bool hasUserValueRange() const;
    double userValueMinimum() const;
    double userValueMaximum() const;
    // Back to all readings and the automatic value scale (Home).
    void showFullView();
    // which is 0 or 1; index is a reading, -1 removes the cursor.
    void setCursor(int which, int index);
    int cursor(int which) const;
    void clearCursors();
    // The read-out shows without cursors too, for the visible readings.
    void setReadoutShown(bool shown);
    bool isReadoutShown() const;
    // The read-out's lines, whether or not it is shown.
    QStringList readout();
    void copyReadout();
    // Where the chart's own menu opens on a left click.
    QRect menuButton() const;
    // Built when asked; owned by the chart.
    QMenu *analysisMenu();

public slots:
    void slotTmrIndicatorTimeout();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Rebuilds the layers that are out of date; the caller holds the mutex.
    void rebuildLayers();
    // The layers from `lowest` up changed and must be drawn again.
    void invalidateFrom(Layer lowest);
    // Paints the layer, and the layers below it that it needs, if they are
    // not painted.
    void compose(Layer layer);
    // Whether the layer draws anything; one that does not shows the pixels
    // of the layer below.
    bool addsToLayerBelow(Layer layer) const;
    // The cursors or the read-out are on the selection layer.
    bool analysisShown() const;
    // What the layer draws over the one below.
    void drawContent(Layer layer, QPainter &painter);
    QPixmap &pixmapOf(Layer layer);
    QPixmap &bufferOf(Layer layer);
    void updateLayout();
    // pos is in widget coordinates; the result is relative to the plot
    // area's top-left corner and lies inside it.
    QPoint toPlot(const QPoint &pos) const;
    int indexAt(int x) const;
    bool usesTimeAxis() const;
    void loadAxisChoice();
    void placeVisibleRange();
    // factor below 1 zooms in, around the plot offset x or y.
    void zoomHorizontally(double factor, int x);
    void zoomValues(double factor, int y);
    // Moves the picture by dx, dy pixels.
    void pan(int dx, int dy);
    void keepValueRange();
    void viewChanged();

    int leftMargin;
    int rightMargin;
    int topMargin;
    int bottomMargin;
    QRect plotRect;
    QList<ChartLine *> lines;
    QPixmap basePixmap;
    // What basePixmap shows; none before the first layout.
    std::optional<ChartRenderer::AxesPicture> axesPicture;
    ChartRenderer::Stamps stamps;
    ChartReadoutBox readoutBox;
    QPixmap linesPixmap;
    QPixmap finalPixmap;
    QPixmap selectionPixmap;
    QTimer *indicatorTimer;
    bool axesDirty;
    bool linesDirty;
    bool indicatorDirty;
    bool selectionDirty;
    QColor backgroundColor;
    // Value range, scales and ticks of the last layout.
    ChartLayout plot;
    bool indicatorVisible;
    int indicatorIndex; // counted from firstIndex; -1 for none
    bool dragging;
    bool zoomed;
    int firstIndex; // visible range of point indexes, both ends included
    int lastIndex;
    QPoint pressPoint; // relative to the plot area's top-left corner
    QPoint dragPoint;
    mutable QMutex mutex; // guards the layers and the point lists
    QColor indicatorColor;
    std::unique_ptr<ChartPointSource> pointSource;
    ChartPointStore *ownStore; // pointSource while the chart keeps the texts; null otherwise
    QString xTitle;
    QString yTitle;
    int labelDecimals;

    ChartTimeline timeline; // of line 0's point source
    bool timeAxis = false;
    bool axisLoaded = false;
    double timeStart = 0; // the visible time on a time axis, ms since the epoch
    double timeEnd = 0;
    double msScale = 0;   // pixels per millisecond there
    bool valueRangeSet = false;
    double userMin = 0;
    double userMax = 0;
    bool panning = false;
    QPoint panLast;
    int cursors[2] = {-1, -1};
    bool readoutShown = false;
    QMenu *menu = nullptr;
    // The pixels of the upper layers when they add something to the one below.
    QPixmap linesBuffer;
    QPixmap selectionBuffer;
    QPixmap finalBuffer;
    // Per layer: its pixmap holds its current pixels; it changed since the
    // last rebuild.
    bool painted[4] = {};
    bool changed[4] = {};
};

#endif // DMMCHART_H

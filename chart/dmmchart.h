#ifndef DMMCHART_H
#define DMMCHART_H

#include "chartlayout.h"
#include "chartrenderer.h"

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
class QTimer;
struct ChartPoint;

// Plots readings against their order of arrival, with a hover indicator and
// a drag-to-zoom time axis. Drawing is cached in four layers, each a copy
// of the one below with more drawn on it, so that hovering and dragging
// redraw only the upper layers. A repaint costs about the same for ten
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
    QPixmap layer(Layer which) const;

public slots:
    void slotTmrIndicatorTimeout();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Rebuilds the layers that are out of date; the caller holds the mutex.
    void rebuildLayers();
    void updateLayout();
    // pos is in widget coordinates; the result is relative to the plot
    // area's top-left corner and lies inside it.
    QPoint toPlot(const QPoint &pos) const;
    int indexAt(int x) const;

    int leftMargin;
    int rightMargin;
    int topMargin;
    int bottomMargin;
    QRect plotRect;
    QList<ChartLine *> lines;
    QPixmap basePixmap;
    // What basePixmap shows; none while it has not been painted.
    std::optional<ChartRenderer::AxesPicture> paintedAxes;
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
};

#endif // DMMCHART_H

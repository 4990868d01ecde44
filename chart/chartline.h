#ifndef CHARTLINE_H
#define CHARTLINE_H

#include <QColor>
#include <QList>
#include <QObject>
#include <QVector>

class DMMChart;
struct ChartPoint;

// One series of readings of a chart, in order of arrival, with the pixel
// offsets of its visible readings as of the chart's last layout.
class ChartLine : public QObject
{
    Q_OBJECT
public:
    ChartLine(DMMChart *chart, const QColor &color);
    ~ChartLine() override;

    // Takes ownership of the point.
    void append(ChartPoint *point);
    // Deletes every point and forgets the offsets, which named them.
    void clear();

    int count() const;
    const ChartPoint *at(int index) const;
    QColor penColor() const;
    DMMChart *owner() const;

    // Extremes of the readings firstIndex .. lastIndex that this line holds,
    // both starting from 0; values that are not finite are skipped.
    void measureRange(int firstIndex, int lastIndex);
    double visibleMinimum() const;
    double visibleMaximum() const;

    // Takes over the chart's scales and rebuilds one offset per reading
    // firstIndex .. lastIndex.
    void placePoints(double xScale, double yScale, int firstIndex, int lastIndex);
    const QVector<int> &offsets() const;
    double horizontalScale() const;
    double verticalScale() const;

private:
    QList<ChartPoint *> points;
    QVector<int> pixelX;
    QColor color;
    double minValue = 0;
    double maxValue = 0;
    double xScale = 0; // pixels per reading
    double yScale = 0; // pixels per value unit
    DMMChart *chart;
};

#endif // CHARTLINE_H

#ifndef CHARTLINE_H
#define CHARTLINE_H

#include "chartpicker.h"
#include "chartpoint.h"
#include "valuecolumn.h"

#include <QColor>
#include <QObject>

class ChartPointSource;
class DMMChart;

// One series of readings of a chart, in order of arrival, with the scales
// and the visible range of the chart's last layout. With a point source the
// values, times and labels are the source's; without one the line keeps
// the values it is given and has no times or labels.
class ChartLine : public QObject
{
    Q_OBJECT
public:
    ChartLine(DMMChart *chart, const QColor &color);
    ~ChartLine() override;

    // Kept only while the line has no point source.
    void append(double value);
    void clear();

    int count() const;
    const ValueColumn &values() const;
    // The reading at index as it was added; time and label stay empty
    // without a point source.
    ChartPoint at(int index) const;
    // Not owned; null for none.
    void setPointSource(const ChartPointSource *source);
    const ChartPointSource *pointSource() const;
    QColor penColor() const;
    DMMChart *owner() const;

    // Extremes of the readings firstIndex .. lastIndex that this line holds,
    // both starting from 0; values that are not finite are skipped.
    void measureRange(int firstIndex, int lastIndex);
    double visibleMinimum() const;
    double visibleMaximum() const;

    // Takes over the chart's scales for the readings firstIndex .. lastIndex;
    // on a time axis the readings stand where time puts them.
    void placePoints(double xScale, double yScale, int firstIndex, int lastIndex,
                     const TimeMapping &time = TimeMapping());
    const TimeMapping &timeMapping() const;
    // The pixel offsets of the visible readings, computed when asked.
    PixelOffsets offsets() const;
    double horizontalScale() const;
    double verticalScale() const;

private:
    ValueColumn ownValues; // the values while there is no source
    const ChartPointSource *source = nullptr;
    int visibleCount = 0;
    QColor color;
    double minValue = 0;
    double maxValue = 0;
    double xScale = 0; // pixels per reading
    double yScale = 0; // pixels per value unit
    TimeMapping time;
    DMMChart *chart;
};

#endif // CHARTLINE_H

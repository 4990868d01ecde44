#ifndef RECORDVIEWS_H
#define RECORDVIEWS_H

#include <QList>
#include <QObject>

QT_BEGIN_NAMESPACE
class QTableView;
class QWidget;
QT_END_NAMESPACE

class ColumnWidths;
class DataModel;
class DMMChart;
class ReadingTable;

// The record tables and charts of a window's channel pages, found by name
// once ("tableViewCH<n>", "chartCH<n>Voltage" …), dressed alike in the live
// window and the viewer of past sessions, and shown over one recording:
// each table shows its channel's model, each chart reads its series of the
// recorded table. Nothing of a reading passes through here; on a new row the
// tables scroll and the charts redraw, on an emptied recording the charts
// are emptied.
class RecordViews : public QObject
{
    Q_OBJECT
public:
    // Finds and dresses the views among window's descendants; chartFilter
    // becomes the event filter of every chart (the charts' context menu).
    RecordViews(QWidget *window, QObject *chartFilter);

    // models: channel 1 first; neither they nor the table are owned, and
    // both outlive the views' use.
    void show(const QList<DataModel *> &models, const ReadingTable *readings);
    // Every chart, in the order the window's search found them.
    const QList<DMMChart *> &charts() const;

public slots:
    // The recording has a new row: the newest row comes into view in every
    // table, shown or not, and the charts follow.
    void followNewRow();
    // The recording holds other rows than the charts last drew.
    void refreshCharts();
    void clearCharts();

private:
    void dressTable(QTableView *table);
    void dressChart(DMMChart *chart, QObject *chartFilter);

    QWidget *window;
    ColumnWidths *columnWidths; // child
    QList<QTableView *> tables;
    QList<DMMChart *> chartList;
};

#endif // RECORDVIEWS_H

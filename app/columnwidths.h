#ifndef COLUMNWIDTHS_H
#define COLUMNWIDTHS_H

#include <QList>
#include <QObject>

QT_BEGIN_NAMESPACE
class QFontMetrics;
class QSettings;
class QTableView;
QT_END_NAMESPACE

// The record tables' column widths. The widths were chosen for a small
// reference font; a larger font widens every column in proportion, so that
// a full time stamp fits in whatever font the desktop uses, and no column
// is ever narrower than its reference width. A width the user drags is
// remembered per column in the user's configuration folder, and the other
// tables follow the drag.
class ColumnWidths : public QObject
{
    Q_OBJECT
public:
    // Pixels in the reference font, column 0 first.
    ColumnWidths(const QList<int> &referenceWidths, QObject *parent = nullptr);

    // Sets the table's widths (remembered, or scaled to its font) and follows its drags.
    void manage(QTableView *table);

    static QList<int> scaled(const QList<int> &referenceWidths, const QFontMetrics &metrics);
    // The settings file of the remembered widths, in the user's configuration folder.
    static QString settingsPath();

private:
    void columnDragged(QTableView *table, int column, int width);

    QList<int> referenceWidths;
    QSettings *settings; // child; written back by the event loop and at the end
    QList<QTableView *> tables;
    bool following = false; // the other tables are being set to a dragged width
};

#endif // COLUMNWIDTHS_H

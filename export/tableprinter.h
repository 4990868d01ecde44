#ifndef TABLEPRINTER_H
#define TABLEPRINTER_H

#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

class QAbstractItemModel;
class QPrinter;
class QVariant;
struct ColumnInfo;

// Prints the rows of a table model as a ruled table, as many rows to a page
// as fit. Every page repeats the title, the print time and the header row
// and carries its number as "page/pages". All sizes are in the printer's
// device units; the table keeps 30 units from each side of the printable
// area and its columns share the width in the ratio of their width factors.
class TablePrinter : public QObject
{
    Q_OBJECT
public:
    // Neither the model nor the column descriptors are owned; both must
    // outlive every print. columns holds one entry per model column.
    TablePrinter(QAbstractItemModel *model, const QString &title,
                 const QList<ColumnInfo *> &columns, QObject *parent = nullptr);

    // Widths of the first count columns sharing tableWidth in the ratio of
    // their factors, each truncated. Empty when there are fewer than count
    // descriptors, a factor is negative or the factors add up to nothing.
    static QVector<int> columnWidths(int tableWidth, const QList<ColumnInfo *> &columns, int count);
    // Data rows that fit under the title, print time and header, above the
    // page number: (pageHeight - 6 lines) / line, or 0 when not one fits.
    static int rowsPerPage(int pageHeight, int lineHeight);
    static int pageCount(int rowCount, int rowsPerPage);
    // Numbers print as whole numbers, dates as "yyyy-MM-dd hh:mm:ss".
    static QString cellText(const QVariant &value);

public slots:
    // Paints the whole table onto printer, one newPage between pages. A
    // model without rows, a page too small for one row or columns that
    // cannot be sized paint nothing, and the printer is not even begun, so
    // no empty document is produced.
    void slotPaintRequested(QPrinter *printer);

private:
    QAbstractItemModel *model;
    QString title;
    QList<ColumnInfo *> columns;
};

#endif // TABLEPRINTER_H

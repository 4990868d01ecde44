#ifndef SHEETDATA_H
#define SHEETDATA_H

#include "cellrange.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVariant>

// The contents of one sheet of an unsaved workbook: the values entered in its
// cells, the number formats laid over ranges of cells and the widths of the
// columns that were auto-fitted. Rows and columns are 1-based.
class SheetData
{
public:
    // The number format under which an entered text that reads as such a
    // date and time is stored as a true date, as a spreadsheet does.
    static const QString kDateTimeFormat;

    explicit SheetData(const QString &name);

    QString name() const;
    void setName(const QString &name);

    // Takes numbers, booleans, texts, dates and anything that converts to a
    // text; an invalid value empties the cell. Returns false for a value
    // that cannot be held (the cell is then left as it was).
    bool setValue(int row, int column, const QVariant &value);
    static bool canHold(const QVariant &value);
    QVariant value(int row, int column) const;
    // Cells with a value, ordered by row, then column.
    QList<QPair<int, int>> usedCells() const;

    // Later formats win over earlier ones where they overlap.
    void setNumberFormat(const CellRange &range, const QString &format);
    QString numberFormat(int row, int column) const;

    // The smallest rectangle holding every value; A1 on an empty sheet.
    CellRange usedRange() const;
    // Sizes each column of the span to its longest shown text.
    void autoFit(int firstColumn, int lastColumn);
    // Widths in character units, only for the auto-fitted columns.
    QMap<int, double> columnWidths() const;
    // The text a cell shows, as auto-fitting measures it.
    QString shownText(int row, int column) const;

private:
    struct FormatArea
    {
        CellRange range;
        QString format;
    };

    QString sheetName;
    QMap<QPair<int, int>, QVariant> cells;
    QList<FormatArea> formats;
    QMap<int, double> widths;
};

#endif // SHEETDATA_H

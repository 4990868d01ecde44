#ifndef SHEETLAYOUT_H
#define SHEETLAYOUT_H

#include <QString>
#include <QVariantList>

class QAbstractItemModel;

// Where the export puts a channel's records on its sheet: the header in
// row 1, model row r in sheet row r + 2; "No." in column A, "Date/Time" in
// B, the other values from C to the last column. Ranges of a channel
// without records end on row 1, before they start ("B2:B1").
class SheetLayout
{
public:
    // The letter of the last column, "G" for seven; empty for no columns.
    static QString lastColumn(int columnCount);
    static QString dateRange(int rowCount);
    static QString textRange(int columnCount, int rowCount);
    static QString valueRange(int columnCount, int rowCount);
    // One list per model row of its display values, column by column; a
    // cell the model reports as invalid keeps its place as an empty value.
    static QVariantList rows(const QAbstractItemModel &model);
};

#endif // SHEETLAYOUT_H

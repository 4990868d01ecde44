#ifndef CELLRANGE_H
#define CELLRANGE_H

#include <QString>

// A rectangle of sheet cells in 1-based rows and columns, as written in
// A1 notation ("B2", "A2:G11"). A span whose last row is the row before its
// first ("B2:B1") is the empty span of a table without data rows: it holds
// no cell. Any other reversed or out-of-sheet text is not a range.
class CellRange
{
public:
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    CellRange() = default;
    CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn);

    // Returns an invalid range for anything but "A1" or "A1:B2" forms.
    static CellRange fromText(const QString &text);
    // "A" for 1, "Z" for 26, "AA" for 27; empty outside the sheet's columns.
    static QString columnName(int column);

    bool isValid() const;
    bool isEmpty() const;
    bool contains(int row, int column) const;
    int firstRow() const { return top; }
    int firstColumn() const { return left; }
    int lastRow() const { return bottom; }
    int lastColumn() const { return right; }
    int rowCount() const;
    int columnCount() const;
    QString toText() const;

private:
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;
};

#endif // CELLRANGE_H

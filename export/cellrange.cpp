#include "cellrange.h"

#include <QRegularExpression>

namespace {
constexpr int kLettersInAlphabet = 26;

int columnNumber(const QString &letters)
{
    int number = 0;
    for (const QChar letter : letters) {
        number = number * kLettersInAlphabet + (letter.unicode() - 'A' + 1);
        if (number > CellRange::kMaxColumns)
            return 0;
    }
    return number;
}

bool parseCell(const QString &text, int *row, int *column)
{
    static const QRegularExpression cellPattern(QStringLiteral("^([A-Z]{1,3})([1-9][0-9]{0,6})$"));
    const QRegularExpressionMatch match = cellPattern.match(text);
    if (!match.hasMatch())
        return false;
    *column = columnNumber(match.captured(1));
    *row = match.captured(2).toInt();
    return *column >= 1 && *row >= 1 && *row <= CellRange::kMaxRows;
}
} // namespace

CellRange::CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn)
    : top(firstRow), left(firstColumn), bottom(lastRow), right(lastColumn)
{
}

CellRange CellRange::fromText(const QString &text)
{
    const QStringList corners = text.trimmed().toUpper().split(QLatin1Char(':'));
    if (corners.size() > 2)
        return CellRange();
    int firstRow = 0;
    int firstColumn = 0;
    if (!parseCell(corners.first(), &firstRow, &firstColumn))
        return CellRange();
    int lastRow = firstRow;
    int lastColumn = firstColumn;
    if (corners.size() == 2 && !parseCell(corners.last(), &lastRow, &lastColumn))
        return CellRange();
    const CellRange range(firstRow, firstColumn, lastRow, lastColumn);
    return range.isValid() ? range : CellRange();
}

QString CellRange::columnName(int column)
{
    if (column < 1 || column > kMaxColumns)
        return QString();
    QString name;
    for (int rest = column; rest > 0; rest = (rest - 1) / kLettersInAlphabet)
        name.prepend(QChar('A' + (rest - 1) % kLettersInAlphabet));
    return name;
}

bool CellRange::isValid() const
{
    return top >= 1 && left >= 1 && right >= left && right <= kMaxColumns
           && bottom >= top - 1 && bottom <= kMaxRows;
}

bool CellRange::isEmpty() const
{
    return !isValid() || bottom < top;
}

bool CellRange::contains(int row, int column) const
{
    return !isEmpty() && row >= top && row <= bottom && column >= left && column <= right;
}

int CellRange::rowCount() const
{
    return isEmpty() ? 0 : bottom - top + 1;
}

int CellRange::columnCount() const
{
    return isValid() ? right - left + 1 : 0;
}

QString CellRange::toText() const
{
    if (!isValid())
        return QString();
    return QStringLiteral("%1%2:%3%4")
        .arg(columnName(left))
        .arg(top)
        .arg(columnName(right))
        .arg(bottom);
}

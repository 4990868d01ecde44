#include "sheetdata.h"

#include <QDateTime>

#include <algorithm>

namespace {
// Room a spreadsheet leaves around the text of an auto-fitted column, and the
// narrowest column it produces, both in character units.
constexpr double kAutoFitPaddingChars = 1.0;
constexpr double kMinimumColumnChars = 3.0;
// Characters from here on (CJK and other wide scripts) take about two cells.
constexpr ushort kFirstWideCharacter = 0x1100;
constexpr int kSignificantDigits = 15;
// The years a spreadsheet date can hold; other dates stay texts.
constexpr int kFirstDateYear = 1900;
constexpr int kLastDateYear = 9999;

bool isSheetDate(const QDateTime &when)
{
    return when.isValid() && when.date().year() >= kFirstDateYear
           && when.date().year() <= kLastDateYear;
}

double textWidthChars(const QString &text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= kFirstWideCharacter ? 2.0 : 1.0;
    return width;
}

bool isNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}
} // namespace

const QString SheetData::kDateTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

SheetData::SheetData(const QString &name) : sheetName(name)
{
}

QString SheetData::name() const
{
    return sheetName;
}

void SheetData::setName(const QString &name)
{
    sheetName = name;
}

bool SheetData::canHold(const QVariant &value)
{
    return !value.isValid() || value.isNull() || isNumber(value) || value.canConvert<QString>();
}

bool SheetData::setValue(int row, int column, const QVariant &value)
{
    if (!CellRange(row, column, row, column).isValid() || !canHold(value))
        return false;
    const QPair<int, int> cell(row, column);
    if (!value.isValid() || value.isNull()) {
        cells.remove(cell);
        return true;
    }
    QVariant stored;
    if (isNumber(value)) {
        stored = value.toDouble();
    } else if (value.userType() == QMetaType::Bool) {
        stored = value;
    } else if (value.userType() == QMetaType::QDateTime || value.userType() == QMetaType::QDate) {
        const QDateTime when = value.toDateTime();
        stored = isSheetDate(when) ? QVariant(when) : QVariant(when.toString(kDateTimeFormat));
    } else {
        const QString text = value.toString();
        const QDateTime when = QDateTime::fromString(text, kDateTimeFormat);
        stored = numberFormat(row, column) == kDateTimeFormat && isSheetDate(when)
                     ? QVariant(when)
                     : QVariant(text);
    }
    cells.insert(cell, stored);
    return true;
}

QVariant SheetData::value(int row, int column) const
{
    return cells.value(qMakePair(row, column));
}

QList<QPair<int, int>> SheetData::usedCells() const
{
    return cells.keys();
}

void SheetData::setNumberFormat(const CellRange &range, const QString &format)
{
    if (!range.isEmpty())
        formats.append({range, format});
}

QString SheetData::numberFormat(int row, int column) const
{
    for (auto area = formats.crbegin(); area != formats.crend(); ++area) {
        if (area->range.contains(row, column))
            return area->format;
    }
    return QString();
}

CellRange SheetData::usedRange() const
{
    if (cells.isEmpty())
        return CellRange(1, 1, 1, 1);
    int top = CellRange::kMaxRows;
    int left = CellRange::kMaxColumns;
    int bottom = 1;
    int right = 1;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        top = std::min(top, it.key().first);
        bottom = std::max(bottom, it.key().first);
        left = std::min(left, it.key().second);
        right = std::max(right, it.key().second);
    }
    return CellRange(top, left, bottom, right);
}

void SheetData::autoFit(int firstColumn, int lastColumn)
{
    QMap<int, double> longest;
    for (int column = firstColumn; column <= lastColumn; ++column)
        longest.insert(column, 0);
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        const int column = it.key().second;
        if (column >= firstColumn && column <= lastColumn)
            longest[column] = std::max(longest[column],
                                       textWidthChars(shownText(it.key().first, column)));
    }
    for (auto it = longest.cbegin(); it != longest.cend(); ++it)
        widths.insert(it.key(), std::max(kMinimumColumnChars, it.value() + kAutoFitPaddingChars));
}

QMap<int, double> SheetData::columnWidths() const
{
    return widths;
}

QString SheetData::shownText(int row, int column) const
{
    const QVariant held = value(row, column);
    switch (held.userType()) {
    case QMetaType::Double:
        return QString::number(held.toDouble(), 'g', kSignificantDigits);
    case QMetaType::Bool:
        return held.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QDateTime:
        return held.toDateTime().toString(kDateTimeFormat);
    default:
        return held.toString();
    }
}

#include "rangetarget.h"

#include "columnstarget.h"
#include "sheetdata.h"
#include "workbookdata.h"

RangeTarget::RangeTarget(std::shared_ptr<WorkbookData> workbook, std::shared_ptr<SheetData> sheet,
                         const CellRange &range)
    : workbook(std::move(workbook)), sheet(std::move(sheet)), range(range)
{
}

QVariant RangeTarget::call(const QString &member, const QVariantList &arguments)
{
    if (!isAlive() || arguments.size() != 1)
        return QVariant();
    if (is(member, "Value") && range.rowCount() == 1 && range.columnCount() == 1
        && sheet->setValue(range.firstRow(), range.firstColumn(), arguments.first()))
        return true;
    QString format;
    if (is(member, "SetNumberFormat") && textArgument(arguments.first(), &format)) {
        sheet->setNumberFormat(range, format);
        return true;
    }
    return QVariant();
}

std::shared_ptr<AutomationTarget> RangeTarget::query(const QString &member,
                                                     const QVariantList &arguments)
{
    if (!isAlive() || !is(member, "Columns") || !arguments.isEmpty())
        return nullptr;
    return std::make_shared<ColumnsTarget>(workbook, sheet, range.firstColumn(), range.lastColumn());
}

bool RangeTarget::write(const QString &property, const QVariant &value)
{
    if (!isAlive() || !is(property, "Value"))
        return false;
    if (value.userType() == QMetaType::QVariantList)
        return writeTable(value.toList());
    return range.rowCount() == 1 && range.columnCount() == 1
           && sheet->setValue(range.firstRow(), range.firstColumn(), value);
}

bool RangeTarget::writeTable(const QVariantList &rows)
{
    if (rows.size() != range.rowCount())
        return false;
    for (const QVariant &row : rows) {
        if (row.userType() != QMetaType::QVariantList)
            return false;
        const QVariantList cells = row.toList();
        if (cells.size() != range.columnCount())
            return false;
        for (const QVariant &cell : cells) {
            if (!SheetData::canHold(cell))
                return false;
        }
    }
    for (int r = 0; r < rows.size(); ++r) {
        const QVariantList cells = rows.at(r).toList();
        for (int c = 0; c < cells.size(); ++c)
            sheet->setValue(range.firstRow() + r, range.firstColumn() + c, cells.at(c));
    }
    return true;
}

bool RangeTarget::isAlive() const
{
    return workbook->isOpen() && workbook->holds(sheet.get());
}

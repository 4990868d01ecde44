#include "sheettarget.h"

#include "cellrange.h"
#include "rangetarget.h"
#include "sheetdata.h"
#include "workbookdata.h"

SheetTarget::SheetTarget(std::shared_ptr<WorkbookData> workbook, std::shared_ptr<SheetData> sheet)
    : workbook(std::move(workbook)), sheet(std::move(sheet))
{
}

std::shared_ptr<AutomationTarget> SheetTarget::query(const QString &member,
                                                     const QVariantList &arguments)
{
    if (!isAlive())
        return nullptr;
    CellRange range;
    int row = 0;
    int column = 0;
    QString text;
    if (is(member, "Cells") && arguments.size() == 2 && intArgument(arguments.at(0), &row)
        && intArgument(arguments.at(1), &column))
        range = CellRange(row, column, row, column);
    else if (is(member, "Range") && arguments.size() == 1 && textArgument(arguments.first(), &text))
        range = CellRange::fromText(text);
    else if (is(member, "UsedRange") && arguments.isEmpty())
        range = sheet->usedRange();
    if (!range.isValid())
        return nullptr;
    return std::make_shared<RangeTarget>(workbook, sheet, range);
}

bool SheetTarget::write(const QString &property, const QVariant &value)
{
    QString name;
    return isAlive() && is(property, "Name") && textArgument(value, &name)
           && workbook->renameSheet(sheet.get(), name);
}

bool SheetTarget::isAlive() const
{
    return workbook->isOpen() && workbook->holds(sheet.get());
}

#include "columnstarget.h"

#include "sheetdata.h"
#include "workbookdata.h"

ColumnsTarget::ColumnsTarget(std::shared_ptr<WorkbookData> workbook,
                             std::shared_ptr<SheetData> sheet, int firstColumn, int lastColumn)
    : workbook(std::move(workbook)), sheet(std::move(sheet)), firstColumn(firstColumn),
      lastColumn(lastColumn)
{
}

QVariant ColumnsTarget::call(const QString &member, const QVariantList &arguments)
{
    if (!workbook->isOpen() || !workbook->holds(sheet.get()) || !is(member, "AutoFit")
        || !arguments.isEmpty())
        return QVariant();
    sheet->autoFit(firstColumn, lastColumn);
    return true;
}

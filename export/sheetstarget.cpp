#include "sheetstarget.h"

#include "sheettarget.h"
#include "workbookdata.h"

SheetsTarget::SheetsTarget(std::shared_ptr<WorkbookData> workbook) : workbook(std::move(workbook))
{
}

QVariant SheetsTarget::call(const QString &member, const QVariantList &arguments)
{
    if (!workbook->isOpen() || !is(member, "Add") || !arguments.isEmpty())
        return QVariant();
    workbook->addSheet();
    return true;
}

std::shared_ptr<AutomationTarget> SheetsTarget::query(const QString &member,
                                                      const QVariantList &arguments)
{
    int position = 0;
    if (!workbook->isOpen() || !is(member, "Item") || arguments.size() != 1
        || !intArgument(arguments.first(), &position))
        return nullptr;
    const auto sheet = workbook->sheet(position - 1);
    return sheet ? std::make_shared<SheetTarget>(workbook, sheet) : nullptr;
}

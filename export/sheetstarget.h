#ifndef SHEETSTARGET_H
#define SHEETSTARGET_H

#include "automationtarget.h"

class WorkbookData;

// A workbook's collection of sheets.
class SheetsTarget : public AutomationTarget
{
public:
    explicit SheetsTarget(std::shared_ptr<WorkbookData> workbook);

    // "Add": a new sheet in front of the active one, which it replaces.
    QVariant call(const QString &member, const QVariantList &arguments) override;
    // "Item(int)": the sheet at a 1-based position from the left.
    std::shared_ptr<AutomationTarget> query(const QString &member,
                                            const QVariantList &arguments) override;

private:
    std::shared_ptr<WorkbookData> workbook;
};

#endif // SHEETSTARGET_H

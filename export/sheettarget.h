#ifndef SHEETTARGET_H
#define SHEETTARGET_H

#include "automationtarget.h"

class SheetData;
class WorkbookData;

// One sheet of an open workbook.
class SheetTarget : public AutomationTarget
{
public:
    SheetTarget(std::shared_ptr<WorkbookData> workbook, std::shared_ptr<SheetData> sheet);

    // "Cells(int,int)" (1-based row and column), "Range(const QString&)"
    // in A1 notation, "UsedRange": each a range of this sheet.
    std::shared_ptr<AutomationTarget> query(const QString &member,
                                            const QVariantList &arguments) override;
    // "Name": a name the workbook accepts for a sheet.
    bool write(const QString &property, const QVariant &value) override;

private:
    bool isAlive() const;

    std::shared_ptr<WorkbookData> workbook;
    std::shared_ptr<SheetData> sheet;
};

#endif // SHEETTARGET_H

#ifndef COLUMNSTARGET_H
#define COLUMNSTARGET_H

#include "automationtarget.h"

class SheetData;
class WorkbookData;

// The whole columns a range spans, by 1-based column number.
class ColumnsTarget : public AutomationTarget
{
public:
    ColumnsTarget(std::shared_ptr<WorkbookData> workbook, std::shared_ptr<SheetData> sheet,
                  int firstColumn, int lastColumn);

    // "AutoFit": sizes each column to the longest text it shows now.
    QVariant call(const QString &member, const QVariantList &arguments) override;

private:
    std::shared_ptr<WorkbookData> workbook;
    std::shared_ptr<SheetData> sheet;
    int firstColumn;
    int lastColumn;
};

#endif // COLUMNSTARGET_H

#ifndef RANGETARGET_H
#define RANGETARGET_H

#include "automationtarget.h"
#include "cellrange.h"

class SheetData;
class WorkbookData;

// A rectangle of cells of one sheet: a single cell, a range by address or
// the sheet's used range.
class RangeTarget : public AutomationTarget
{
public:
    RangeTarget(std::shared_ptr<WorkbookData> workbook, std::shared_ptr<SheetData> sheet,
                const CellRange &range);

    // "Value" with one argument, on a single cell: enters the value.
    // "SetNumberFormat(const QString&)": lays the format over every cell.
    QVariant call(const QString &member, const QVariantList &arguments) override;
    // "Columns": the columns the range spans.
    std::shared_ptr<AutomationTarget> query(const QString &member,
                                            const QVariantList &arguments) override;
    // "Value": a list with one list of values per row, exactly as many rows
    // and columns as the range has (an empty list for an empty range), or a
    // single value for a single cell. Nothing is entered unless all fits.
    bool write(const QString &property, const QVariant &value) override;

private:
    bool isAlive() const;
    bool writeTable(const QVariantList &rows);

    std::shared_ptr<WorkbookData> workbook;
    std::shared_ptr<SheetData> sheet;
    CellRange range;
};

#endif // RANGETARGET_H

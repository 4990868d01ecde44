#ifndef WORKBOOKDATA_H
#define WORKBOOKDATA_H

#include <QList>
#include <QString>

#include <memory>

class SheetData;

// An open, unsaved workbook: its sheets in tab order. A new workbook holds the one sheet "Sheet1", as a new workbook of
// a spreadsheet program does. Once closed it takes no more changes.
class WorkbookData
{
public:
    WorkbookData();

    int sheetCount() const;
    // 0-based; null outside the sheets.
    std::shared_ptr<SheetData> sheet(int index) const;
    QList<std::shared_ptr<SheetData>> sheets() const;
    bool holds(const SheetData *sheet) const;

    // Puts a new sheet in front of the active one and makes it active. The
    // active sheet is the first one: a new workbook starts on its only sheet
    // and nothing activates another, so new sheets always go to the front.
    std::shared_ptr<SheetData> addSheet();
    // Refuses names a spreadsheet refuses: empty, longer than 31 characters,
    // holding one of []:*?/\, starting or ending with an apostrophe, or in
    // use by another sheet of this workbook (case ignored).
    bool renameSheet(SheetData *sheet, const QString &name);
    static bool isValidSheetName(const QString &name);

    bool isOpen() const;
    void close();

private:
    QString unusedSheetName() const;
    bool nameInUse(const QString &name, const SheetData *except) const;

    QList<std::shared_ptr<SheetData>> sheetList;
    bool open = true;
};

#endif // WORKBOOKDATA_H

#ifndef APPLICATIONTARGET_H
#define APPLICATIONTARGET_H

#include "automationtarget.h"

#include <QList>

class WorkbookData;

// The spreadsheet application behind "Excel.Application": an invisible
// program that holds open workbooks in memory until they are saved. It
// never shows a window and never asks the user anything.
class ApplicationTarget : public AutomationTarget,
                          public std::enable_shared_from_this<ApplicationTarget>
{
public:
    // "SetVisible(bool)" with false; "Quit", which closes every workbook
    // unsaved and ends the application.
    QVariant call(const QString &member, const QVariantList &arguments) override;
    // "Workbooks"; "ActiveWorkBook", the workbook opened last and still open.
    std::shared_ptr<AutomationTarget> query(const QString &member,
                                            const QVariantList &arguments) override;
    // "DisplayAlerts": accepted either way, as there are no alerts to show.
    bool write(const QString &property, const QVariant &value) override;

    // Null once the application has quit.
    std::shared_ptr<WorkbookData> addWorkbook();

private:
    std::shared_ptr<WorkbookData> activeWorkbook() const;

    QList<std::shared_ptr<WorkbookData>> workbooks;
    bool running = true;
};

#endif // APPLICATIONTARGET_H

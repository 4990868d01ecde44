#ifndef WORKBOOKSTARGET_H
#define WORKBOOKSTARGET_H

#include "automationtarget.h"

class ApplicationTarget;

// The application's collection of open workbooks.
class WorkbooksTarget : public AutomationTarget
{
public:
    explicit WorkbooksTarget(std::shared_ptr<ApplicationTarget> application);

    // "Add": opens a new workbook, which becomes the active one.
    QVariant call(const QString &member, const QVariantList &arguments) override;

private:
    std::shared_ptr<ApplicationTarget> application;
};

#endif // WORKBOOKSTARGET_H

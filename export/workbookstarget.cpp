#include "workbookstarget.h"

#include "applicationtarget.h"

WorkbooksTarget::WorkbooksTarget(std::shared_ptr<ApplicationTarget> application)
    : application(std::move(application))
{
}

QVariant WorkbooksTarget::call(const QString &member, const QVariantList &arguments)
{
    if (is(member, "Add") && arguments.isEmpty() && application->addWorkbook())
        return true;
    return QVariant();
}

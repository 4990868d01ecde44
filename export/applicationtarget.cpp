#include "applicationtarget.h"

#include "workbookdata.h"
#include "workbookstarget.h"
#include "workbooktarget.h"

QVariant ApplicationTarget::call(const QString &member, const QVariantList &arguments)
{
    if (!running)
        return QVariant();
    bool visible = true;
    if (is(member, "SetVisible") && arguments.size() == 1 && boolArgument(arguments.first(), &visible)
        && !visible)
        return true;
    if (is(member, "Quit") && arguments.isEmpty()) {
        for (const auto &workbook : qAsConst(workbooks))
            workbook->close();
        workbooks.clear();
        running = false;
        return true;
    }
    return QVariant();
}

std::shared_ptr<AutomationTarget> ApplicationTarget::query(const QString &member,
                                                           const QVariantList &arguments)
{
    if (!running || !arguments.isEmpty())
        return nullptr;
    if (is(member, "Workbooks"))
        return std::make_shared<WorkbooksTarget>(shared_from_this());
    if (is(member, "ActiveWorkBook")) {
        const auto active = activeWorkbook();
        return active ? std::make_shared<WorkbookTarget>(active) : nullptr;
    }
    return nullptr;
}

bool ApplicationTarget::write(const QString &property, const QVariant &value)
{
    bool alerts = false;
    return running && is(property, "DisplayAlerts") && boolArgument(value, &alerts);
}

std::shared_ptr<WorkbookData> ApplicationTarget::addWorkbook()
{
    if (!running)
        return nullptr;
    auto added = std::make_shared<WorkbookData>();
    workbooks.append(added);
    return added;
}

std::shared_ptr<WorkbookData> ApplicationTarget::activeWorkbook() const
{
    for (auto it = workbooks.crbegin(); it != workbooks.crend(); ++it) {
        if ((*it)->isOpen())
            return *it;
    }
    return nullptr;
}

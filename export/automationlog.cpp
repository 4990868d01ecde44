#include "automationlog.h"

void AutomationLog::setEnabled(bool enabled)
{
    enabledFlag() = enabled;
}

bool AutomationLog::isEnabled()
{
    return enabledFlag();
}

void AutomationLog::clear()
{
    entries().clear();
}

QList<AutomationCall> AutomationLog::calls()
{
    return entries();
}

void AutomationLog::record(const AutomationCall &call)
{
    if (enabledFlag())
        entries().append(call);
}

bool &AutomationLog::enabledFlag()
{
    static bool enabled = false;
    return enabled;
}

QList<AutomationCall> &AutomationLog::entries()
{
    static QList<AutomationCall> recorded;
    return recorded;
}

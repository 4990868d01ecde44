#ifndef AUTOMATIONLOG_H
#define AUTOMATIONLOG_H

#include "automationcall.h"

#include <QList>

// Records every call made on automation objects while enabled, so that a
// test can read back the exact sequence. Off unless a test switches it on;
// GUI thread only.
class AutomationLog
{
public:
    static void setEnabled(bool enabled);
    static bool isEnabled();
    static void clear();
    static QList<AutomationCall> calls();

    static void record(const AutomationCall &call);

private:
    static bool &enabledFlag();
    static QList<AutomationCall> &entries();
};

#endif // AUTOMATIONLOG_H

#ifndef AUTOMATIONCALL_H
#define AUTOMATIONCALL_H

#include <QString>
#include <QVariantList>

// One call made on an automation object, as the call log keeps it.
struct AutomationCall
{
    // The object's path from its application, such as
    // "Excel.Application.ActiveWorkBook.Sheets.Item(1)".
    QString object;
    // "setControl", "dynamicCall", "querySubObject" or "setProperty".
    QString operation;
    // The member as the caller named it, signature included.
    QString member;
    QVariantList arguments;
};

#endif // AUTOMATIONCALL_H

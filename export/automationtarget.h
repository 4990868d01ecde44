#ifndef AUTOMATIONTARGET_H
#define AUTOMATIONTARGET_H

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

// The object behind an AutomationObject: one kind of spreadsheet object
// (application, workbook, sheet, range ...). Members are matched by name,
// case ignored, as automation does. Every member a target does not know,
// and every argument it cannot use, is refused: a call gives an invalid
// variant, a query gives null and a property write gives false.
class AutomationTarget
{
public:
    virtual ~AutomationTarget();

    // Members that return nothing of their own give true when they worked.
    virtual QVariant call(const QString &member, const QVariantList &arguments);
    virtual std::shared_ptr<AutomationTarget> query(const QString &member,
                                                    const QVariantList &arguments);
    virtual bool write(const QString &property, const QVariant &value);

protected:
    static bool is(const QString &member, const char *name);
    // Only true integers count: a text or a fraction is not a position.
    static bool intArgument(const QVariant &argument, int *value);
    static bool boolArgument(const QVariant &argument, bool *value);
    static bool textArgument(const QVariant &argument, QString *value);
};

#endif // AUTOMATIONTARGET_H

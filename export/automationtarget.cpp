#include "automationtarget.h"

AutomationTarget::~AutomationTarget() = default;

QVariant AutomationTarget::call(const QString &, const QVariantList &)
{
    return QVariant();
}

std::shared_ptr<AutomationTarget> AutomationTarget::query(const QString &, const QVariantList &)
{
    return nullptr;
}

bool AutomationTarget::write(const QString &, const QVariant &)
{
    return false;
}

bool AutomationTarget::is(const QString &member, const char *name)
{
    return member.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool AutomationTarget::intArgument(const QVariant &argument, int *value)
{
    switch (argument.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        bool ok = false;
        *value = argument.toInt(&ok);
        return ok;
    }
    default:
        return false;
    }
}

bool AutomationTarget::boolArgument(const QVariant &argument, bool *value)
{
    if (argument.userType() != QMetaType::Bool)
        return false;
    *value = argument.toBool();
    return true;
}

bool AutomationTarget::textArgument(const QVariant &argument, QString *value)
{
    if (argument.userType() != QMetaType::QString)
        return false;
    *value = argument.toString();
    return true;
}

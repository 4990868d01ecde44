#include "automationobject.h"

#include "applicationtarget.h"
#include "automationlog.h"
#include "exportlogging.h"
#include "membersignature.h"

#include <QDynamicPropertyChangeEvent>

namespace {
const QString kApplicationControl = QStringLiteral("Excel.Application");

QVariantList argumentList(std::initializer_list<const QVariant *> given)
{
    QVariantList arguments;
    for (const QVariant *argument : given) {
        if (!argument->isValid())
            break;
        arguments.append(*argument);
    }
    return arguments;
}

// "Item(1)", "Range(\"B2:B5\")": how a sub-object shows in a path.
QString describe(const QString &name, const QVariantList &arguments)
{
    if (arguments.isEmpty())
        return name;
    QStringList shown;
    for (const QVariant &argument : arguments) {
        shown.append(argument.userType() == QMetaType::QString
                          ? QStringLiteral("\"%1\"").arg(argument.toString())
                          : argument.toString());
    }
    return QStringLiteral("%1(%2)").arg(name, shown.join(QLatin1Char(',')));
}
} // namespace

AutomationObject::AutomationObject(QObject *parent) : QObject(parent)
{
}

AutomationObject::AutomationObject(std::shared_ptr<AutomationTarget> target, const QString &path,
                                   QObject *parent)
    : QObject(parent), target(std::move(target)), path(path)
{
}

AutomationObject::~AutomationObject() = default;

bool AutomationObject::setControl(const QString &control)
{
    record(QStringLiteral("setControl"), control, QVariantList());
    target.reset();
    path.clear();
    if (!applicationAvailable() || control.compare(kApplicationControl, Qt::CaseInsensitive) != 0) {
        qCWarning(lcExport) << "no automation server is registered as" << control;
        return false;
    }
    target = std::make_shared<ApplicationTarget>();
    path = kApplicationControl;
    return true;
}

void AutomationObject::setApplicationAvailable(bool available)
{
    applicationAvailable() = available;
}

bool &AutomationObject::applicationAvailable()
{
    static bool available = true;
    return available;
}

QString AutomationObject::control() const
{
    return path;
}

QVariant AutomationObject::dynamicCall(const char *function, const QVariant &a1,
                                       const QVariant &a2, const QVariant &a3, const QVariant &a4,
                                       const QVariant &a5, const QVariant &a6)
{
    const QString member = QString::fromLatin1(function);
    const QVariantList arguments = argumentList({&a1, &a2, &a3, &a4, &a5, &a6});
    record(QStringLiteral("dynamicCall"), member, arguments);
    const MemberSignature signature(member);
    QVariant result;
    if (target && signature.accepts(arguments.size()))
        result = target->call(signature.name(), arguments);
    if (!result.isValid())
        qCWarning(lcExport) << path << "refused the call" << member << arguments;
    return result;
}

AutomationObject *AutomationObject::querySubObject(const char *name, const QVariant &a1,
                                                   const QVariant &a2)
{
    const QString member = QString::fromLatin1(name);
    const QVariantList arguments = argumentList({&a1, &a2});
    record(QStringLiteral("querySubObject"), member, arguments);
    const MemberSignature signature(member);
    std::shared_ptr<AutomationTarget> found;
    if (target && signature.accepts(arguments.size()))
        found = target->query(signature.name(), arguments);
    if (!found) {
        qCWarning(lcExport) << path << "has no sub-object" << member << arguments;
        return nullptr;
    }
    return new AutomationObject(found, path + QLatin1Char('.') + describe(signature.name(), arguments),
                                this);
}

bool AutomationObject::event(QEvent *event)
{
    if (event->type() != QEvent::DynamicPropertyChange)
        return QObject::event(event);
    const QByteArray name = static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName();
    const QVariant value = property(name.constData());
    // Removing the property below comes back here without a value.
    if (value.isValid()) {
        writeProperty(QString::fromLatin1(name), value);
        setProperty(name.constData(), QVariant());
    }
    return true;
}

void AutomationObject::writeProperty(const QString &property, const QVariant &value)
{
    record(QStringLiteral("setProperty"), property, QVariantList{value});
    if (!target || !target->write(property, value))
        qCWarning(lcExport) << path << "refused the property" << property << value;
}

void AutomationObject::record(const QString &operation, const QString &member,
                              const QVariantList &arguments) const
{
    qCDebug(lcExport) << path << operation << member << arguments;
    AutomationLog::record({path, operation, member, arguments});
}

#ifndef AUTOMATIONOBJECT_H
#define AUTOMATIONOBJECT_H

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class AutomationTarget;

// A spreadsheet program driven by calls by name: setControl starts it,
// dynamicCall calls a member, querySubObject reaches a sub-object and
// QObject::setProperty sets one of its properties ("DisplayAlerts", "Name",
// "Value"). The program is an in-process workbook model that libxlsxwriter
// saves; "Excel.Application" is its only control name.
//
// A member or argument the program does not know is refused, never guessed
// at: dynamicCall gives an invalid variant, querySubObject gives null and
// the refusal is logged (category luma.export). Members that return nothing
// of their own give true. Sub-objects belong to the object they were
// queried from. Every call is recorded in AutomationLog.
class AutomationObject : public QObject
{
    Q_OBJECT
public:
    explicit AutomationObject(QObject *parent = nullptr);
    ~AutomationObject() override;

    bool setControl(const QString &control);
    // Stands in for a computer without the spreadsheet program: while false,
    // "Excel.Application" cannot be started either. True from the start.
    static void setApplicationAvailable(bool available);
    // The object's path from its application; empty without a control.
    QString control() const;

    // Arguments stop at the first invalid one.
    QVariant dynamicCall(const char *function, const QVariant &a1 = QVariant(),
                         const QVariant &a2 = QVariant(), const QVariant &a3 = QVariant(),
                         const QVariant &a4 = QVariant(), const QVariant &a5 = QVariant(),
                         const QVariant &a6 = QVariant());
    AutomationObject *querySubObject(const char *name, const QVariant &a1 = QVariant(),
                                     const QVariant &a2 = QVariant());

protected:
    // Catches QObject::setProperty: the property goes to the program and is
    // not kept on this object.
    bool event(QEvent *event) override;

private:
    static bool &applicationAvailable();

    AutomationObject(std::shared_ptr<AutomationTarget> target, const QString &path,
                     QObject *parent);

    void writeProperty(const QString &property, const QVariant &value);
    void record(const QString &operation, const QString &member,
                const QVariantList &arguments) const;

    std::shared_ptr<AutomationTarget> target;
    QString path;
};

#endif // AUTOMATIONOBJECT_H

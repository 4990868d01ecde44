#ifndef TESTDRIVERCONTROL_H
#define TESTDRIVERCONTROL_H

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtPlugin>

// What a test may do with the test driver plug-in besides the driver
// interfaces: read the calls the application made, and set the state the
// driver reports. Signals are emitted with QMetaObject::invokeMethod on the
// plug-in object (see TestDriverHandle).
class TestDriverControl
{
public:
    virtual ~TestDriverControl() = default;

    // Every call through the driver interfaces, in order, as "name(arguments)",
    // for example "setVoltage(12.5)", "portType()", "open(device)".
    virtual QStringList calls() const = 0;
    virtual void clearCalls() = 0;
    // Back to the driver's defaults, with no calls recorded.
    virtual void reset() = 0;
    // Sets a held value without recording a call. Keys: "skipRepeat",
    // "sampleRate", "samplePoints", "infinite", "outputOn", "currentChannel",
    // "serialPortNum", "portType", "openResult".
    virtual void preset(const QString &key, const QVariant &value) = 0;
};

#define TestDriverControl_iid "org.luma4200.tests.TestDriverControl"
Q_DECLARE_INTERFACE(TestDriverControl, TestDriverControl_iid)

#endif // TESTDRIVERCONTROL_H

#ifndef TESTDRIVERHANDLE_H
#define TESTDRIVERHANDLE_H

#include "testdrivercontrol.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>
#include <QtTest>

// The test driver plug-in as the application's discovery loads it: the same
// file in Lib/ beside the test executable, hence the same instance.
class TestDriverHandle
{
public:
    TestDriverHandle()
    {
        QDir lib(QCoreApplication::applicationDirPath() + QStringLiteral("/Lib"));
        const QStringList files = lib.entryList({QStringLiteral("*.so")}, QDir::Files);
        if (!files.isEmpty()) {
            QPluginLoader loader(lib.absoluteFilePath(files.first()));
            object = loader.instance();
            control = qobject_cast<TestDriverControl *>(object);
        }
    }

    bool isValid() const { return control != nullptr; }

    // Emits a signal of the driver object, as the real driver would on the GUI thread.
    template <typename... Args>
    void emitSignal(const char *name, Args... args)
    {
        QVERIFY(QMetaObject::invokeMethod(object, name, Qt::DirectConnection, args...));
    }

    QObject *object = nullptr;
    TestDriverControl *control = nullptr;
};

#endif // TESTDRIVERHANDLE_H

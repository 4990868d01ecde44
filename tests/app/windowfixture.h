#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include "columnwidths.h"
#include "fakerecord.h"
#include "mainwindow.h"
#include "testdriverhandle.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A shown main window over a freshly reset test driver, with helpers to find
// its widgets by name and to deliver readings as the driver would.
class WindowFixture
{
public:
    // Starts without a settings file unless the test has written one on purpose.
    explicit WindowFixture(bool keepOptionsFile = false)
    {
        // The session logs and the remembered column widths go to folders of the test's own.
        qputenv("XDG_DATA_HOME", dataHome().path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", configHome().path().toLocal8Bit());
        if (!keepOptionsFile) {
            QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));
            QFile::remove(ColumnWidths::settingsPath());
        }
        driver.control->reset();
        window.reset(new MainWindow);
        window->show();
        driver.control->clearCalls();
    }

    template <typename T>
    T *find(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }

    // Calls other than the getters the window reads on its own.
    QStringList commands() const
    {
        QStringList result;
        for (const QString &call : driver.control->calls()) {
            if (!call.endsWith(QLatin1String("()")) || call == QLatin1String("close()"))
                result << call;
        }
        return result;
    }

    // One reading per channel, channel 1 first, as the driver delivers them.
    static QList<DmmData *> reading(double volts = 12.0, int count = 3)
    {
        QList<DmmData *> records;
        for (int i = 0; i < count; ++i) {
            auto record = new FakeRecord;
            record->volts = volts + i;
            record->voltsText = QString::number(volts + i, 'f', 2);
            record->amps = 0.5;
            record->ampsText = QStringLiteral("0.500");
            record->watts = (volts + i) * 0.5;
            record->wattsText = QString::number(record->watts, 'f', 2);
            records << record;
        }
        return records;
    }

    void deliver(const QList<DmmData *> &records)
    {
        driver.emitSignal("updateData", Q_ARG(QList<DmmData *>, records));
    }

    // Lives until the test process ends, then goes with everything in it.
    static QTemporaryDir &dataHome()
    {
        static QTemporaryDir dir;
        return dir;
    }
    static QTemporaryDir &configHome()
    {
        static QTemporaryDir dir;
        return dir;
    }

    TestDriverHandle driver;
    QScopedPointer<MainWindow> window;
};

#endif // WINDOWFIXTURE_H

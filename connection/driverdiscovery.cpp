#include "driverdiscovery.h"

#include "idmm.h"
#include "imydmm.h"
#include "iserialdev.h"
#include "ivisaserial.h"
#include "ivisausb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>

Q_LOGGING_CATEGORY(lcDiscovery, "luma.connection.discovery", QtInfoMsg)

namespace {
// The shared-library suffix of this platform.
#if defined(Q_OS_WIN)
const QString kPluginSuffix = QStringLiteral("dll");
#elif defined(Q_OS_MACOS)
const QString kPluginSuffix = QStringLiteral("dylib");
#else
const QString kPluginSuffix = QStringLiteral("so");
#endif
} // namespace

DriverInterfaces DriverDiscovery::discover()
{
    DriverInterfaces found;
    QDir dir(QCoreApplication::applicationDirPath());
    if (!dir.cd(QStringLiteral("Lib")))
        qCDebug(lcDiscovery) << "no Lib directory, scanning" << dir.absolutePath();

    const QFileInfoList entries = dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix().toLower() != kPluginSuffix)
            continue;
        QPluginLoader loader(entry.absoluteFilePath());
        QObject *plugin = loader.instance();
        if (!plugin) {
            qCDebug(lcDiscovery) << "skipped" << entry.fileName() << loader.errorString();
            continue;
        }
        if (auto serialDev = qobject_cast<ISerialDev *>(plugin)) {
            found.serialDev = serialDev;
            if (auto usb = qobject_cast<IVISAUSB *>(plugin))
                found.visaUsb = usb;
            if (auto serial = qobject_cast<IVISASerial *>(plugin))
                found.visaSerial = serial;
        }
        if (auto dmm = qobject_cast<IDmm *>(plugin))
            found.dmm = dmm;
        if (auto myDmm = qobject_cast<IMyDmm *>(plugin))
            found.myDmm = myDmm;
    }
    return found;
}

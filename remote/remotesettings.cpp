#include "remotesettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kPortKey = QStringLiteral("Scpi/Port");
const QString kAddressKey = QStringLiteral("Scpi/ListenAddress");

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/remote.ini");
}
} // namespace

const QString RemoteSettings::kDefaultAddress = QStringLiteral("127.0.0.1");

RemoteSettings RemoteSettings::load()
{
    const QSettings file(filePath(), QSettings::IniFormat);
    RemoteSettings settings;
    bool ok = false;
    const uint port = file.value(kPortKey).toUInt(&ok);
    if (ok && port <= 0xFFFF)
        settings.port = quint16(port);
    const QString address = file.value(kAddressKey).toString().trimmed();
    if (!address.isEmpty())
        settings.address = address;
    return settings;
}

bool RemoteSettings::save() const
{
    QSettings file(filePath(), QSettings::IniFormat);
    file.setValue(kPortKey, port);
    file.setValue(kAddressKey, address);
    file.sync();
    return file.status() == QSettings::NoError;
}

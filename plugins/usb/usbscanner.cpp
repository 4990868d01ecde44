#include "usbscanner.h"

#include "virtualbus.h"

#include <QDir>
#include <QSerialPortInfo>

#include <sys/stat.h>

namespace {
bool isSocket(const QString &path)
{
    struct stat info;
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 && S_ISSOCK(info.st_mode);
}
} // namespace

QList<UsbCandidate> UsbScanner::scan()
{
    QList<UsbCandidate> found;
    const QDir dev(QStringLiteral("/dev"));
    const QStringList tmcs = dev.entryList({QStringLiteral("usbtmc*")}, QDir::System, QDir::Name);
    for (const QString &name : tmcs)
        found.append({UsbCandidate::Usbtmc, dev.filePath(name)});

    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        if (port.hasVendorIdentifier() && port.vendorIdentifier() == kVendorId && port.hasProductIdentifier()
            && port.productIdentifier() == kProductId)
            found.append({UsbCandidate::UsbSerial, port.systemLocation()});
    }

    const QString virtualPath = VirtualBus::socketPath();
    if (isSocket(virtualPath))
        found.append({UsbCandidate::Virtual, virtualPath});
    return found;
}

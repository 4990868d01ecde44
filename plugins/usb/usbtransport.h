#ifndef USBTRANSPORT_H
#define USBTRANSPORT_H

#include "ilinedevice.h"
#include "iserialdev.h"
#include "ivisausb.h"

#include <QObject>

class QIODevice;
class StreamLink;
class UsbtmcLink;

// The USB transport: opens the first instrument that UsbScanner finds and
// reports the number found with usbRefreshed(int) at every open.
class UsbTransport : public QObject, public ISerialDev, public IVISAUSB, public ILineDevice
{
    Q_OBJECT
    Q_INTERFACES(ISerialDev IVISAUSB ILineDevice)

public:
    // How long a connection to the virtual bus may take before the next candidate is tried.
    static constexpr int kConnectTimeoutMs = 1000;

    explicit UsbTransport(QObject *parent = nullptr);
    ~UsbTransport() override;

    // ISerialDev, IVISAUSB, ILineDevice
    QObject *object() override { return this; }

    // ILineDevice
    bool openDevice() override;
    QString openError() const override { return m_openError; }
    void closeDevice() override;
    bool isDeviceOpen() const override;
    bool writeLine(const QByteArray &line) override;
    QString deviceName() const override { return m_deviceName; }

signals:
    void usbRefreshed(int count);
    void lineReceived(const QByteArray &line);
    void lost(const QString &reason);

private:
    bool openStream(QIODevice *device, const QString &name);
    bool openSerial(const QString &path);
    bool openVirtual(const QString &path);
    bool openUsbtmc(const QString &path);
    void onFailed(const QString &reason);

    QString m_deviceName;
    QString m_openError;
    QIODevice *m_stream = nullptr; // serial port or local socket, when one is open
    StreamLink *m_link = nullptr;
    UsbtmcLink *m_tmc = nullptr;
};

#endif // USBTRANSPORT_H

#ifndef SERIALTRANSPORT_H
#define SERIALTRANSPORT_H

#include "ilinedevice.h"
#include "iserialdev.h"
#include "ivisaserial.h"

#include <QObject>

class QSerialPort;
class StreamLink;

// The RS232 transport: the instrument's line settings on the port named by
// setPortName (a name such as "ttyUSB0" or a full device path).
class SerialTransport : public QObject, public ISerialDev, public IVISASerial, public ILineDevice
{
    Q_OBJECT
    Q_INTERFACES(ISerialDev IVISASerial ILineDevice)

public:
    static constexpr qint32 kBaudRate = 115200;

    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    // ISerialDev, IVISASerial, ILineDevice
    QObject *object() override { return this; }

    // IVISASerial
    void setPortName(QString name) override;

    // ILineDevice
    bool openDevice() override;
    QString openError() const override { return m_openError; }
    void closeDevice() override;
    bool isDeviceOpen() const override;
    bool writeLine(const QByteArray &line) override;
    QString deviceName() const override { return m_portName; }

signals:
    void usbRefreshed(int count);
    void lineReceived(const QByteArray &line);
    void lost(const QString &reason);

private:
    void onLinkFailed(const QString &reason);

    QString m_portName;
    QString m_openError;
    QSerialPort *m_port = nullptr;
    StreamLink *m_link = nullptr;
};

#endif // SERIALTRANSPORT_H

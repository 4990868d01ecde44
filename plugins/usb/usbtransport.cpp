#include "usbtransport.h"

#include "streamlink.h"
#include "usbscanner.h"
#include "usbtmclink.h"

#include <QLocalSocket>
#include <QLoggingCategory>
#include <QSerialPort>

Q_LOGGING_CATEGORY(lcUsb, "luma.transport.usb", QtInfoMsg)

namespace {
constexpr qint32 kUsbSerialBaudRate = 115200;
} // namespace

UsbTransport::UsbTransport(QObject *parent)
    : QObject(parent)
    , m_link(new StreamLink(this))
    , m_tmc(new UsbtmcLink(this))
{
    connect(m_link, &StreamLink::lineReceived, this, &UsbTransport::lineReceived);
    connect(m_link, &StreamLink::failed, this, &UsbTransport::onFailed);
    connect(m_tmc, &UsbtmcLink::lineReceived, this, &UsbTransport::lineReceived);
    connect(m_tmc, &UsbtmcLink::failed, this, &UsbTransport::onFailed);
}

UsbTransport::~UsbTransport()
{
    closeDevice();
}

bool UsbTransport::openDevice()
{
    closeDevice();
    const QList<UsbCandidate> candidates = UsbScanner::scan();
    qCDebug(lcUsb) << candidates.size() << "instrument(s) on the bus";
    emit usbRefreshed(candidates.size());
    m_openError = tr("No LUMA4200 was found on the USB bus. Check the cable and that the instrument is on.");
    for (const UsbCandidate &candidate : candidates) {
        bool ok = false;
        switch (candidate.kind) {
        case UsbCandidate::Usbtmc:
            ok = openUsbtmc(candidate.path);
            break;
        case UsbCandidate::UsbSerial:
            ok = openSerial(candidate.path);
            break;
        case UsbCandidate::Virtual:
            ok = openVirtual(candidate.path);
            break;
        }
        if (ok) {
            m_deviceName = candidate.path;
            m_openError.clear();
            qCDebug(lcUsb) << "opened" << candidate.path;
            return true;
        }
    }
    return false;
}

bool UsbTransport::openStream(QIODevice *device, const QString &name)
{
    m_stream = device;
    m_link->attach(device);
    connect(device, &QIODevice::readChannelFinished, this, [this, name] {
        m_link->fail(tr("The USB instrument %1 closed the connection.").arg(name));
    });
    return true;
}

bool UsbTransport::openSerial(const QString &path)
{
    auto port = new QSerialPort(path, this);
    port->setBaudRate(kUsbSerialBaudRate);
    if (!port->open(QIODevice::ReadWrite)) {
        qCInfo(lcUsb) << "cannot open" << path << port->errorString();
        m_openError = tr("The USB instrument %1 cannot be opened: %2").arg(path, port->errorString());
        delete port;
        return false;
    }
    port->clear();
    connect(port, &QSerialPort::errorOccurred, this, [this, port, path](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError)
            m_link->fail(tr("The USB instrument %1 failed: %2").arg(path, port->errorString()));
    });
    return openStream(port, path);
}

bool UsbTransport::openVirtual(const QString &path)
{
    auto socket = new QLocalSocket(this);
    socket->connectToServer(path);
    if (!socket->waitForConnected(kConnectTimeoutMs)) {
        qCInfo(lcUsb) << "cannot connect to" << path << socket->errorString();
        m_openError = tr("The simulated USB instrument %1 cannot be reached: %2").arg(path, socket->errorString());
        delete socket;
        return false;
    }
    connect(socket, &QLocalSocket::disconnected, this, [this, path] {
        m_link->fail(tr("The USB instrument %1 was disconnected.").arg(path));
    });
    connect(socket, &QLocalSocket::errorOccurred, this, [this, socket, path] {
        m_link->fail(tr("The USB instrument %1 failed: %2").arg(path, socket->errorString()));
    });
    return openStream(socket, path);
}

bool UsbTransport::openUsbtmc(const QString &path)
{
    if (m_tmc->open(path))
        return true;
    m_openError = tr("The USB instrument %1 cannot be opened: %2").arg(path, m_tmc->openError());
    return false;
}

void UsbTransport::closeDevice()
{
    m_link->detach();
    m_tmc->close();
    if (!m_stream)
        return;
    m_stream->disconnect(this);
    m_stream->close();
    m_stream->deleteLater();
    m_stream = nullptr;
}

bool UsbTransport::isDeviceOpen() const
{
    return (m_stream && m_stream->isOpen()) || m_tmc->isOpen();
}

bool UsbTransport::writeLine(const QByteArray &line)
{
    if (m_tmc->isOpen())
        return m_tmc->writeLine(line);
    return m_link->writeLine(line);
}

void UsbTransport::onFailed(const QString &reason)
{
    qCInfo(lcUsb) << reason;
    closeDevice();
    emit lost(reason);
}

#include "serialtransport.h"

#include "streamlink.h"

#include <QLoggingCategory>
#include <QSerialPort>

Q_LOGGING_CATEGORY(lcSerial, "luma.transport.serial", QtInfoMsg)

SerialTransport::SerialTransport(QObject *parent)
    : QObject(parent)
    , m_link(new StreamLink(this))
{
    connect(m_link, &StreamLink::lineReceived, this, &SerialTransport::lineReceived);
    connect(m_link, &StreamLink::failed, this, &SerialTransport::onLinkFailed);
}

SerialTransport::~SerialTransport()
{
    closeDevice();
}

void SerialTransport::setPortName(QString name)
{
    m_portName = name.trimmed();
}

bool SerialTransport::openDevice()
{
    closeDevice();
    if (m_portName.isEmpty()) {
        m_openError = tr("No serial port is chosen.");
        qCInfo(lcSerial) << m_openError;
        return false;
    }
    m_port = new QSerialPort(m_portName, this);
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_openError = tr("The serial port %1 cannot be opened: %2").arg(m_portName, m_port->errorString());
        qCInfo(lcSerial) << m_openError;
        delete m_port;
        m_port = nullptr;
        return false;
    }
    m_openError.clear();
    m_port->clear();
    m_link->attach(m_port);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // Read/write errors and a vanished device end the line; timeouts do not.
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError
            || error == QSerialPort::WriteError || error == QSerialPort::PermissionError) {
            m_link->fail(tr("The serial port %1 was lost (error %2).").arg(m_portName).arg(int(error)));
        }
    });
    qCDebug(lcSerial) << "opened" << m_portName;
    return true;
}

void SerialTransport::closeDevice()
{
    m_link->detach();
    if (!m_port)
        return;
    m_port->disconnect(this);
    m_port->close();
    m_port->deleteLater();
    m_port = nullptr;
}

bool SerialTransport::isDeviceOpen() const
{
    return m_port && m_port->isOpen();
}

bool SerialTransport::writeLine(const QByteArray &line)
{
    return m_link->writeLine(line);
}

void SerialTransport::onLinkFailed(const QString &reason)
{
    qCInfo(lcSerial) << reason;
    closeDevice();
    emit lost(reason);
}

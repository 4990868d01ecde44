#include "streamlink.h"

#include <QIODevice>

StreamLink::StreamLink(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
}

void StreamLink::attach(QIODevice *device)
{
    detach();
    m_device = device;
    m_failing = false;
    m_buffer.clear();
    connect(device, &QIODevice::readyRead, this, &StreamLink::readAvailable);
}

void StreamLink::detach()
{
    if (m_device)
        disconnect(m_device, nullptr, this, nullptr);
    m_device.clear();
    m_buffer.clear();
}

bool StreamLink::writeLine(const QByteArray &line)
{
    if (!m_device || !m_device->isOpen() || m_failing)
        return false;
    return m_device->write(line + '\n') == line.size() + 1;
}

void StreamLink::fail(const QString &reason)
{
    if (!m_device || m_failing)
        return;
    m_failing = true;
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            if (!m_failing || !m_device)
                return;
            detach();
            emit failed(reason);
        },
        Qt::QueuedConnection);
}

void StreamLink::readAvailable()
{
    if (!m_device)
        return;
    const QByteArray data = m_device->readAll();
    const QList<QByteArray> lines = m_buffer.append(data, m_clock.elapsed());
    for (const QByteArray &line : lines) {
        // A receiver may close the device while handling a line.
        if (!m_device)
            return;
        emit lineReceived(line);
    }
}

#include "usbtmclink.h"

#include <QLoggingCategory>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <unistd.h>

Q_DECLARE_LOGGING_CATEGORY(lcUsb)

namespace {
constexpr int kReadChunkBytes = 4096;
} // namespace

UsbtmcLink::UsbtmcLink(QObject *parent)
    : QObject(parent)
{
}

UsbtmcLink::~UsbtmcLink()
{
    close();
}

bool UsbtmcLink::open(const QString &path)
{
    close();
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        m_openError = QString::fromLocal8Bit(std::strerror(errno));
        qCInfo(lcUsb) << "cannot open" << path << m_openError;
        return false;
    }
    unsigned timeout = kTransferTimeoutMs;
    ::ioctl(fd, USBTMC_IOCTL_SET_TIMEOUT, &timeout);
    m_fd = fd;
    m_closed = std::make_shared<std::atomic_bool>(false);
    m_thread = new QThread(this);
    m_worker = new QObject;
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
    return true;
}

void UsbtmcLink::close()
{
    if (m_fd < 0)
        return;
    m_closed->store(true);
    m_thread->quit();
    // Bounded: a transfer in progress ends within the device time-out.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_worker = nullptr;
    ::close(m_fd);
    m_fd = -1;
}

bool UsbtmcLink::writeLine(const QByteArray &line)
{
    if (m_fd < 0)
        return false;
    const QByteArray header = line.trimmed().split(' ').value(0);
    const bool query = header.endsWith('?');
    QMetaObject::invokeMethod(m_worker, [this, line, query] { transact(line, query); }, Qt::QueuedConnection);
    return true;
}

// Runs on the worker thread; touches only the descriptor and posts results back.
void UsbtmcLink::transact(const QByteArray &line, bool query)
{
    const std::shared_ptr<std::atomic_bool> closed = m_closed;
    if (closed->load())
        return;
    const QByteArray out = line + '\n';
    if (::write(m_fd, out.constData(), size_t(out.size())) != out.size()) {
        const QString reason = tr("The USB instrument failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        QMetaObject::invokeMethod(this, [this, closed, reason] { if (!closed->load()) reportFailure(reason); }, Qt::QueuedConnection);
        return;
    }
    if (!query)
        return;
    QByteArray reply(kReadChunkBytes, Qt::Uninitialized);
    const ssize_t got = ::read(m_fd, reply.data(), size_t(reply.size()));
    if (got < 0) {
        // A time-out is a missed answer for the driver to count, not a lost device.
        if (errno == ETIMEDOUT)
            return;
        const QString reason = tr("The USB instrument failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        QMetaObject::invokeMethod(this, [this, closed, reason] { if (!closed->load()) reportFailure(reason); }, Qt::QueuedConnection);
        return;
    }
    reply.truncate(int(got));
    QMetaObject::invokeMethod(this, [this, closed, reply] { if (!closed->load()) deliver(reply); }, Qt::QueuedConnection);
}

void UsbtmcLink::deliver(const QByteArray &reply)
{
    const QList<QByteArray> lines = reply.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && isOpen())
            emit lineReceived(line);
    }
}

void UsbtmcLink::reportFailure(const QString &reason)
{
    close();
    emit failed(reason);
}

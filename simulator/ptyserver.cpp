#include "ptyserver.h"

#include "simulatorsession.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_LOGGING_CATEGORY(lcSimulator)

namespace {
constexpr int kReadChunkBytes = 4096;
} // namespace

PtyServer::PtyServer(SimulatorSession *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    connect(session, &SimulatorSession::transmit, this, &PtyServer::writeMaster);
}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        qCWarning(lcSimulator) << "no pseudo-terminal:" << strerror(errno);
        stop();
        return false;
    }
    const char *name = ::ptsname(m_master);
    m_path = QString::fromLocal8Bit(name ? name : "");
    m_slave = name ? ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (m_slave < 0) {
        qCWarning(lcSimulator) << "cannot open" << m_path;
        stop();
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no newline translation.
    termios settings;
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    return true;
}

void PtyServer::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

void PtyServer::readMaster()
{
    char buffer[kReadChunkBytes];
    const ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got > 0)
        m_session->receive(QByteArray(buffer, int(got)));
    else if (got < 0 && errno != EAGAIN && errno != EINTR)
        qCWarning(lcSimulator) << "pseudo-terminal read failed:" << strerror(errno);
}

void PtyServer::writeMaster(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    // Non-blocking: with no reader the terminal buffer fills and replies are dropped.
    if (::write(m_master, bytes.constData(), size_t(bytes.size())) < 0 && errno != EAGAIN)
        qCWarning(lcSimulator) << "pseudo-terminal write failed:" << strerror(errno);
}

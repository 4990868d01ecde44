#include "virtualusbserver.h"

#include "simulatorsession.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>

#include <sys/stat.h>

Q_DECLARE_LOGGING_CATEGORY(lcSimulator)

VirtualUsbServer::VirtualUsbServer(CommandInterpreter &interpreter, FaultInjector &faults, QObject *parent)
    : QObject(parent)
    , m_interpreter(interpreter)
    , m_faults(faults)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &VirtualUsbServer::accept);
}

VirtualUsbServer::~VirtualUsbServer()
{
    stop();
}

bool VirtualUsbServer::start(const QString &path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        qCWarning(lcSimulator) << "another instrument already serves" << path;
        return false;
    }
    // A socket file left by a simulator that was killed is replaced; anything
    // else at the path belongs to someone and stays.
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0) {
        if (!S_ISSOCK(status.st_mode)) {
            qCWarning(lcSimulator).noquote() << path << "exists and is not a socket; choose another bus path";
            return false;
        }
        QLocalServer::removeServer(path);
    }
    if (!m_server->listen(path)) {
        qCWarning(lcSimulator) << "cannot listen on" << path << m_server->errorString();
        return false;
    }
    m_path = path;
    return true;
}

void VirtualUsbServer::stop()
{
    const QList<QLocalSocket *> clients = m_server->findChildren<QLocalSocket *>();
    for (QLocalSocket *client : clients)
        client->abort();
    m_server->close();
}

void VirtualUsbServer::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto session = new SimulatorSession(m_interpreter, m_faults, socket);
        connect(socket, &QLocalSocket::readyRead, session, [socket, session] { session->receive(socket->readAll()); });
        connect(session, &SimulatorSession::transmit, socket, [socket](const QByteArray &bytes) {
            if (socket->state() == QLocalSocket::ConnectedState)
                socket->write(bytes);
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

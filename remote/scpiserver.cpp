#include "scpiserver.h"

#include "scpiclient.h"

#include <QHostAddress>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>

Q_LOGGING_CATEGORY(lcRemote, "luma.remote", QtInfoMsg)

namespace {
// Bounds of one client: what it may have waiting to be carried out, what the
// socket buffers, and the answers it has not read yet.
constexpr int kMaxQueuedLinesPerClient = 64;
constexpr qint64 kReadBufferBytes = 64 * 1024;
constexpr qint64 kReadChunkBytes = 4096;
constexpr qint64 kMaxUnreadAnswerBytes = 1024 * 1024;
// Lines carried out per turn of the event loop; the window paints in between.
constexpr int kLinesPerTurn = 50;
} // namespace

ScpiServer::ScpiServer(RemoteInstrument *instrument, QObject *parent)
    : QObject(parent), instrument(instrument), server(new QTcpServer(this))
{
    turn.setSingleShot(true);
    turn.setInterval(0);
    channelWait.setSingleShot(true);
    channelWait.setInterval(kChannelSwitchTimeoutMs);
    connect(&turn, &QTimer::timeout, this, &ScpiServer::process);
    connect(&channelWait, &QTimer::timeout, this, [this] {
        if (lines.isEmpty())
            return;
        if (ScpiClient *client = lines.head().client)
            client->session().giveUp();
        dequeue();
        schedule();
    });
    connect(server, &QTcpServer::newConnection, this, &ScpiServer::accept);
}

ScpiServer::~ScpiServer()
{
    // Whoever listens may be half destroyed already.
    blockSignals(true);
    close();
}

bool ScpiServer::listen(const QHostAddress &address, quint16 port)
{
    close();
    if (!server->listen(address, port))
        return false;
    qCInfo(lcRemote) << "listening on" << server->serverAddress().toString() << server->serverPort();
    return true;
}

void ScpiServer::close()
{
    server->close();
    const bool hadClients = !clients.isEmpty();
    for (ScpiClient *client : qAsConst(clients)) {
        client->disconnect(this);
        client->socket()->disconnect(this);
        client->socket()->abort();
        client->deleteLater();
    }
    clients.clear();
    lines.clear();
    channelWait.stop();
    if (hadClients)
        emit clientCountChanged(0);
}

bool ScpiServer::isListening() const
{
    return server->isListening();
}

QString ScpiServer::address() const
{
    return server->serverAddress().toString();
}

quint16 ScpiServer::port() const
{
    return server->serverPort();
}

int ScpiServer::clientCount() const
{
    return clients.size();
}

QString ScpiServer::errorString() const
{
    return server->errorString();
}

void ScpiServer::accept()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        if (clients.size() >= kMaxClients) {
            qCInfo(lcRemote) << "refused a client from" << socket->peerAddress().toString() << ": full";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // The kernel holds back the rest, and the sender waits.
        socket->setReadBufferSize(kReadBufferBytes);
        auto client = new ScpiClient(socket, *instrument, this);
        clients.append(client);
        connect(socket, &QTcpSocket::readyRead, this, [this, client] {
            readFrom(client);
            schedule();
        });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, client] {
            readFrom(client);
            schedule();
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, client] { dropClient(client); });
        qCInfo(lcRemote) << "client from" << socket->peerAddress().toString();
        emit clientCountChanged(clients.size());
    }
}

void ScpiServer::dropClient(ScpiClient *client)
{
    if (!clients.removeOne(client))
        return;
    // A line of this client waiting for a channel switch waits no more; its
    // other lines are skipped once the client object is gone.
    if (channelWait.isActive() && lines.head().client == client) {
        channelWait.stop();
        dequeue();
        schedule();
    }
    client->deleteLater();
    emit clientCountChanged(clients.size());
}

void ScpiServer::readFrom(ScpiClient *client)
{
    QTcpSocket *socket = client->socket();
    while (client->queued < kMaxQueuedLinesPerClient && socket->bytesToWrite() < kMaxUnreadAnswerBytes
           && socket->bytesAvailable() > 0) {
        const QByteArray data = socket->read(kReadChunkBytes);
        for (const ScpiLineReader::Line &line : client->reader().append(data)) {
            if (!line.tooLong && line.text.trimmed().isEmpty())
                continue;
            lines.enqueue({client, line.text, line.tooLong});
            ++client->queued;
        }
    }
}

void ScpiServer::dequeue()
{
    const PendingLine line = lines.dequeue();
    if (line.client)
        --line.client->queued;
}

void ScpiServer::readAll()
{
    for (ScpiClient *client : qAsConst(clients))
        readFrom(client);
}

void ScpiServer::schedule()
{
    if (!lines.isEmpty() && !channelWait.isActive())
        turn.start();
}

void ScpiServer::resume()
{
    if (channelWait.isActive()) {
        channelWait.stop();
        schedule();
    }
}

void ScpiServer::process()
{
    for (int done = 0; done < kLinesPerTurn && !lines.isEmpty(); ++done) {
        PendingLine &line = lines.head();
        ScpiClient *client = line.client;
        if (!client) {
            dequeue();
            continue;
        }
        if (line.tooLong) {
            client->session().lineTooLong();
        } else {
            const ScpiSession::Result result = client->session().execute(line.text);
            if (result.kind == ScpiSession::Result::Waiting) {
                channelWait.start();
                return;
            }
            if (!result.answer.isEmpty())
                client->socket()->write(result.answer);
            if (result.kind == ScpiSession::Result::Applied)
                emit commandApplied(QString::fromLatin1(line.text.trimmed()));
        }
        dequeue();
    }
    readAll();
    schedule();
}

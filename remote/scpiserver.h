#ifndef SCPISERVER_H
#define SCPISERVER_H

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QTimer>

QT_BEGIN_NAMESPACE
class QHostAddress;
class QTcpServer;
class QTcpSocket;
QT_END_NAMESPACE

class RemoteInstrument;
class ScpiClient;

// A raw SCPI socket, as VISA libraries open "TCPIP::host::port::SOCKET":
// lines in, answers out, several clients at once whose lines are carried
// out in the order they arrived. Reading never blocks and a turn of the
// event loop carries out a bounded number of lines, so a client that floods
// the socket cannot freeze the window; a client that does not read its
// answers is not read from until it does. Idle clients stay connected.
class ScpiServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxClients = 8;
    // How long a set point waits for the instrument to report the channel it switched to.
    static constexpr int kChannelSwitchTimeoutMs = 5000;

    // The instrument must outlive the server.
    explicit ScpiServer(RemoteInstrument *instrument, QObject *parent = nullptr);
    ~ScpiServer() override;

    // Stops listening first; false with errorString() when the address cannot be taken.
    bool listen(const QHostAddress &address, quint16 port);
    // Stops listening and drops every client.
    void close();
    bool isListening() const;
    QString address() const;
    quint16 port() const;
    int clientCount() const;
    QString errorString() const;

public slots:
    // The instrument reported its selected channel: a set point waiting for it goes on.
    void resume();

signals:
    void clientCountChanged(int count);
    // Every command that changed the instrument, as the client wrote it.
    void commandApplied(const QString &line);

private:
    struct PendingLine
    {
        QPointer<ScpiClient> client;
        QByteArray text;
        bool tooLong;
    };

    void accept();
    void readFrom(ScpiClient *client);
    void readAll();
    void process();
    void schedule();
    void dropClient(ScpiClient *client);
    void dequeue();

    RemoteInstrument *instrument;
    QTcpServer *server;
    QList<ScpiClient *> clients;
    QQueue<PendingLine> lines; // of every client, in arrival order
    QTimer turn;               // carries out the queued lines at the next turn of the event loop
    QTimer channelWait;        // the first line waits for a channel switch while it runs
};

#endif // SCPISERVER_H

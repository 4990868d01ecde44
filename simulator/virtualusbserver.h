#ifndef VIRTUALUSBSERVER_H
#define VIRTUALUSBSERVER_H

#include <QObject>
#include <QString>

class CommandInterpreter;
class FaultInjector;
class QLocalServer;

// Serves the instrument on the virtual USB bus, a local socket; each client
// gets its own session with the one instrument.
class VirtualUsbServer : public QObject
{
    Q_OBJECT

public:
    // How long to look for another simulator already serving the path.
    static constexpr int kProbeTimeoutMs = 300;

    VirtualUsbServer(CommandInterpreter &interpreter, FaultInjector &faults, QObject *parent = nullptr);
    ~VirtualUsbServer() override;

    // False when the path is served by someone else, is taken by anything
    // but a socket, or cannot be listened on.
    bool start(const QString &path);
    // Closes every client connection and stops listening: the instrument is unplugged.
    void stop();
    QString path() const { return m_path; }

private:
    void accept();

    CommandInterpreter &m_interpreter;
    FaultInjector &m_faults;
    QLocalServer *m_server;
    QString m_path;
};

#endif // VIRTUALUSBSERVER_H

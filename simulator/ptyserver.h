#ifndef PTYSERVER_H
#define PTYSERVER_H

#include <QObject>
#include <QString>

class QSocketNotifier;
class SimulatorSession;

// Serves the instrument on a pseudo-terminal: its slave path can be opened
// like a serial port. The server keeps a slave descriptor of its own open, so
// the master never sees a hang-up while clients come and go.
class PtyServer : public QObject
{
    Q_OBJECT

public:
    explicit PtyServer(SimulatorSession *session, QObject *parent = nullptr);
    ~PtyServer() override;

    bool start();
    void stop();
    QString path() const { return m_path; }

private:
    void readMaster();
    void writeMaster(const QByteArray &bytes);

    SimulatorSession *m_session;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
};

#endif // PTYSERVER_H

#ifndef USBTMCLINK_H
#define USBTMCLINK_H

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// Line traffic with a Linux usbtmc character device. usbtmc reads and writes
// block until the instrument answers or the kernel's time-out expires, so they
// run in order on a worker thread; results come back queued to this object's
// thread. A line whose header ends in '?' is a query and is followed by a read.
class UsbtmcLink : public QObject
{
    Q_OBJECT

public:
    // Per transfer, set on the device so a silent instrument cannot stall the worker.
    static constexpr unsigned kTransferTimeoutMs = 1000;

    explicit UsbtmcLink(QObject *parent = nullptr);
    ~UsbtmcLink() override;

    bool open(const QString &path);
    // The system's reason when open() failed.
    QString openError() const { return m_openError; }
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool writeLine(const QByteArray &line);

signals:
    void lineReceived(const QByteArray &line);
    void failed(const QString &reason);

private:
    void transact(const QByteArray &line, bool query);
    void deliver(const QByteArray &reply);
    void reportFailure(const QString &reason);

    int m_fd = -1;
    QString m_openError;
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr; // lives in m_thread; runs the transfers
    // Shared with queued transfers, which skip their work once the link closed.
    std::shared_ptr<std::atomic_bool> m_closed;
};

#endif // USBTMCLINK_H

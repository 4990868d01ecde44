#ifndef STREAMLINK_H
#define STREAMLINK_H

#include "linebuffer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

// Line traffic over an open stream device (serial port, local socket). The
// transport owns the device and tells the link when it failed; the link turns
// incoming bytes into lines and reports the failure once, queued, so that the
// receiver may close the device without running inside the device's own signal.
class StreamLink : public QObject
{
    Q_OBJECT

public:
    explicit StreamLink(QObject *parent = nullptr);

    void attach(QIODevice *device);
    void detach();
    bool isAttached() const { return !m_device.isNull(); }
    bool writeLine(const QByteArray &line);
    // Called by the transport when its device reports an error or an end.
    void fail(const QString &reason);

signals:
    void lineReceived(const QByteArray &line);
    void failed(const QString &reason);

private:
    void readAvailable();

    QPointer<QIODevice> m_device;
    LineBuffer m_buffer;
    QElapsedTimer m_clock;
    bool m_failing = false;
};

#endif // STREAMLINK_H

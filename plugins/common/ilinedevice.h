#ifndef ILINEDEVICE_H
#define ILINEDEVICE_H

#include <QByteArray>
#include <QString>
#include <QtPlugin>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

// What the instrument driver needs of a transport: a line-oriented byte pipe.
// The transports and the driver are separate plug-in files, each with its own
// copy of any shared class, so the driver reaches a transport only through this
// interface (cast by its ID) and connects to the object's signals by name:
//   lineReceived(QByteArray)   one complete line, without its terminator
//   lost(QString)              the device vanished; emitted once, after which
//                              the device is closed. Never emitted by closeDevice().
// All calls and signals happen on the thread that owns the object.
class ILineDevice
{
public:
    virtual ~ILineDevice() = default;
    virtual QObject *object() = 0;
    virtual bool openDevice() = 0;
    // Why the last openDevice() failed, in words for the user (what to fix).
    virtual QString openError() const = 0;
    virtual void closeDevice() = 0;
    virtual bool isDeviceOpen() const = 0;
    // Sends the line followed by the terminator; false when it cannot be sent.
    virtual bool writeLine(const QByteArray &line) = 0;
    // Human-readable name of the opened device, for messages.
    virtual QString deviceName() const = 0;
};

#define ILineDevice_iid "com.tessel.LUMA4200.ILineDevice"
Q_DECLARE_INTERFACE(ILineDevice, ILineDevice_iid)

#endif // ILINEDEVICE_H

#ifndef ISERIALDEV_H
#define ISERIALDEV_H

#include <QtPlugin>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

// A transport to the instrument, handed to IDmm::open(). Its object emits
// usbRefreshed(int) with the number of instruments found on the bus.
class ISerialDev
{
public:
    virtual ~ISerialDev() = default;
    virtual QObject *object() = 0;
};

#define ISerialDev_iid "com.tessel.ISerialDev"
Q_DECLARE_INTERFACE(ISerialDev, ISerialDev_iid)

#endif // ISERIALDEV_H

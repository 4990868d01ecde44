#ifndef IVISASERIAL_H
#define IVISASERIAL_H

#include <QString>
#include <QtPlugin>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

// The RS232 transport plug-in; its object is also an ISerialDev.
class IVISASerial
{
public:
    virtual ~IVISASerial() = default;
    virtual QObject *object() = 0;
    virtual void setPortName(QString name) = 0;
};

#define IVISASerial_iid "com.tessel.IVISASerial"
Q_DECLARE_INTERFACE(IVISASerial, IVISASerial_iid)

#endif // IVISASERIAL_H

#ifndef IVISAUSB_H
#define IVISAUSB_H

#include <QtPlugin>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

// The USB transport plug-in; its object is also an ISerialDev.
class IVISAUSB
{
public:
    virtual ~IVISAUSB() = default;
    virtual QObject *object() = 0;
};

#define IVISAUSB_iid "com.tessel.IVISAUSB"
Q_DECLARE_INTERFACE(IVISAUSB, IVISAUSB_iid)

#endif // IVISAUSB_H

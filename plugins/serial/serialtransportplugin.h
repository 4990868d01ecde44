#ifndef SERIALTRANSPORTPLUGIN_H
#define SERIALTRANSPORTPLUGIN_H

#include "serialtransport.h"

// The plug-in face of the RS232 transport.
class SerialTransportPlugin : public SerialTransport
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IVISASerial_iid FILE "serial.json")
    Q_INTERFACES(ISerialDev IVISASerial ILineDevice)
};

#endif // SERIALTRANSPORTPLUGIN_H

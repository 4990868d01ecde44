#ifndef USBTRANSPORTPLUGIN_H
#define USBTRANSPORTPLUGIN_H

#include "usbtransport.h"

// The plug-in face of the USB transport.
class UsbTransportPlugin : public UsbTransport
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IVISAUSB_iid FILE "usb.json")
    Q_INTERFACES(ISerialDev IVISAUSB ILineDevice)
};

#endif // USBTRANSPORTPLUGIN_H

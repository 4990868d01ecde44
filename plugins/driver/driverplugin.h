#ifndef DRIVERPLUGIN_H
#define DRIVERPLUGIN_H

#include "luma4200driver.h"

// The plug-in face of the LUMA4200 driver.
class DriverPlugin : public Luma4200Driver
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDmm_iid FILE "driver.json")
    Q_INTERFACES(IDmm IMyDmm)
};

#endif // DRIVERPLUGIN_H

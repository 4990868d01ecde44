#ifndef DRIVERDISCOVERY_H
#define DRIVERDISCOVERY_H

class IDmm;
class IMyDmm;
class ISerialDev;
class IVISAUSB;
class IVISASerial;

// The interfaces found among the driver plug-ins. The plug-in objects belong
// to their loaders and live until the process ends.
struct DriverInterfaces
{
    IDmm *dmm = nullptr;
    IMyDmm *myDmm = nullptr;
    ISerialDev *serialDev = nullptr;
    IVISAUSB *visaUsb = nullptr;
    IVISASerial *visaSerial = nullptr;

    // The application needs the driver and both transports.
    bool complete() const { return dmm && myDmm && visaUsb && visaSerial; }
};

class DriverDiscovery
{
public:
    // Loads every plug-in file in "Lib" beside the executable (or, without
    // that directory, beside the executable itself), in name order; a later
    // file's interface replaces an earlier one's. The executable is the file
    // itself, also when the program is started through a link to it, such as
    // the installed <prefix>/bin/luma4200.
    static DriverInterfaces discover();
};

#endif // DRIVERDISCOVERY_H

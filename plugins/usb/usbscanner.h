#ifndef USBSCANNER_H
#define USBSCANNER_H

#include <QList>
#include <QString>

// An instrument found on the USB bus, in the order the transport tries them.
struct UsbCandidate
{
    enum Kind { Usbtmc, UsbSerial, Virtual };
    Kind kind;
    QString path;
};

// Lists the instruments on the USB bus: usbtmc devices, USB serial ports with
// the instrument's vendor and product id, and the simulator's virtual bus.
class UsbScanner
{
public:
    static constexpr quint16 kVendorId = 0x4C55;
    static constexpr quint16 kProductId = 0x4200;

    static QList<UsbCandidate> scan();
};

#endif // USBSCANNER_H

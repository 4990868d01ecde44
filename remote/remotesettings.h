#ifndef REMOTESETTINGS_H
#define REMOTESETTINGS_H

#include <QString>

// Where the SCPI server listens, kept in "remote.ini" of the user's
// configuration folder (options.xml keeps the instrument's settings only).
// Port 0 means the server is off, which is the default, and the address is
// the loopback one unless the user names another.
struct RemoteSettings
{
    static constexpr quint16 kOff = 0;
    static const QString kDefaultAddress;

    quint16 port = kOff;
    QString address = kDefaultAddress;

    static RemoteSettings load();
    // False when the file cannot be written.
    bool save() const;
};

#endif // REMOTESETTINGS_H

#ifndef VIRTUALBUS_H
#define VIRTUALBUS_H

#include <QString>

// The virtual USB bus on which the simulator offers its instrument: a local
// socket at a fixed per-user path. The environment variable
// LUMA4200_VIRTUAL_BUS replaces the path, so that tests can run their own
// simulator next to one a user may be running.
class VirtualBus
{
public:
    static QString socketPath();
};

#endif // VIRTUALBUS_H

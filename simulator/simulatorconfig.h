#ifndef SIMULATORCONFIG_H
#define SIMULATORCONFIG_H

#include <QByteArray>

#include <array>

// How the simulated instrument behaves: its loads, its measurement noise and
// the faults it injects into its replies.
struct SimulatorConfig
{
    std::array<double, 3> loadOhms{{10.0, 10.0, 10.0}};
    double noiseFraction = 0.001;  // uniform, relative to each measured value
    double garbageRate = 0.0;      // chance of a junk line before a reply
    double partialRate = 0.0;      // chance that a reply is cut short, without terminator
    int replyDelayMs = 0;          // every reply waits this long
    int muteAfterS = -1;           // stop answering after this many seconds; negative: never
    int dropAfterS = -1;           // drop every connection and quit after this many seconds
    QByteArray identity = QByteArrayLiteral("TESSEL,LUMA4200,SIM00001,1.0");
    quint32 seed = 4200;
};

#endif // SIMULATORCONFIG_H

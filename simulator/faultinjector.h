#ifndef FAULTINJECTOR_H
#define FAULTINJECTOR_H

#include "simulatorconfig.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <random>

// Applies the configured faults to the replies of every session: junk lines,
// replies cut short, silence after a while. Seeded, so a test run repeats.
class FaultInjector
{
public:
    static constexpr int kMaxGarbageBytes = 60;

    explicit FaultInjector(const SimulatorConfig &config);

    bool isMuted() const;
    int replyDelayMs() const { return m_config.replyDelayMs; }
    // The bytes to send for one reply line, terminator included unless cut short.
    QByteArray shape(const QByteArray &reply);

private:
    bool chance(double rate);

    SimulatorConfig m_config;
    QElapsedTimer m_clock;
    std::mt19937 m_random;
};

#endif // FAULTINJECTOR_H

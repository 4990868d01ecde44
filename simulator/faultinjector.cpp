#include "faultinjector.h"

namespace {
constexpr qint64 kMsPerSecond = 1000;
constexpr char kFirstGarbageByte = ' ';
constexpr char kLastGarbageByte = '~';
} // namespace

FaultInjector::FaultInjector(const SimulatorConfig &config)
    : m_config(config)
    , m_random(config.seed + 1)
{
    m_clock.start();
}

bool FaultInjector::isMuted() const
{
    return m_config.muteAfterS >= 0 && m_clock.elapsed() >= m_config.muteAfterS * kMsPerSecond;
}

bool FaultInjector::chance(double rate)
{
    return rate > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < rate;
}

QByteArray FaultInjector::shape(const QByteArray &reply)
{
    QByteArray out;
    if (chance(m_config.garbageRate)) {
        const int length = std::uniform_int_distribution<int>(1, kMaxGarbageBytes)(m_random);
        std::uniform_int_distribution<int> byte(kFirstGarbageByte, kLastGarbageByte);
        for (int i = 0; i < length; ++i)
            out.append(char(byte(m_random)));
        out.append('\n');
    }
    if (chance(m_config.partialRate) && !reply.isEmpty()) {
        const int cut = std::uniform_int_distribution<int>(0, reply.size() - 1)(m_random);
        return out + reply.left(cut);
    }
    return out + reply + '\n';
}

#include "instrumentmodel.h"

#include <cmath>

namespace {
constexpr double kResetVolts = 5.0;
constexpr double kResetAmps = 1.0;
constexpr double kResetChannel3Volts = 3.3;
// Set points land on the display resolution: 10 mV, 1 mA, and 100 mV on channel 3.
constexpr double kVoltSteps = 100.0;
constexpr double kAmpSteps = 1000.0;
constexpr double kChannel3VoltSteps = 10.0;

double snap(double value, double steps)
{
    return std::round(value * steps) / steps;
}

const char *errorText(int code)
{
    switch (code) {
    case InstrumentModel::kErrInvalidCharacter:
        return "Invalid character";
    case InstrumentModel::kErrSyntax:
        return "Syntax error";
    case InstrumentModel::kErrDataType:
        return "Data type error";
    case InstrumentModel::kErrParameterNotAllowed:
        return "Parameter not allowed";
    case InstrumentModel::kErrMissingParameter:
        return "Missing parameter";
    case InstrumentModel::kErrUndefinedHeader:
        return "Undefined header";
    case InstrumentModel::kErrSuffixOutOfRange:
        return "Header suffix out of range";
    case InstrumentModel::kErrSettingsConflict:
        return "Settings conflict";
    case InstrumentModel::kErrOutOfRange:
        return "Data out of range";
    case InstrumentModel::kErrIllegalValue:
        return "Illegal parameter value";
    case InstrumentModel::kErrQueueOverflow:
        return "Queue overflow";
    default:
        return "Error";
    }
}
} // namespace

InstrumentModel::InstrumentModel(const SimulatorConfig &config)
    : m_noiseFraction(config.noiseFraction)
    , m_identity(config.identity)
    , m_random(config.seed)
{
    for (int channel = 1; channel <= kChannelCount; ++channel)
        setLoad(channel, config.loadOhms[index(channel)]);
    reset();
    for (Memory &memory : m_memories)
        memory = Memory{m_setVolts, m_setAmps};
}

void InstrumentModel::reset()
{
    m_setVolts = {kResetVolts, kResetVolts, kResetChannel3Volts};
    m_setAmps = {kResetAmps, kResetAmps, 0.0};
    m_outputOn = false;
    m_track = Independent;
    m_selected = 1;
}

int InstrumentModel::setVoltage(int channel, double volts)
{
    if (channel < 1 || channel > kChannelCount)
        return kErrSuffixOutOfRange;
    const bool third = channel == 3;
    const double value = snap(volts, third ? kChannel3VoltSteps : kVoltSteps);
    if (!std::isfinite(value) || value < 0 || value > (third ? kMaxChannel3Volts : kMaxVolts))
        return kErrOutOfRange;
    if (channel == 2 && m_track != Independent)
        return kErrSettingsConflict;
    m_setVolts[index(channel)] = value;
    tieChannel2();
    return 0;
}

int InstrumentModel::setCurrent(int channel, double amps)
{
    if (channel < 1 || channel > 2)
        return kErrSuffixOutOfRange;
    const double value = snap(amps, kAmpSteps);
    if (!std::isfinite(value) || value < 0 || value > kMaxAmps)
        return kErrOutOfRange;
    if (channel == 2 && m_track != Independent)
        return kErrSettingsConflict;
    m_setAmps[index(channel)] = value;
    tieChannel2();
    return 0;
}

int InstrumentModel::selectChannel(int channel)
{
    if (channel < 1 || channel > kChannelCount)
        return kErrOutOfRange;
    m_selected = channel;
    return 0;
}

void InstrumentModel::setTrack(Track track)
{
    m_track = track;
    tieChannel2();
}

int InstrumentModel::store(int memory)
{
    if (memory < 1 || memory > kMemoryCount)
        return kErrOutOfRange;
    m_memories[memory - 1] = Memory{m_setVolts, m_setAmps};
    return 0;
}

int InstrumentModel::recall(int memory)
{
    if (memory < 1 || memory > kMemoryCount)
        return kErrOutOfRange;
    m_setVolts = m_memories[memory - 1].volts;
    m_setAmps = m_memories[memory - 1].amps;
    tieChannel2();
    return 0;
}

void InstrumentModel::setLoad(int channel, double ohms)
{
    m_loadOhms[index(channel)] = std::isfinite(ohms) ? qMax(ohms, kMinLoadOhms) : kMinLoadOhms;
}

void InstrumentModel::tieChannel2()
{
    if (m_track == Independent)
        return;
    m_setVolts[1] = m_setVolts[0];
    m_setAmps[1] = m_setAmps[0];
}

InstrumentModel::Measurement InstrumentModel::regulate(double setVolts, double setAmps, double ohms) const
{
    Measurement m;
    const double cvAmps = setVolts / ohms;
    if (cvAmps > setAmps) {
        m.amps = setAmps;
        m.volts = setAmps * ohms;
        m.constantCurrent = true;
    } else {
        m.amps = cvAmps;
        m.volts = setVolts;
    }
    return m;
}

InstrumentModel::Measurement InstrumentModel::withNoise(Measurement m)
{
    std::uniform_real_distribution<double> spread(-m_noiseFraction, m_noiseFraction);
    m.volts = qMax(0.0, m.volts * (1.0 + spread(m_random)));
    m.amps = qMax(0.0, m.amps * (1.0 + spread(m_random)));
    m.watts = m.volts * m.amps;
    return m;
}

std::array<InstrumentModel::Measurement, InstrumentModel::kChannelCount> InstrumentModel::measure()
{
    std::array<Measurement, kChannelCount> result{};
    if (!m_outputOn)
        return result;

    switch (m_track) {
    case Independent:
        result[0] = regulate(m_setVolts[0], m_setAmps[0], m_loadOhms[0]);
        result[1] = regulate(m_setVolts[1], m_setAmps[1], m_loadOhms[1]);
        break;
    case Series: {
        // Both outputs in series across load 1: twice the voltage, one current.
        Measurement pair = regulate(2 * m_setVolts[0], m_setAmps[0], m_loadOhms[0]);
        pair.volts /= 2;
        result[0] = result[1] = pair;
        break;
    }
    case Parallel: {
        // Both outputs in parallel across load 1: one voltage, the current shared.
        Measurement pair = regulate(m_setVolts[0], 2 * m_setAmps[0], m_loadOhms[0]);
        pair.amps /= 2;
        result[0] = result[1] = pair;
        break;
    }
    }
    result[2].volts = m_setVolts[2];
    result[2].amps = m_setVolts[2] / m_loadOhms[2];
    for (Measurement &m : result)
        m = withNoise(m);
    return result;
}

void InstrumentModel::pushError(int code)
{
    if (m_errors.size() < kErrorQueueSize - 1)
        m_errors.append(code);
    else if (m_errors.size() == kErrorQueueSize - 1)
        m_errors.append(kErrQueueOverflow);
}

QByteArray InstrumentModel::popError()
{
    if (m_errors.isEmpty())
        return QByteArrayLiteral("0,\"No error\"");
    const int code = m_errors.takeFirst();
    return QByteArray::number(code) + ",\"" + errorText(code) + '"';
}

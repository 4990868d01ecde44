#include "commandformatter.h"

#include <QtGlobal>

#include <cmath>

namespace {
QByteArray fixed(double value, double max, int decimals)
{
    const double clamped = std::isfinite(value) ? qBound(0.0, value, max) : 0.0;
    return QByteArray::number(clamped, 'f', decimals);
}

bool isChannel(int channel)
{
    return channel >= 1 && channel <= CommandFormatter::kChannelCount;
}

bool isMemory(int memory)
{
    return memory >= 1 && memory <= CommandFormatter::kMemoryCount;
}
} // namespace

QByteArray CommandFormatter::identify()
{
    return QByteArrayLiteral("*IDN?");
}

QByteArray CommandFormatter::clearStatus()
{
    return QByteArrayLiteral("*CLS");
}

QByteArray CommandFormatter::readAll()
{
    return QByteArrayLiteral("MEAS:ALL?");
}

QByteArray CommandFormatter::selectChannel(int channel)
{
    return isChannel(channel) ? "INST:NSEL " + QByteArray::number(channel) : QByteArray();
}

QByteArray CommandFormatter::output(bool on)
{
    return on ? QByteArrayLiteral("OUTP ON") : QByteArrayLiteral("OUTP OFF");
}

QByteArray CommandFormatter::tracking(int mode)
{
    switch (mode) {
    case 0:
        return QByteArrayLiteral("OUTP:TRAC IND");
    case 1:
        return QByteArrayLiteral("OUTP:TRAC SER");
    case 2:
        return QByteArrayLiteral("OUTP:TRAC PAR");
    default:
        return QByteArray();
    }
}

QByteArray CommandFormatter::voltage(int channel, double volts)
{
    if (!isChannel(channel))
        return QByteArray();
    const QByteArray value = channel == 3 ? fixed(volts, kMaxChannel3Volts, 1) : fixed(volts, kMaxVolts, 2);
    return "SOUR" + QByteArray::number(channel) + ":VOLT " + value;
}

QByteArray CommandFormatter::current(int channel, double amps)
{
    if (channel != 1 && channel != 2)
        return QByteArray();
    return "SOUR" + QByteArray::number(channel) + ":CURR " + fixed(amps, kMaxAmps, 3);
}

QByteArray CommandFormatter::store(int memory)
{
    return isMemory(memory) ? "*SAV " + QByteArray::number(memory) : QByteArray();
}

QByteArray CommandFormatter::recall(int memory)
{
    return isMemory(memory) ? "*RCL " + QByteArray::number(memory) : QByteArray();
}

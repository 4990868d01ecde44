#include "stopcondition.h"

#include "dmmdata.h"

#include <QStringList>

namespace {
constexpr double kMsPerSecond = 1000;
}

bool StopCondition::observe(const DmmData &reading)
{
    if (fired)
        return false;
    const double value = valueOf(reading);
    if (above ? !(value > threshold) : !(value < threshold)) {
        metSince = QDateTime();
        return false;
    }
    if (!metSince.isValid())
        metSince = reading.dateTime();
    if (metSince.msecsTo(reading.dateTime()) < qRound64(holdSeconds * kMsPerSecond))
        return false;
    fired = true;
    return true;
}

void StopCondition::rearm()
{
    fired = false;
    metSince = QDateTime();
}

double StopCondition::valueOf(const DmmData &reading) const
{
    switch (quantity) {
    case Voltage:
        return reading.voltage();
    case Current:
        return reading.current();
    case Power:
        break;
    }
    return reading.power();
}

QString StopCondition::describe() const
{
    static const char *const units[] = {"V", "A", "W"};
    const QString names[] = {tr("voltage"), tr("current"), tr("power")};
    QStringList what;
    if (actions & OutputOff)
        what << tr("output off");
    if (actions & StopSequence)
        what << tr("stop the sequence");
    if (actions & StopRecording)
        what << tr("stop recording");
    if (actions & Message)
        what << tr("message");
    return tr("CH%1 %2 %3 %4 %5 for %6 s → %7")
        .arg(channel)
        .arg(names[quantity], above ? tr("above") : tr("below"))
        .arg(threshold)
        .arg(QString::fromLatin1(units[quantity]))
        .arg(holdSeconds)
        .arg(what.join(QStringLiteral(", ")));
}

#include "sequence.h"

#include <cmath>

namespace {
constexpr double kMsPerSecond = 1000.0;

bool within(double value, double max)
{
    return std::isfinite(value) && value >= 0 && value <= max;
}
} // namespace

QString Sequence::check() const
{
    if (channel != 1 && channel != 2)
        return tr("Sequences run on CH1 or CH2 only.");
    if (steps.isEmpty())
        return tr("The sequence has no steps.");
    if (repeats < 0)
        return tr("The number of repeats cannot be negative.");
    for (int i = 0; i < steps.size(); ++i) {
        const SequenceStep &step = steps.at(i);
        const QString name = tr("Step %1: ").arg(i + 1);
        if (!within(step.volts, kMaxVolts))
            return name + tr("%1 V is outside CH%2's 0 to %3 V.").arg(step.volts).arg(channel).arg(kMaxVolts);
        if (!within(step.amps, kMaxAmps))
            return name + tr("%1 A is outside CH%2's 0 to %3 A.").arg(step.amps).arg(channel).arg(kMaxAmps);
        if (!std::isfinite(step.seconds) || step.seconds < kMinStepSeconds || step.seconds > kMaxStepSeconds)
            return name + tr("%1 s is outside %2 s to %3 s.").arg(step.seconds).arg(kMinStepSeconds).arg(kMaxStepSeconds);
        if (rampSeconds > step.seconds)
            return name + tr("it lasts %1 s, less than the ramp time of %2 s.").arg(step.seconds).arg(rampSeconds);
    }
    if (!std::isfinite(rampSeconds) || rampSeconds < 0)
        return tr("The ramp time cannot be negative.");
    return QString();
}

qint64 Sequence::passMs() const
{
    qint64 total = 0;
    for (const SequenceStep &step : steps)
        total += qRound64(step.seconds * kMsPerSecond);
    return total;
}

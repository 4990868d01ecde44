#include "sequenceplan.h"

#include "sequence.h"

#include <cmath>

namespace {
constexpr double kVoltSteps = 100;  // 10 mV
constexpr double kAmpSteps = 1000;  // 1 mA
constexpr double kMsPerSecond = 1000;

double rounded(double value, double steps)
{
    return std::round(value * steps) / steps;
}

// Adds a set point unless the instrument already has it.
void set(QList<SequenceAction> &actions, qint64 atMs, SequenceAction::Kind kind, double value, double &last)
{
    if (value == last)
        return;
    actions << SequenceAction{atMs, kind, value};
    last = value;
}
} // namespace

QList<SequenceAction> SequencePlan::pass(const Sequence &sequence, bool first)
{
    QList<SequenceAction> actions;
    if (sequence.steps.isEmpty())
        return actions;
    // NaN: nothing is known to be set yet, so the first values are always sent.
    double volts = first ? NAN : rounded(sequence.steps.last().volts, kVoltSteps);
    double amps = first ? NAN : rounded(sequence.steps.last().amps, kAmpSteps);
    const qint64 rampMs = qRound64(sequence.rampSeconds * kMsPerSecond);
    qint64 startMs = 0;
    for (int index = 0; index < sequence.steps.size(); ++index) {
        const SequenceStep &step = sequence.steps.at(index);
        const double targetVolts = rounded(step.volts, kVoltSteps);
        const double targetAmps = rounded(step.amps, kAmpSteps);
        actions << SequenceAction{startMs, SequenceAction::StepBegins, double(index)};
        if (rampMs > 0 && !std::isnan(volts)) {
            const qint64 points = qMax<qint64>(1, (rampMs + kRampIntervalMs - 1) / kRampIntervalMs);
            const double fromVolts = volts;
            const double fromAmps = amps;
            for (qint64 point = 1; point <= points; ++point) {
                const double share = double(point) / double(points);
                const qint64 atMs = startMs + rampMs * point / points;
                set(actions, atMs, SequenceAction::Voltage,
                    rounded(fromVolts + (targetVolts - fromVolts) * share, kVoltSteps), volts);
                set(actions, atMs, SequenceAction::Current,
                    rounded(fromAmps + (targetAmps - fromAmps) * share, kAmpSteps), amps);
            }
        } else {
            set(actions, startMs, SequenceAction::Voltage, targetVolts, volts);
            set(actions, startMs, SequenceAction::Current, targetAmps, amps);
        }
        if (first && index == 0 && sequence.outputOnAtStart)
            actions << SequenceAction{startMs, SequenceAction::OutputOn, 1};
        startMs += qRound64(step.seconds * kMsPerSecond);
    }
    return actions;
}

#ifndef SEQUENCEPLAN_H
#define SEQUENCEPLAN_H

#include <QList>
#include <QtGlobal>

class Sequence;

// What a sequence does and when, from the start of one pass through its steps.
struct SequenceAction
{
    enum Kind { StepBegins, Voltage, Current, OutputOn };
    qint64 atMs;
    Kind kind;
    double value; // volts or amperes; the step's index for StepBegins
};

// Turns a sequence into the commands of one pass, in the order they go out.
// Values are rounded to the instrument's resolution (10 mV, 1 mA) and only
// what changes is sent; a ramp sends a point every kRampIntervalMs or less,
// its last point being the step's own set points at the end of the ramp.
class SequencePlan
{
public:
    static constexpr qint64 kRampIntervalMs = 500;

    // The first pass sets both set points at once and, if asked, switches the
    // output on after them; later passes ramp from the last step.
    static QList<SequenceAction> pass(const Sequence &sequence, bool first);
};

#endif // SEQUENCEPLAN_H

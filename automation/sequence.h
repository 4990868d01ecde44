#ifndef SEQUENCE_H
#define SEQUENCE_H

#include <QCoreApplication>
#include <QList>
#include <QString>

// One step of a sequence: the set points of the channel and how long they hold.
struct SequenceStep
{
    double volts = 0;
    double amps = 0;
    double seconds = 0;
};

// A list of set points that one of the adjustable channels (CH1 or CH2) runs
// through, with optional linear ramps and repeats. Channel 3 has no sequences.
class Sequence
{
    Q_DECLARE_TR_FUNCTIONS(Sequence)

public:
    static constexpr double kMaxVolts = 32.0;
    static constexpr double kMaxAmps = 3.2;
    static constexpr double kMinStepSeconds = 0.1;
    static constexpr double kMaxStepSeconds = 7 * 24 * 3600.0; // a week
    static constexpr int kForever = 0;                          // repeats

    int channel = 1;
    QList<SequenceStep> steps;
    // The first rampSeconds of each step move the set points linearly from
    // the previous step's; 0 jumps. The first step of the first pass jumps.
    double rampSeconds = 0;
    int repeats = 1; // passes through the steps; kForever never ends by itself
    bool outputOnAtStart = false;
    bool outputOffAtEnd = false;

    // Empty when the sequence may run; otherwise why not, naming the step
    // ("Step 3: 40 V is above the channel's 32 V.").
    QString check() const;
    // The length of one pass in milliseconds.
    qint64 passMs() const;
};

#endif // SEQUENCE_H

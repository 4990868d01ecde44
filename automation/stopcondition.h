#ifndef STOPCONDITION_H
#define STOPCONDITION_H

#include <QCoreApplication>
#include <QDateTime>

class DmmData;

// "When CH1's measured current is below 0.05 A for at least 30 s": a test on
// one channel's readings that fires once when it has held, by the readings'
// own times, for the whole hold time. A reading that breaks it starts the
// wait anew. What firing does is the owner's (actions).
class StopCondition
{
    Q_DECLARE_TR_FUNCTIONS(StopCondition)

public:
    enum Quantity { Voltage, Current, Power };
    enum Action { OutputOff = 1, StopSequence = 2, StopRecording = 4, Message = 8 };

    int channel = 1;
    Quantity quantity = Current;
    bool above = false;
    double threshold = 0;
    double holdSeconds = 0;
    int actions = OutputOff;

    // True once, at the reading that completes the hold time.
    bool observe(const DmmData &reading);
    bool hasFired() const { return fired; }
    // Ready to fire again, waiting from the next reading that meets it.
    void rearm();
    // "CH1 current below 0.05 A for 30 s → output off, message".
    QString describe() const;

private:
    double valueOf(const DmmData &reading) const;

    QDateTime metSince;
    bool fired = false;
};

#endif // STOPCONDITION_H

#ifndef COMMANDFORMATTER_H
#define COMMANDFORMATTER_H

#include <QByteArray>

// Builds the command lines the driver sends, without terminator. Values are
// clamped to the instrument's ranges and rounded to its resolution, so a
// command built here never lands in the instrument's error queue.
class CommandFormatter
{
public:
    static constexpr double kMaxVolts = 32.0;        // channels 1 and 2
    static constexpr double kMaxAmps = 3.2;          // channels 1 and 2
    static constexpr double kMaxChannel3Volts = 6.0;
    static constexpr int kChannelCount = 3;
    static constexpr int kMemoryCount = 5;

    static QByteArray identify();
    static QByteArray clearStatus();
    static QByteArray readAll();
    // Empty when the argument is outside the instrument's choices.
    static QByteArray selectChannel(int channel);
    static QByteArray output(bool on);
    static QByteArray tracking(int mode); // 0 independent, 1 series, 2 parallel
    static QByteArray voltage(int channel, double volts);
    static QByteArray current(int channel, double amps);
    static QByteArray store(int memory);
    static QByteArray recall(int memory);
};

#endif // COMMANDFORMATTER_H

#ifndef REMOTEINSTRUMENT_H
#define REMOTEINSTRUMENT_H

#include <QByteArray>
#include <QString>

#include <optional>

// The newest recorded reading of one channel, as the record table shows it:
// volts, amperes and watts as the driver formatted them.
struct RemoteReading
{
    QString voltage;
    QString current;
    QString power;
};

// What remote commands may do to the instrument and read from the program.
// The commands go through the same driver calls as the front panel; the
// window implements this and shows every command on its panel at once.
// Channels are 1 to 3.
class RemoteInstrument
{
public:
    virtual ~RemoteInstrument() = default;

    // Maker, model, the instrument's serial ("0" when none is connected)
    // and this program's version, comma-separated.
    virtual QByteArray identity() = 0;
    virtual bool isConnected() = 0;

    // The channel the instrument reports as selected; set points go there.
    virtual int selectedChannel() = 0;
    // As a press of the channel's key; the instrument reports the switch later.
    virtual void selectChannel(int channel) = 0;
    // For the selected channel, in volts and amperes, sent at once.
    virtual void setVoltage(double volts) = 0;
    virtual void setCurrent(double amperes) = 0;
    virtual void setOutput(bool on) = 0;
    // 0 independent, 1 series, 2 parallel.
    virtual void setTracking(int mode) = 0;

    // The newest value sent or reported; none before the instrument reported one.
    virtual std::optional<double> voltageSetPoint(int channel) = 0;
    virtual std::optional<double> currentSetPoint(int channel) = 0;
    virtual std::optional<bool> isOutputOn() = 0;
    // As the instrument reports it: 1 independent, 2 parallel, 3 series.
    virtual std::optional<int> tracking() = 0;

    // The recorded readings of the running session.
    virtual std::optional<RemoteReading> newestReading(int channel) = 0;
    virtual int recordedCount() = 0;
    // Reading index (0 is the oldest) as the session log writes it, with its "\n".
    virtual QByteArray recordedLine(int index) = 0;
};

#endif // REMOTEINSTRUMENT_H

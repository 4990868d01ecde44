#ifndef INSTRUMENTREADING_H
#define INSTRUMENTREADING_H

#include <QtGlobal>

#include <array>

// One channel of a whole reading, in the instrument's display resolution:
// hundredths of a volt, thousandths of an ampere, hundredths of a watt.
struct ChannelReading
{
    qint32 centiVolts = 0;
    qint32 milliAmps = 0;
    qint32 centiWatts = 0;
    qint32 setCentiVolts = 0;
    qint32 setMilliAmps = 0; // channel 3 has no current set point: 0
    bool constantCurrent = false;

    bool operator==(const ChannelReading &other) const
    {
        return centiVolts == other.centiVolts && milliAmps == other.milliAmps && centiWatts == other.centiWatts
            && setCentiVolts == other.setCentiVolts && setMilliAmps == other.setMilliAmps
            && constantCurrent == other.constantCurrent;
    }
    bool operator!=(const ChannelReading &other) const { return !(*this == other); }
};

// The instrument's whole state as one reply to the reading query reports it.
struct InstrumentReading
{
    static constexpr int kChannelCount = 3;
    // Tracking mode as the driver reports it.
    enum Track : quint8 { Independent = 1, Parallel = 2, Series = 3 };

    std::array<ChannelReading, kChannelCount> channels;
    bool outputOn = false;
    quint8 track = Independent;
    quint8 selectedChannel = 1;

    bool operator==(const InstrumentReading &other) const
    {
        return channels == other.channels && outputOn == other.outputOn && track == other.track
            && selectedChannel == other.selectedChannel;
    }
    bool operator!=(const InstrumentReading &other) const { return !(*this == other); }
};

#endif // INSTRUMENTREADING_H

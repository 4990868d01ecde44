#ifndef BENCHREADINGS_H
#define BENCHREADINGS_H

#include "channelrecord.h"
#include "instrumentreading.h"

#include <QList>

#include <algorithm>
#include <random>

// Readings as the instrument gives them, one a second from 2024-12-08: slow
// random walks around the set points with a rare single-reading spike and,
// when asked for, the tracking mode and the regulation flags changing now
// and then. The same seed gives the same readings in every benchmark.
class BenchReadings
{
public:
    static constexpr qint64 kFirstMs = 1733650000000;
    static constexpr qint64 kPeriodMs = 1000;

    explicit BenchReadings(bool modesChange = false) : modesChange(modesChange) {}

    // The driver's records of the next reading, one per channel; the caller
    // owns them.
    QList<DmmData *> next()
    {
        InstrumentReading reading;
        reading.outputOn = true;
        if (modesChange && change(random) == 0)
            track = quint8(1 + (track % 3));
        reading.track = track;
        for (int ch = 0; ch < InstrumentReading::kChannelCount; ++ch) {
            ChannelReading &channel = reading.channels[ch];
            centiVolts[ch] = std::clamp(centiVolts[ch] + step(random), 0, 3200);
            channel.centiVolts = spike(random) == 0 ? centiVolts[ch] + 500 : centiVolts[ch];
            channel.milliAmps = ch < 2 ? 500 + step(random) : 0;
            channel.centiWatts = channel.centiVolts * channel.milliAmps / 1000;
            channel.setCentiVolts = 1200;
            channel.setMilliAmps = ch < 2 ? 1000 : 0;
            if (modesChange)
                channel.constantCurrent = ch < 2 && change(random) < 2;
        }
        QList<DmmData *> records;
        for (int ch = 1; ch <= InstrumentReading::kChannelCount; ++ch)
            records << new ChannelRecord(ch, reading, kFirstMs + count * kPeriodMs);
        ++count;
        return records;
    }

private:
    bool modesChange;
    std::mt19937 random{4200};
    std::uniform_int_distribution<int> step{-1, 1};
    std::uniform_int_distribution<int> spike{0, 5000};
    std::uniform_int_distribution<int> change{0, 1000};
    int centiVolts[InstrumentReading::kChannelCount] = {1200, 500, 330};
    quint8 track = InstrumentReading::Independent;
    qint64 count = 0;
};

#endif // BENCHREADINGS_H

#include "channelrecord.h"

namespace {
constexpr int kChannel3 = 3;

// Whole units with at least two digits, then `decimals` digits: the instrument's display.
QString fixedText(qint64 scaled, int decimals, int integerDigits)
{
    qint64 divisor = 1;
    for (int i = 0; i < decimals; ++i)
        divisor *= 10;
    const qint64 magnitude = scaled < 0 ? -scaled : scaled;
    const QString text = QStringLiteral("%1.%2")
                             .arg(magnitude / divisor, integerDigits, 10, QLatin1Char('0'))
                             .arg(magnitude % divisor, decimals, 10, QLatin1Char('0'));
    return scaled < 0 ? QLatin1Char('-') + text : text;
}
} // namespace

ChannelRecord::ChannelRecord(int channel, const InstrumentReading &reading, qint64 timeMs)
    : m_timeMs(timeMs)
    , m_channel(quint8(channel))
    , m_track(reading.track)
    , m_ch1Flag(reading.channels[0].constantCurrent ? 1 : 0)
    , m_ch2Flag(reading.channels[1].constantCurrent ? 1 : 0)
{
    const ChannelReading &values = reading.channels[qBound(1, channel, InstrumentReading::kChannelCount) - 1];
    m_centiVolts = values.centiVolts;
    m_milliAmps = values.milliAmps;
    m_centiWatts = values.centiWatts;
    m_setCentiVolts = values.setCentiVolts;
    m_setMilliAmps = values.setMilliAmps;
}

QString ChannelRecord::voltsText(int channel, qint32 centiVolts)
{
    // Channel 3 shows one decimal; rounded half up from hundredths.
    return channel == kChannel3 ? fixedText((centiVolts + 5) / 10, 1, 1) : fixedText(centiVolts, 2, 2);
}

QString ChannelRecord::ampsText(qint32 milliAmps)
{
    return fixedText(milliAmps, 3, 1);
}

QString ChannelRecord::wattsText(qint32 centiWatts)
{
    return fixedText(centiWatts, 2, 2);
}

QDateTime ChannelRecord::dateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(m_timeMs);
}

double ChannelRecord::voltageSetting() const
{
    return m_setCentiVolts / 100.0;
}

QString ChannelRecord::voltageSettingText() const
{
    return voltsText(m_channel, m_setCentiVolts);
}

QString ChannelRecord::currentSettingText() const
{
    return ampsText(m_setMilliAmps);
}

QString ChannelRecord::powerSettingText() const
{
    // The power the set points allow: volts x amperes, in hundredths of a watt.
    const qint64 centiWatts = (qint64(m_setCentiVolts) * m_setMilliAmps + 500) / 1000;
    return fixedText(centiWatts, 2, 2);
}

double ChannelRecord::voltage() const
{
    return m_centiVolts / 100.0;
}

double ChannelRecord::current() const
{
    return m_milliAmps / 1000.0;
}

double ChannelRecord::power() const
{
    return m_centiWatts / 100.0;
}

QString ChannelRecord::voltageText() const
{
    return voltsText(m_channel, m_centiVolts);
}

QString ChannelRecord::currentText() const
{
    return ampsText(m_milliAmps);
}

QString ChannelRecord::powerText() const
{
    return wattsText(m_centiWatts);
}

quint8 ChannelRecord::trackMode() const
{
    return m_track;
}

quint8 ChannelRecord::ch1Flag() const
{
    return m_ch1Flag;
}

quint8 ChannelRecord::ch2Flag() const
{
    return m_ch2Flag;
}

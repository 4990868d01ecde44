#ifndef CHANNELRECORD_H
#define CHANNELRECORD_H

#include "dmmdata.h"
#include "instrumentreading.h"

// The driver's measurement record of one channel. It keeps the numbers in the
// instrument's resolution and the time, about 40 bytes, and builds the display
// texts when asked: recordings may hold millions of them.
class ChannelRecord : public DmmData
{
public:
    // channel 1 to 3; timeMs since the epoch.
    ChannelRecord(int channel, const InstrumentReading &reading, qint64 timeMs);

    QDateTime dateTime() const override;
    double voltageSetting() const override;
    QString voltageSettingText() const override;
    QString currentSettingText() const override;
    QString powerSettingText() const override;
    double voltage() const override;
    double current() const override;
    double power() const override;
    QString voltageText() const override;
    QString currentText() const override;
    QString powerText() const override;
    quint8 trackMode() const override;
    quint8 ch1Flag() const override;
    quint8 ch2Flag() const override;

    // The display texts, shared with the driver's set-point reports.
    static QString voltsText(int channel, qint32 centiVolts);
    static QString ampsText(qint32 milliAmps);
    static QString wattsText(qint32 centiWatts);

private:
    qint64 m_timeMs;
    qint32 m_centiVolts;
    qint32 m_milliAmps;
    qint32 m_centiWatts;
    qint32 m_setCentiVolts;
    qint32 m_setMilliAmps;
    quint8 m_channel;
    quint8 m_track;
    quint8 m_ch1Flag;
    quint8 m_ch2Flag;
};

#endif // CHANNELRECORD_H

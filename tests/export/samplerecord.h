#ifndef SAMPLERECORD_H
#define SAMPLERECORD_H

#include "dmmdata.h"

// A reading with fixed display texts, as a driver would deliver it.
class SampleRecord : public DmmData
{
public:
    SampleRecord(const QDateTime &time, const QString &volts, const QString &amps,
                 const QString &watts, quint8 track = 1, quint8 flag = 0)
        : time(time), volts(volts), amps(amps), watts(watts), track(track), flag(flag)
    {
    }

    QDateTime dateTime() const override { return time; }
    double voltageSetting() const override { return volts.toDouble(); }
    QString voltageSettingText() const override { return volts; }
    QString currentSettingText() const override { return amps; }
    QString powerSettingText() const override { return watts; }
    double voltage() const override { return volts.toDouble(); }
    double current() const override { return amps.toDouble(); }
    double power() const override { return watts.toDouble(); }
    QString voltageText() const override { return volts; }
    QString currentText() const override { return amps; }
    QString powerText() const override { return watts; }
    quint8 trackMode() const override { return track; }
    quint8 ch1Flag() const override { return flag; }
    quint8 ch2Flag() const override { return flag; }

private:
    QDateTime time;
    QString volts;
    QString amps;
    QString watts;
    quint8 track;
    quint8 flag;
};

#endif // SAMPLERECORD_H

#ifndef FAKERECORD_H
#define FAKERECORD_H

#include "dmmdata.h"

// A measurement record whose every field a test sets directly. Counts live
// instances so tests can see that records are neither leaked nor deleted twice.
class FakeRecord : public DmmData
{
public:
    FakeRecord() { ++liveCount(); }
    ~FakeRecord() override { --liveCount(); }
    FakeRecord(const FakeRecord &) = delete;
    FakeRecord &operator=(const FakeRecord &) = delete;

    // A reading with the given display texts, measured and set alike.
    static FakeRecord *withTexts(const QDateTime &at, const QString &volts, const QString &amps,
                                 const QString &watts, quint8 track = 1, quint8 flag = 0)
    {
        auto record = new FakeRecord;
        record->time = at;
        record->volts = record->setVolts = volts.toDouble();
        record->voltsText = record->setVoltsText = volts;
        record->amps = amps.toDouble();
        record->ampsText = record->setAmpsText = amps;
        record->watts = watts.toDouble();
        record->wattsText = record->setWattsText = watts;
        record->track = track;
        record->flag1 = record->flag2 = flag;
        return record;
    }

    static int &liveCount()
    {
        static int count = 0;
        return count;
    }

    QDateTime time = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    double setVolts = 0;
    QString setVoltsText = QStringLiteral("00.00");
    QString setAmpsText = QStringLiteral("0.000");
    QString setWattsText = QStringLiteral("00.00");
    double volts = 0;
    double amps = 0;
    double watts = 0;
    QString voltsText = QStringLiteral("00.00");
    QString ampsText = QStringLiteral("0.000");
    QString wattsText = QStringLiteral("00.00");
    quint8 track = 1;
    quint8 flag1 = 0;
    quint8 flag2 = 0;

    QDateTime dateTime() const override { return time; }
    double voltageSetting() const override { return setVolts; }
    QString voltageSettingText() const override { return setVoltsText; }
    QString currentSettingText() const override { return setAmpsText; }
    QString powerSettingText() const override { return setWattsText; }
    double voltage() const override { return volts; }
    double current() const override { return amps; }
    double power() const override { return watts; }
    QString voltageText() const override { return voltsText; }
    QString currentText() const override { return ampsText; }
    QString powerText() const override { return wattsText; }
    quint8 trackMode() const override { return track; }
    quint8 ch1Flag() const override { return flag1; }
    quint8 ch2Flag() const override { return flag2; }
};

#endif // FAKERECORD_H

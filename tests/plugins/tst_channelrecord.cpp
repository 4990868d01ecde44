#include "channelrecord.h"

#include <QtTest>

class TestChannelRecord : public QObject
{
    Q_OBJECT

private:
    static InstrumentReading sample()
    {
        InstrumentReading r;
        r.channels[0] = {500, 500, 250, 1200, 500, true};
        r.channels[1] = {1234, 3200, 3949, 1234, 3200, false};
        r.channels[2] = {330, 330, 109, 330, 0, false};
        r.outputOn = true;
        r.track = InstrumentReading::Parallel;
        return r;
    }

private slots:
    void texts_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QString>("amps");
        QTest::addColumn<QString>("watts");
        QTest::addColumn<QString>("setVolts");
        QTest::addColumn<QString>("setAmps");
        QTest::addColumn<QString>("setWatts");
        QTest::newRow("channel 1") << 1 << "05.00" << "0.500" << "02.50" << "12.00" << "0.500" << "06.00";
        QTest::newRow("channel 2") << 2 << "12.34" << "3.200" << "39.49" << "12.34" << "3.200" << "39.49";
        QTest::newRow("channel 3") << 3 << "3.3" << "0.330" << "01.09" << "3.3" << "0.000" << "00.00";
    }

    void texts()
    {
        QFETCH(int, channel);
        const ChannelRecord record(channel, sample(), 0);
        QTEST(record.voltageText(), "volts");
        QTEST(record.currentText(), "amps");
        QTEST(record.powerText(), "watts");
        QTEST(record.voltageSettingText(), "setVolts");
        QTEST(record.currentSettingText(), "setAmps");
        QTEST(record.powerSettingText(), "setWatts");
    }

    void numbersAndFlags()
    {
        const qint64 timeMs = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)).toMSecsSinceEpoch();
        const ChannelRecord record(3, sample(), timeMs);
        QCOMPARE(record.dateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), QStringLiteral("2024-03-05 14:07:09"));
        QCOMPARE(record.voltage(), 3.3);
        QCOMPARE(int(record.voltageSetting() * 10), 33);
        QCOMPARE(record.current(), 0.33);
        QCOMPARE(record.power(), 1.09);
        QCOMPARE(record.trackMode(), quint8(2));
        QCOMPARE(record.ch1Flag(), quint8(1));
        QCOMPARE(record.ch2Flag(), quint8(0));
    }

    void fixedVoltageLabels_data()
    {
        QTest::addColumn<int>("centiVolts");
        QTest::addColumn<int>("label");
        QTest::newRow("1.8") << 180 << 18;
        QTest::newRow("2.5") << 250 << 25;
        QTest::newRow("3.3") << 330 << 33;
        QTest::newRow("5.0") << 500 << 50;
    }

    void fixedVoltageLabels()
    {
        QFETCH(int, centiVolts);
        InstrumentReading r;
        r.channels[2].setCentiVolts = centiVolts;
        QTEST(int(ChannelRecord(3, r, 0).voltageSetting() * 10), "label");
    }

    void compact()
    {
        QVERIFY(sizeof(ChannelRecord) <= 48);
    }

    void deletedThroughBase()
    {
        DmmData *record = new ChannelRecord(1, sample(), 0);
        delete record;
    }
};

QTEST_GUILESS_MAIN(TestChannelRecord)
#include "tst_channelrecord.moc"

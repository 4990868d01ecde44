#include "instrumentmodel.h"

#include <QtTest>

class TestInstrumentModel : public QObject
{
    Q_OBJECT

private:
    static SimulatorConfig quiet()
    {
        SimulatorConfig config;
        config.noiseFraction = 0;
        return config;
    }

private slots:
    void outputOffReadsZero()
    {
        InstrumentModel model(quiet());
        for (const auto &m : model.measure()) {
            QCOMPARE(m.volts, 0.0);
            QCOMPARE(m.amps, 0.0);
            QVERIFY(!m.constantCurrent);
        }
    }

    void regulation_data()
    {
        QTest::addColumn<double>("setVolts");
        QTest::addColumn<double>("setAmps");
        QTest::addColumn<double>("ohms");
        QTest::addColumn<double>("volts");
        QTest::addColumn<double>("amps");
        QTest::addColumn<bool>("cc");
        QTest::newRow("cv below the limit") << 5.0 << 1.0 << 10.0 << 5.0 << 0.5 << false;
        QTest::newRow("cv at the limit") << 10.0 << 1.0 << 10.0 << 10.0 << 1.0 << false;
        QTest::newRow("cc above the limit") << 12.0 << 0.5 << 10.0 << 5.0 << 0.5 << true;
        QTest::newRow("short circuit") << 5.0 << 2.0 << 0.0 << 0.02 << 2.0 << true;
    }

    void regulation()
    {
        QFETCH(double, setVolts);
        QFETCH(double, setAmps);
        QFETCH(double, ohms);
        InstrumentModel model(quiet());
        model.setLoad(1, ohms);
        QCOMPARE(model.setVoltage(1, setVolts), 0);
        QCOMPARE(model.setCurrent(1, setAmps), 0);
        model.setOutput(true);
        const auto m = model.measure()[0];
        QTEST(m.volts, "volts");
        QTEST(m.amps, "amps");
        QTEST(m.constantCurrent, "cc");
        QCOMPARE(m.watts, m.volts * m.amps);
    }

    void noiseStaysSmall()
    {
        SimulatorConfig config;
        config.noiseFraction = 0.01;
        InstrumentModel model(config);
        model.setOutput(true);
        for (int i = 0; i < 100; ++i) {
            const auto m = model.measure()[0];
            QVERIFY(qAbs(m.volts - 5.0) <= 0.05 + 1e-9);
        }
    }

    void channel3RegulatesVoltageOnly()
    {
        InstrumentModel model(quiet());
        model.setLoad(3, 0.1);
        QCOMPARE(model.setVoltage(3, 5.0), 0);
        QCOMPARE(model.setCurrent(3, 1.0), InstrumentModel::kErrSuffixOutOfRange);
        model.setOutput(true);
        const auto m = model.measure()[2];
        QCOMPARE(m.volts, 5.0);
        QCOMPARE(m.amps, 50.0);
    }

    void outOfRangeChangesNothing_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("voltage");
        QTest::addColumn<double>("value");
        QTest::newRow("volts above 32") << 1 << true << 32.01;
        QTest::newRow("negative volts") << 2 << true << -0.5;
        QTest::newRow("channel 3 above 6") << 3 << true << 6.1;
        QTest::newRow("amps above 3.2") << 1 << false << 3.3;
        QTest::newRow("not a number") << 1 << true << qQNaN();
    }

    void outOfRangeChangesNothing()
    {
        QFETCH(int, channel);
        QFETCH(bool, voltage);
        QFETCH(double, value);
        InstrumentModel model(quiet());
        const double before = voltage ? model.voltageSetting(channel) : model.currentSetting(channel);
        const int error = voltage ? model.setVoltage(channel, value) : model.setCurrent(channel, value);
        QCOMPARE(error, InstrumentModel::kErrOutOfRange);
        QCOMPARE(voltage ? model.voltageSetting(channel) : model.currentSetting(channel), before);
    }

    void seriesTiesChannel2AndDoublesVoltage()
    {
        InstrumentModel model(quiet());
        model.setLoad(1, 20.0);
        model.setVoltage(1, 6.0);
        model.setCurrent(1, 1.0);
        model.setTrack(InstrumentModel::Series);
        QCOMPARE(model.voltageSetting(2), 6.0);
        QCOMPARE(model.setVoltage(2, 3.0), InstrumentModel::kErrSettingsConflict);
        model.setOutput(true);
        const auto m = model.measure();
        QCOMPARE(m[0].amps, 0.6); // 12 V across 20 ohms
        QCOMPARE(m[1].amps, 0.6);
        QCOMPARE(m[0].volts + m[1].volts, 12.0);
    }

    void parallelSharesCurrent()
    {
        InstrumentModel model(quiet());
        model.setLoad(1, 2.0);
        model.setVoltage(1, 5.0);
        model.setCurrent(1, 1.0);
        model.setTrack(InstrumentModel::Parallel);
        model.setOutput(true);
        const auto m = model.measure();
        // 2.5 A wanted, 2 A available from the pair: constant current at 4 V.
        QVERIFY(m[0].constantCurrent);
        QCOMPARE(m[0].amps, 1.0);
        QCOMPARE(m[1].amps, 1.0);
        QCOMPARE(m[0].volts, 4.0);
    }

    void memoriesStoreAndRecall()
    {
        InstrumentModel model(quiet());
        model.setVoltage(1, 7.25);
        model.setCurrent(2, 0.125);
        model.setVoltage(3, 1.8);
        QCOMPARE(model.store(3), 0);
        model.setVoltage(1, 1.0);
        model.setVoltage(3, 5.0);
        QCOMPARE(model.recall(3), 0);
        QCOMPARE(model.voltageSetting(1), 7.25);
        QCOMPARE(model.currentSetting(2), 0.125);
        QCOMPARE(model.voltageSetting(3), 1.8);
        QCOMPARE(model.store(6), InstrumentModel::kErrOutOfRange);
        QCOMPARE(model.recall(0), InstrumentModel::kErrOutOfRange);
    }

    void errorQueueOverflows()
    {
        InstrumentModel model(quiet());
        for (int i = 0; i < 40; ++i)
            model.pushError(InstrumentModel::kErrUndefinedHeader);
        QCOMPARE(model.errorCount(), InstrumentModel::kErrorQueueSize);
        for (int i = 0; i < InstrumentModel::kErrorQueueSize - 1; ++i)
            QCOMPARE(model.popError(), QByteArray("-113,\"Undefined header\""));
        QCOMPARE(model.popError(), QByteArray("-350,\"Queue overflow\""));
        QCOMPARE(model.popError(), QByteArray("0,\"No error\""));
    }
};

QTEST_GUILESS_MAIN(TestInstrumentModel)
#include "tst_instrumentmodel.moc"

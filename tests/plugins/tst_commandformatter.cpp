#include "commandformatter.h"

#include <QtTest>

#include <limits>

class TestCommandFormatter : public QObject
{
    Q_OBJECT

private slots:
    void setPoints_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("volts") << CommandFormatter::voltage(1, 12.5) << QByteArray("SOUR1:VOLT 12.50");
        QTest::newRow("volts rounded") << CommandFormatter::voltage(2, 1.2349) << QByteArray("SOUR2:VOLT 1.23");
        QTest::newRow("volts clamped high") << CommandFormatter::voltage(1, 40) << QByteArray("SOUR1:VOLT 32.00");
        QTest::newRow("volts clamped low") << CommandFormatter::voltage(1, -1) << QByteArray("SOUR1:VOLT 0.00");
        QTest::newRow("volts not a number") << CommandFormatter::voltage(1, std::numeric_limits<double>::quiet_NaN()) << QByteArray("SOUR1:VOLT 0.00");
        QTest::newRow("channel 3 volts") << CommandFormatter::voltage(3, 3.3) << QByteArray("SOUR3:VOLT 3.3");
        QTest::newRow("channel 3 clamped") << CommandFormatter::voltage(3, 12) << QByteArray("SOUR3:VOLT 6.0");
        QTest::newRow("amps") << CommandFormatter::current(2, 0.5) << QByteArray("SOUR2:CURR 0.500");
        QTest::newRow("amps clamped") << CommandFormatter::current(1, 5) << QByteArray("SOUR1:CURR 3.200");
        QTest::newRow("no amps on channel 3") << CommandFormatter::current(3, 1) << QByteArray();
        QTest::newRow("no channel 4") << CommandFormatter::voltage(4, 1) << QByteArray();
    }

    void setPoints()
    {
        QFETCH(QByteArray, command);
        QTEST(command, "expected");
    }

    void choices_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("select 2") << CommandFormatter::selectChannel(2) << QByteArray("INST:NSEL 2");
        QTest::newRow("select 0") << CommandFormatter::selectChannel(0) << QByteArray();
        QTest::newRow("output on") << CommandFormatter::output(true) << QByteArray("OUTP ON");
        QTest::newRow("independent") << CommandFormatter::tracking(0) << QByteArray("OUTP:TRAC IND");
        QTest::newRow("series") << CommandFormatter::tracking(1) << QByteArray("OUTP:TRAC SER");
        QTest::newRow("parallel") << CommandFormatter::tracking(2) << QByteArray("OUTP:TRAC PAR");
        QTest::newRow("tracking 3") << CommandFormatter::tracking(3) << QByteArray();
        QTest::newRow("store 5") << CommandFormatter::store(5) << QByteArray("*SAV 5");
        QTest::newRow("recall 1") << CommandFormatter::recall(1) << QByteArray("*RCL 1");
        QTest::newRow("recall 6") << CommandFormatter::recall(6) << QByteArray();
    }

    void choices()
    {
        QFETCH(QByteArray, command);
        QTEST(command, "expected");
    }
};

QTEST_GUILESS_MAIN(TestCommandFormatter)
#include "tst_commandformatter.moc"

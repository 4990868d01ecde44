#include "commandinterpreter.h"
#include "instrumentmodel.h"

#include <QtTest>

#include <random>

class TestCommandInterpreter : public QObject
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
    // Each row: commands run first, then one line whose reply (or error) is checked.
    void lines_data()
    {
        QTest::addColumn<QByteArrayList>("setup");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("reply"); // empty: no reply expected
        QTest::addColumn<QByteArray>("error"); // the error queue's first entry afterwards

        const QByteArray none("0,\"No error\"");
        QTest::newRow("identity") << QByteArrayList() << QByteArray("*IDN?") << QByteArray("TESSEL,LUMA4200,SIM00001,1.0") << none;
        QTest::newRow("short form") << QByteArrayList{"SOUR1:VOLT 12.5"} << QByteArray("SOUR1:VOLT?") << QByteArray("12.50") << none;
        QTest::newRow("long form, lower case") << QByteArrayList{"source2:current 0.25"} << QByteArray(":SOURCE2:CURRENT?") << QByteArray("0.250") << none;
        QTest::newRow("default suffix is 1") << QByteArrayList{"SOUR:VOLT 3"} << QByteArray("SOUR1:VOLT?") << QByteArray("3.00") << none;
        QTest::newRow("channel 3 one decimal") << QByteArrayList{"SOUR3:VOLT 2.5"} << QByteArray("SOUR3:VOLT?") << QByteArray("2.5") << none;
        QTest::newRow("exponent") << QByteArrayList{"SOUR1:VOLT 1.2e1"} << QByteArray("SOUR1:VOLT?") << QByteArray("12.00") << none;
        QTest::newRow("select") << QByteArrayList{"INST:NSEL 3"} << QByteArray("INST?") << QByteArray("3") << none;
        QTest::newRow("output on") << QByteArrayList{"OUTP ON"} << QByteArray("OUTP:STAT?") << QByteArray("1") << none;
        QTest::newRow("output 0") << QByteArrayList{"OUTP ON", "OUTPUT 0"} << QByteArray("OUTP?") << QByteArray("0") << none;
        QTest::newRow("tracking") << QByteArrayList{"OUTP:TRAC PARALLEL"} << QByteArray("OUTP:TRAC?") << QByteArray("PAR") << none;
        QTest::newRow("recall") << QByteArrayList{"SOUR1:VOLT 9", "*SAV 5", "SOUR1:VOLT 1"} << QByteArray("*RCL 5") << QByteArray() << none;
        QTest::newRow("reset") << QByteArrayList{"OUTP ON", "SOUR1:VOLT 9"} << QByteArray("*RST") << QByteArray() << none;
        QTest::newRow("reading") << QByteArrayList{"SOUR1:VOLT 12", "SOUR1:CURR 0.5", "OUTP ON", "INST 2"} << QByteArray("MEAS:ALL?")
                                 << QByteArray("5.00,0.500,2.50,5.00,0.500,2.50,3.30,0.330,1.09,12.00,0.500,5.00,1.000,3.3,CC,CV,1,IND,2") << none;
        QTest::newRow("unknown header") << QByteArrayList() << QByteArray("FOO:BAR 1") << QByteArray() << QByteArray("-113,\"Undefined header\"");
        QTest::newRow("out of range") << QByteArrayList() << QByteArray("SOUR1:VOLT 32.5") << QByteArray() << QByteArray("-222,\"Data out of range\"");
        QTest::newRow("no current on channel 3") << QByteArrayList() << QByteArray("SOUR3:CURR 1") << QByteArray() << QByteArray("-114,\"Header suffix out of range\"");
        QTest::newRow("channel 4") << QByteArrayList() << QByteArray("SOUR4:VOLT 1") << QByteArray() << QByteArray("-114,\"Header suffix out of range\"");
        QTest::newRow("missing value") << QByteArrayList() << QByteArray("SOUR1:VOLT") << QByteArray() << QByteArray("-109,\"Missing parameter\"");
        QTest::newRow("word for a number") << QByteArrayList() << QByteArray("SOUR1:VOLT high") << QByteArray() << QByteArray("-104,\"Data type error\"");
        QTest::newRow("query with value") << QByteArrayList() << QByteArray("OUTP? 1") << QByteArray() << QByteArray("-108,\"Parameter not allowed\"");
        QTest::newRow("bad choice") << QByteArrayList() << QByteArray("OUTP:TRAC DIAG") << QByteArray() << QByteArray("-224,\"Illegal parameter value\"");
        QTest::newRow("memory 6") << QByteArrayList() << QByteArray("*SAV 6") << QByteArray() << QByteArray("-222,\"Data out of range\"");
        QTest::newRow("channel 2 while tracking") << QByteArrayList{"OUTP:TRAC SER"} << QByteArray("SOUR2:VOLT 3") << QByteArray() << QByteArray("-221,\"Settings conflict\"");
        QTest::newRow("control byte") << QByteArrayList() << QByteArray("OUTP\x01 ON") << QByteArray() << QByteArray("-101,\"Invalid character\"");
        QTest::newRow("bad node") << QByteArrayList() << QByteArray("SOUR1::VOLT 1") << QByteArray() << QByteArray("-102,\"Syntax error\"");
        QTest::newRow("blank line") << QByteArrayList() << QByteArray("   ") << QByteArray() << none;
    }

    void lines()
    {
        QFETCH(QByteArrayList, setup);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, error);
        InstrumentModel model(quiet());
        CommandInterpreter interpreter(model);
        for (const QByteArray &command : setup)
            QVERIFY(!interpreter.execute(command));
        QCOMPARE(model.errorCount(), 0);
        const std::optional<QByteArray> answer = interpreter.execute(line);
        QCOMPARE(answer.value_or(QByteArray()), reply);
        QCOMPARE(model.popError(), error);
    }

    void recallAndResetRestoreSetPoints()
    {
        InstrumentModel model(quiet());
        CommandInterpreter interpreter(model);
        interpreter.execute("SOUR1:VOLT 9");
        interpreter.execute("*SAV 5");
        interpreter.execute("SOUR1:VOLT 1");
        interpreter.execute("*RCL 5");
        QCOMPARE(*interpreter.execute("SOUR1:VOLT?"), QByteArray("9.00"));
        interpreter.execute("*RST");
        QCOMPARE(*interpreter.execute("SOUR1:VOLT?"), QByteArray("5.00"));
    }

    // Arbitrary bytes never crash the interpreter, and every reply is one printable line.
    void randomBytes()
    {
        InstrumentModel model(quiet());
        CommandInterpreter interpreter(model);
        std::mt19937 random(7);
        std::uniform_int_distribution<int> length(0, 80);
        std::uniform_int_distribution<int> byte(0, 255);
        const QByteArrayList seeds = {"SOUR1:VOLT ", "*RCL ", "OUTP:TRAC ", "MEAS:ALL?", "INST ", ":"};
        for (int i = 0; i < 20000; ++i) {
            QByteArray line = seeds[i % seeds.size()];
            const int n = length(random);
            for (int k = 0; k < n; ++k)
                line.append(char(byte(random)));
            const std::optional<QByteArray> reply = interpreter.execute(line);
            if (reply) {
                QVERIFY(!reply->contains('\n'));
                QVERIFY(!reply->isEmpty());
            }
            QVERIFY(model.errorCount() <= InstrumentModel::kErrorQueueSize);
            QVERIFY(model.voltageSetting(1) >= 0 && model.voltageSetting(1) <= InstrumentModel::kMaxVolts);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandInterpreter)
#include "tst_commandinterpreter.moc"

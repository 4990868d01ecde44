// The SCPI commands on a fake instrument: forms, answers, errors, and lines
// that are random or malformed.

#include "remoteinstrument.h"
#include "scpilinereader.h"
#include "scpisession.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
// Switches channels at once and remembers the calls.
class FakeInstrument : public RemoteInstrument
{
public:
    QByteArray identity() override { return "TESSEL,LUMA4200,SIM00001,1.0"; }
    bool isConnected() override { return connected; }
    int selectedChannel() override { return channel; }
    void selectChannel(int ch) override { calls << QStringLiteral("select %1").arg(ch), channel = switches ? ch : channel; }
    void setVoltage(double v) override { calls << QStringLiteral("volt %1").arg(v); }
    void setCurrent(double a) override { calls << QStringLiteral("curr %1").arg(a); }
    void setOutput(bool on) override { calls << QStringLiteral("output %1").arg(on); }
    void setTracking(int mode) override { calls << QStringLiteral("track %1").arg(mode); }
    std::optional<double> voltageSetPoint(int ch) override { return ch * 1.5; }
    std::optional<double> currentSetPoint(int) override { return 0.25; }
    std::optional<bool> isOutputOn() override { return true; }
    std::optional<int> tracking() override { return 3; }
    std::optional<RemoteReading> newestReading(int) override
    {
        return readings ? std::optional<RemoteReading>({"05.00", "0.500", "02.50"}) : std::nullopt;
    }
    int recordedCount() override { return readings; }
    QByteArray recordedLine(int index) override { return "line" + QByteArray::number(index) + '\n'; }

    bool connected = true;
    bool switches = true;
    int channel = 1;
    int readings = 3;
    QStringList calls;
};
} // namespace

class TestScpiSession : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void commandsReachTheInstrument();
    void setPointWaitsForTheChannelSwitch();
    void errorQueueOverflows();
    void randomAndMalformedLines();
    void overlongLinesAreDropped();
};

void TestScpiSession::answers_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("answers");
    QTest::newRow("identity") << QByteArrayList{"*idn?"} << QByteArray("TESSEL,LUMA4200,SIM00001,1.0\n");
    QTest::newRow("no error") << QByteArrayList{"SYST:ERR?", "system:error:next?"}
                              << QByteArray("0,\"No error\"\n0,\"No error\"\n");
    QTest::newRow("undefined header") << QByteArrayList{"VOLTA 1", ":SYST:ERR?"}
                                      << QByteArray("-113,\"Undefined header\"\n");
    QTest::newRow("query only") << QByteArrayList{"*IDN", "SYST:ERR?"} << QByteArray("-113,\"Undefined header\"\n");
    QTest::newRow("reset refused") << QByteArrayList{"*RST", "SYST:ERR?"}
                                   << QByteArray("-200,\"Execution error;*RST is refused, the instrument stays as it is\"\n");
    QTest::newRow("range") << QByteArrayList{"VOLT 32.01", "SYST:ERR?"}
                           << QByteArray("-222,\"Data out of range;0 to 32.00 V\"\n");
    QTest::newRow("data type") << QByteArrayList{"CURR abc", "SYST:ERR?"} << QByteArray("-104,\"Data type error\"\n");
    QTest::newRow("missing") << QByteArrayList{"OUTP", "SYST:ERR?"} << QByteArray("-109,\"Missing parameter\"\n");
    QTest::newRow("not allowed") << QByteArrayList{"OUTP ON,OFF", "SYST:ERR?"}
                                 << QByteArray("-108,\"Parameter not allowed\"\n");
    QTest::newRow("CH3 levels") << QByteArrayList{"INST CH3", "VOLT 4", "SYST:ERR?", "VOLT?"}
                                << QByteArray("-222,\"Data out of range;CH3 takes 1.8, 2.5, 3.3 or 5.0 V\"\n4.5\n");
    QTest::newRow("cleared") << QByteArrayList{"FOO", "*CLS", "SYST:ERR?"} << QByteArray("0,\"No error\"\n");
    QTest::newRow("channel") << QByteArrayList{"INSTRUMENT:SELECT ch2", "INST?", "INST:NSEL?", "SOUR:VOLT?"}
                             << QByteArray("CH2\n2\n3.00\n");
    QTest::newRow("states") << QByteArrayList{"OUTPUT:STATE?", "OUTP:TRAC?", "CURR?", "*OPC?", "SYST:CONN?"}
                            << QByteArray("1\nSER\n0.250\n1\n1\n");
    QTest::newRow("measure") << QByteArrayList{"MEAS:VOLT?", "MEAS:CURR?", "meas:pow?", "MEASURE:ALL?"}
                             << QByteArray("05.00\n0.500\n02.50\n05.00,0.500,02.50\n");
    QTest::newRow("data") << QByteArrayList{"DATA:POIN?", "DATA:READ? 2,2", "DATA:READ? 3,2", "SYST:ERR?"}
                          << QByteArray("3\nline1\nline2\n-222,\"Data out of range;readings 1 to 3, at most 10000 at once\"\n");
}

void TestScpiSession::answers()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, answers);
    FakeInstrument instrument;
    ScpiSession session(instrument);
    QByteArray given;
    for (const QByteArray &line : lines)
        given += session.execute(line + "\r").answer;
    QCOMPARE(given, answers);
}

void TestScpiSession::commandsReachTheInstrument()
{
    FakeInstrument instrument;
    ScpiSession session(instrument);
    for (const QByteArray line : {"VOLT 12.345", "source:current 1.5E0", "OUTP ON", "OUTP:TRAC PAR", "INST:NSEL 3",
                                  "VOLT 3.3"})
        QCOMPARE(session.execute(line).kind, ScpiSession::Result::Applied);
    QCOMPARE(instrument.calls, QStringList({"volt 12.35", "curr 1.5", "output 1", "track 2", "select 3", "volt 3.3"}));

    instrument.connected = false;
    instrument.calls.clear();
    QCOMPARE(session.execute("VOLT 5").kind, ScpiSession::Result::Done);
    QCOMPARE(session.execute("SYST:ERR?").answer, QByteArray("-241,\"Hardware missing;no instrument is connected\"\n"));
    QCOMPARE(instrument.calls, QStringList());
}

void TestScpiSession::setPointWaitsForTheChannelSwitch()
{
    FakeInstrument instrument;
    instrument.switches = false;
    ScpiSession session(instrument);
    QCOMPARE(session.execute("INST CH2").kind, ScpiSession::Result::Applied);
    // The key was pressed once; the set point waits for the instrument's report.
    QCOMPARE(session.execute("VOLT 7").kind, ScpiSession::Result::Waiting);
    QCOMPARE(session.execute("VOLT 7").kind, ScpiSession::Result::Waiting);
    QCOMPARE(instrument.calls, QStringList{"select 2"});
    instrument.channel = 2;
    QCOMPARE(session.execute("VOLT 7").kind, ScpiSession::Result::Applied);
    QCOMPARE(instrument.calls, QStringList({"select 2", "volt 7"}));

    instrument.channel = 1;
    QCOMPARE(session.execute("VOLT 8").kind, ScpiSession::Result::Waiting);
    session.giveUp();
    QCOMPARE(session.execute("SYST:ERR?").answer,
             QByteArray("-240,\"Hardware error;the instrument did not switch to CH2\"\n"));
}

void TestScpiSession::errorQueueOverflows()
{
    FakeInstrument instrument;
    ScpiSession session(instrument);
    for (int i = 0; i < 40; ++i)
        session.execute("NOPE");
    QCOMPARE(session.errors().size(), ScpiErrorQueue::kCapacity);
    QByteArray last;
    for (int i = 0; i < ScpiErrorQueue::kCapacity; ++i)
        last = session.execute("SYST:ERR?").answer;
    QCOMPARE(last, QByteArray("-350,\"Queue overflow\"\n"));
}

// Random bytes and mangled commands: every line answers, changes the
// instrument or leaves an error, and nothing waits, crashes or hangs.
void TestScpiSession::randomAndMalformedLines()
{
    const QByteArrayList seeds = {"VOLT 5", "INST:NSEL 2", "OUTP:TRAC SER", "DATA:READ? 1,2", "MEAS:ALL?",
                                  "SYST:ERR?", "*IDN?", "CURR 0.5", "OUTP ON"};
    QRandomGenerator random(4200);
    FakeInstrument instrument;
    ScpiSession session(instrument);
    for (int i = 0; i < 20000; ++i) {
        QByteArray line = seeds.at(random.bounded(seeds.size()));
        const int edits = random.bounded(1, 6);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(line.size() + 1);
            const char byte = char(random.bounded(256));
            switch (random.bounded(4)) {
            case 0: line.insert(at, byte); break;
            case 1: line.remove(at, 1); break;
            case 2: line.insert(at, QByteArray(random.bounded(1, 40), byte)); break;
            default:
                line.resize(random.bounded(1, 200));
                for (char &c : line)
                    c = char(random.bounded(256));
                break;
            }
        }
        session.errors().clear();
        instrument.calls.clear();
        const ScpiSession::Result result = session.execute(line);
        QVERIFY2(result.kind != ScpiSession::Result::Waiting, line.toHex().constData());
        const bool visible = !result.answer.isEmpty() || result.kind == ScpiSession::Result::Applied
                             || session.errors().size() > 0 || line.trimmed().isEmpty();
        QVERIFY2(visible, line.toHex().constData());
    }
}

void TestScpiSession::overlongLinesAreDropped()
{
    ScpiLineReader reader;
    const QByteArray longLine(ScpiLineReader::kMaxLineBytes + 1, 'A');
    QList<ScpiLineReader::Line> lines = reader.append(longLine.left(3000));
    QVERIFY(lines.isEmpty());
    lines = reader.append(longLine.mid(3000) + "tail\r\n*IDN?\r");
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.at(0).tooLong);
    lines = reader.append(QByteArray("\n") + QByteArray(3, '\0') + "\n");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).text, QByteArray("*IDN?"));
    QCOMPARE(lines.at(1).text, QByteArray(3, '\0'));
}

QTEST_GUILESS_MAIN(TestScpiSession)
#include "tst_scpisession.moc"

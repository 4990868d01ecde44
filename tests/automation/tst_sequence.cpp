// The automation's plain pieces without a window: the sequence's CSV file and
// limits, the commands of a pass with a ramp, a stop condition on the
// readings' own clock, and the event log beside a session.

#include "eventlog.h"
#include "fakerecord.h"
#include "sequencecsv.h"
#include "sequenceplan.h"
#include "stopcondition.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SequenceStep)

class TestSequence : public QObject
{
    Q_OBJECT
private slots:
    void goodFileReadsAndWritesBack();
    void badLineIsNamed_data();
    void badLineIsNamed();
    void outOfRangeStepIsNamed_data();
    void outOfRangeStepIsNamed();
    void threeStepsWithARampPlanExactCommands();
    void chargeTerminationWaitsForItsHoldTime();
    void eventsWaitForTheSessionAndGoOnInItsFile();
};

void TestSequence::goodFileReadsAndWritesBack()
{
    QList<SequenceStep> steps;
    QString error;
    QVERIFY(SequenceCsv::read("voltage,current,seconds\r\n5,1,10\n\n12.5, 0.25 ,2.5\n", &steps, &error));
    QCOMPARE(steps.size(), 2);
    QCOMPARE(steps.at(1).volts, 12.5);
    QCOMPARE(steps.at(1).amps, 0.25);
    QCOMPARE(steps.at(1).seconds, 2.5);
    QCOMPARE(SequenceCsv::write(steps), QByteArray("voltage,current,seconds\n5,1,10\n12.5,0.25,2.5\n"));
    // A spreadsheet that writes semicolons and decimal commas.
    QVERIFY(SequenceCsv::read("Voltage;Current;Seconds\n3,3;0,5;60\n", &steps, &error));
    QCOMPARE(steps.size(), 1);
    QCOMPARE(steps.at(0).volts, 3.3);
    QCOMPARE(steps.at(0).amps, 0.5);
}

void TestSequence::badLineIsNamed_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("no header") << QByteArray("5,1,10\n") << "Line 1: the header \"voltage,current,seconds\" is missing.";
    QTest::newRow("two values") << QByteArray("voltage,current,seconds\n5,1,10\n\n6,1\n")
                                << "Line 4: 3 values expected (voltage, current, seconds), found 2.";
    QTest::newRow("not a number") << QByteArray("voltage,current,seconds\n5,1,10\n5,one,10\n")
                                  << "Line 3: \"one\" is not a number.";
    QTest::newRow("empty") << QByteArray("voltage,current,seconds\n") << "The file holds no steps.";
}

void TestSequence::badLineIsNamed()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QList<SequenceStep> steps{{1, 1, 1}};
    QString said;
    QVERIFY(!SequenceCsv::read(text, &steps, &said));
    QCOMPARE(said, error);
    QCOMPARE(steps.size(), 1); // left as it was
}

void TestSequence::outOfRangeStepIsNamed_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<SequenceStep>("step");
    QTest::addColumn<QString>("error");
    QTest::newRow("volts") << 1 << SequenceStep{32.01, 1, 5} << "Step 2: 32.01 V is outside CH1's 0 to 32 V.";
    QTest::newRow("amps") << 2 << SequenceStep{5, 3.3, 5} << "Step 2: 3.3 A is outside CH2's 0 to 3.2 A.";
    QTest::newRow("negative") << 1 << SequenceStep{-1, 1, 5} << "Step 2: -1 V is outside CH1's 0 to 32 V.";
    QTest::newRow("shorter than the ramp") << 1 << SequenceStep{5, 1, 0.5}
                                           << "Step 2: it lasts 0.5 s, less than the ramp time of 1 s.";
    QTest::newRow("channel 3") << 3 << SequenceStep{5, 1, 5} << "Sequences run on CH1 or CH2 only.";
    QTest::newRow("within") << 2 << SequenceStep{32, 3.2, 1} << QString();
}

void TestSequence::outOfRangeStepIsNamed()
{
    QFETCH(int, channel);
    QFETCH(SequenceStep, step);
    QFETCH(QString, error);
    Sequence sequence;
    sequence.channel = channel;
    sequence.rampSeconds = 1;
    sequence.steps = {{5, 1, 10}, step};
    QCOMPARE(sequence.check(), error);
}

void TestSequence::threeStepsWithARampPlanExactCommands()
{
    Sequence sequence;
    sequence.steps = {{5, 1, 2}, {6, 1, 2}, {6, 0.5, 1.5}};
    sequence.rampSeconds = 1;
    sequence.outputOnAtStart = true;
    using A = SequenceAction;
    const QList<A> first = SequencePlan::pass(sequence, true);
    const QList<A> expected = {
        {0, A::StepBegins, 0}, {0, A::Voltage, 5}, {0, A::Current, 1}, {0, A::OutputOn, 1},
        // Two points a second: half way, then the step's own values; the current stays.
        {2000, A::StepBegins, 1}, {2500, A::Voltage, 5.5}, {3000, A::Voltage, 6},
        {4000, A::StepBegins, 2}, {4500, A::Current, 0.75}, {5000, A::Current, 0.5},
    };
    QCOMPARE(first.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(first.at(i).atMs, expected.at(i).atMs);
        QCOMPARE(first.at(i).kind, expected.at(i).kind);
        QCOMPARE(first.at(i).value, expected.at(i).value);
    }
    // The next pass ramps from the last step back to the first, and no output command.
    const QList<A> again = SequencePlan::pass(sequence, false);
    QCOMPARE(again.size(), 11);
    QCOMPARE(again.at(1).kind, A::Voltage);
    QCOMPARE(again.at(1).value, 5.5);
    QCOMPARE(again.at(2).kind, A::Current);
    QCOMPARE(again.at(2).value, 0.75);
    QCOMPARE(sequence.passMs(), qint64(5500));
}

void TestSequence::chargeTerminationWaitsForItsHoldTime()
{
    StopCondition condition; // CH1 current below 0.05 A for 30 s, output off
    condition.threshold = 0.05;
    condition.holdSeconds = 30;
    const QDateTime start(QDate(2024, 3, 5), QTime(14, 0));
    const auto reading = [&](int second, const char *amps) {
        QScopedPointer<FakeRecord> record(FakeRecord::withTexts(start.addSecs(second), "4.20", amps, "0.1"));
        return condition.observe(*record);
    };
    QVERIFY(!reading(0, "0.200"));
    QVERIFY(!reading(10, "0.049"));
    QVERIFY(!reading(39, "0.040")); // 29 s
    QVERIFY(!reading(40, "0.051")); // a rise starts the wait anew
    QVERIFY(!reading(41, "0.030"));
    QVERIFY(!reading(70, "0.030"));
    QVERIFY(reading(71, "0.030"));
    QVERIFY(!reading(72, "0.030")); // once
    QCOMPARE(condition.describe(), QStringLiteral("CH1 current below 0.05 A for 30 s → output off"));
}

void TestSequence::eventsWaitForTheSessionAndGoOnInItsFile()
{
    QTemporaryDir dir;
    const QString session = dir.filePath(QStringLiteral("2024-03-05_140709.csv"));
    QCOMPARE(EventLog::fileFor(session), dir.filePath(QStringLiteral("2024-03-05_140709-events.csv")));
    const auto lines = [&] {
        QFile file(EventLog::fileFor(session));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                              : QStringList();
    };
    {
        EventLog log;
        log.add(EventLog::Origin::Remote, QStringLiteral("output on"));
        log.setSessionFile(session);
        log.add(EventLog::Origin::Program, QStringLiteral("link lost: cable, pulled"));
        log.setSessionFile(QString());
        log.add(EventLog::Origin::Program, QStringLiteral("link reconnected"));
        log.setSessionFile(session); // the same session goes on after a reconnection
    }
    const QStringList written = lines();
    QCOMPARE(written.size(), 4);
    QCOMPARE(written.at(0), QStringLiteral("time,origin,event"));
    QVERIFY(written.at(1).endsWith(QStringLiteral(",remote,output on")));
    QVERIFY(written.at(2).endsWith(QStringLiteral(",program,\"link lost: cable, pulled\"")));
    QVERIFY(written.at(3).endsWith(QStringLiteral(",program,link reconnected")));
    // The readings' time format: local ISO 8601 with milliseconds.
    QVERIFY(QDateTime::fromString(written.at(1).section(',', 0, 0), Qt::ISODateWithMs).isValid());
    QCOMPARE(written.at(1).section(',', 0, 0).size(), 23);
}

QTEST_MAIN(TestSequence)
#include "tst_sequence.moc"

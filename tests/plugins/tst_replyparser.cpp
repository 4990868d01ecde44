#include "replyparser.h"

#include <QtTest>

#include <random>

namespace {
const QByteArray kGood("5.00,0.500,2.50,12.34,1.234,15.23,3.30,0.330,1.09,12.00,0.500,12.34,3.200,3.3,CC,CV,1,SER,2");
}

class TestReplyParser : public QObject
{
    Q_OBJECT

private slots:
    void wholeReading()
    {
        const auto reading = ReplyParser::parseReading(kGood + "\r");
        QVERIFY(reading);
        QCOMPARE(reading->channels[0].centiVolts, 500);
        QCOMPARE(reading->channels[0].milliAmps, 500);
        QCOMPARE(reading->channels[1].centiWatts, 1523);
        QCOMPARE(reading->channels[1].setMilliAmps, 3200);
        QCOMPARE(reading->channels[2].centiVolts, 330);
        QCOMPARE(reading->channels[2].setCentiVolts, 330);
        QVERIFY(reading->channels[0].constantCurrent);
        QVERIFY(!reading->channels[1].constantCurrent);
        QVERIFY(reading->outputOn);
        QCOMPARE(reading->track, quint8(InstrumentReading::Series));
        QCOMPARE(reading->selectedChannel, quint8(2));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one field short") << kGood.left(kGood.lastIndexOf(','));
        QTest::newRow("one field more") << kGood + ",1";
        QTest::newRow("negative") << QByteArray(kGood).replace("5.00,", "-5.00,");
        QTest::newRow("two points") << QByteArray(kGood).replace("5.00,", "5.0.0,");
        QTest::newRow("exponent") << QByteArray(kGood).replace("5.00,", "5e0,");
        QTest::newRow("nan") << QByteArray(kGood).replace("5.00,", "nan,");
        QTest::newRow("huge") << QByteArray(kGood).replace("5.00,", "999.00,");
        QTest::newRow("bad flag") << QByteArray(kGood).replace("CC,CV", "CC,XX");
        QTest::newRow("bad output") << QByteArray(kGood).replace(",1,SER", ",2,SER");
        QTest::newRow("bad track") << QByteArray(kGood).replace("SER", "BOTH");
        QTest::newRow("channel 0") << kGood.left(kGood.size() - 1) + "0";
        QTest::newRow("two lines glued") << kGood.left(20) + kGood;
        QTest::newRow("identity") << QByteArray("TESSEL,LUMA4200,SIM00001,1.0");
    }

    void refused()
    {
        QFETCH(QByteArray, line);
        QVERIFY(!ReplyParser::parseReading(line));
    }

    void identity()
    {
        const auto id = ReplyParser::parseIdentity(" TESSEL,LUMA4200,SN7,2.1 ");
        QVERIFY(id);
        QCOMPARE(id->model, QStringLiteral("LUMA4200"));
        QCOMPARE(id->firmware, QStringLiteral("2.1"));
        QVERIFY(!ReplyParser::parseIdentity("TESSEL,LUMA4200,SN7"));
        QVERIFY(!ReplyParser::parseIdentity("TESSEL,,SN7,1"));
        QVERIFY(!ReplyParser::parseIdentity(kGood));
        QVERIFY(!ReplyParser::parseIdentity("A,B\x01,C,D"));
    }

    // Random bytes and random damage to a good reply never crash and never
    // give a reading with out-of-range fields.
    void randomInput()
    {
        std::mt19937 random(42);
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<int> position(0, kGood.size() - 1);
        const QByteArray alphabet("0123456789.,-CVSERPAIND\r ");
        std::uniform_int_distribution<int> pick(0, alphabet.size() - 1);
        for (int i = 0; i < 20000; ++i) {
            QByteArray line;
            if (i % 2) {
                line = kGood;
                line[position(random)] = alphabet[pick(random)];
            } else {
                for (int k = byte(random) % 120; k > 0; --k)
                    line.append(char(byte(random)));
            }
            ReplyParser::parseIdentity(line);
            const auto reading = ReplyParser::parseReading(line);
            if (reading) {
                QVERIFY(reading->selectedChannel >= 1 && reading->selectedChannel <= 3);
                for (const ChannelReading &ch : reading->channels)
                    QVERIFY(ch.centiVolts >= 0 && ch.milliAmps >= 0 && ch.centiWatts >= 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestReplyParser)
#include "tst_replyparser.moc"

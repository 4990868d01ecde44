#include "linebuffer.h"

#include <QtTest>

#include <random>

class TestLineBuffer : public QObject
{
    Q_OBJECT

private slots:
    void splitsAcrossChunks()
    {
        LineBuffer buffer;
        QVERIFY(buffer.append("ab", 0).isEmpty());
        QCOMPARE(buffer.append("c\r\nde\n\nf", 10), (QList<QByteArray>{"abc", "de", ""}));
        QCOMPARE(buffer.append("g\n", 20), QList<QByteArray>{"fg"});
    }

    void dropsStaleFragment()
    {
        LineBuffer buffer;
        buffer.append("12.0", 0);
        QCOMPARE(buffer.append("5.00,1\n", LineBuffer::kStaleFragmentMs + 1), QList<QByteArray>{"5.00,1"});
    }

    void dropsOverlongLine()
    {
        LineBuffer buffer;
        QVERIFY(buffer.append(QByteArray(LineBuffer::kMaxLineBytes + 1, 'x'), 0).isEmpty());
        QCOMPARE(buffer.append("tail\nnext\n", 0), QList<QByteArray>{"next"});
    }

    // However the stream is chopped, the same lines come out.
    void randomChunking()
    {
        std::mt19937 random(3);
        QByteArray stream;
        QList<QByteArray> expected;
        for (int i = 0; i < 200; ++i) {
            const QByteArray line = QByteArray::number(i * 7919) + ",x";
            expected.append(line);
            stream += line + '\n';
        }
        LineBuffer buffer;
        QList<QByteArray> got;
        std::uniform_int_distribution<int> size(1, 17);
        for (int at = 0; at < stream.size();) {
            const int n = size(random);
            got += buffer.append(stream.mid(at, n), 0);
            at += n;
        }
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestLineBuffer)
#include "tst_linebuffer.moc"

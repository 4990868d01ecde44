#include "chartlabel.h"
#include "charttext.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QtTest>

class TestChartLabel : public QObject
{
    Q_OBJECT
private slots:
    void value_data();
    void value();
    void time();
    void laidOutTextDrawsAsDrawText_data();
    void laidOutTextDrawsAsDrawText();
};

void TestChartLabel::value_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << 2 << "0.00";
    QTest::newRow("negative zero") << -0.0 << 2 << "0.00";
    QTest::newRow("plain") << 12.0 << 2 << "12.00";
    QTest::newRow("three decimals") << 0.3 << 3 << "0.300";
    QTest::newRow("just below a thousand") << 999.0 << 1 << "999.0";
    QTest::newRow("thousand") << 1000.0 << 0 << "1k";
    QTest::newRow("1500") << 1500.0 << 2 << "1.50k";
    QTest::newRow("two and a half million") << 2500000.0 << 3 << "2.500M";
    QTest::newRow("negative thousands") << -1500.0 << 2 << "-1.50k";
    QTest::newRow("negative millions") << -3000000.0 << 1 << "-3.0M";
    QTest::newRow("negative rounding to zero") << -0.001 << 2 << "0.00";
}

void TestChartLabel::value()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(ChartLabel::value(value, decimals), text);
}

void TestChartLabel::time()
{
    QCOMPARE(ChartLabel::time(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))), QStringLiteral("14:07:09"));
}

void TestChartLabel::laidOutTextDrawsAsDrawText_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("rotated");
    QTest::addColumn<bool>("bold");

    const int centre = Qt::AlignCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("tight, centred") << QRect(10, 7, 0, 0) << centre << false << false;
    QTest::newRow("odd offsets, centred") << QRect(13, 9, 17, 11) << centre << false << false;
    QTest::newRow("left, middle") << QRect(10, 7, 25, 9) << left << false << false;
    QTest::newRow("narrower than the text") << QRect(10, 7, -20, -6) << centre << false << false;
    QTest::newRow("rotated title") << QRect(0, 0, 0, 0) << centre << true << false;
    QTest::newRow("other font") << QRect(10, 7, 3, 0) << centre << false << true;
    QTest::newRow("right, bottom") << QRect(10, 7, 30, 10) << int(Qt::AlignRight | Qt::AlignBottom) << false
                                   << false;
}

// The rectangle's size is added to the text's own width and height.
void TestChartLabel::laidOutTextDrawsAsDrawText()
{
    QFETCH(QRect, rect);
    QFETCH(int, alignment);
    QFETCH(bool, rotated);
    QFETCH(bool, bold);

    ChartText texts;
    // Laid out with one font first: the cache must follow the change.
    QImage warmUp(10, 10, QImage::Format_RGB32);
    QPainter warm(&warmUp);
    for (const QString &text : {QStringLiteral("12.34"), QStringLiteral("Voltage")})
        texts.draw(warm, QRect(0, 0, 5, 5), Qt::AlignCenter, text);
    warm.end();

    QFont font;
    font.setBold(bold);
    for (const QString &text : {QStringLiteral("12.34"), QStringLiteral("2024-12-08"), QStringLiteral("Voltage"),
                                QStringLiteral("n 1000  min 11.89 V"), QStringLiteral("\u0394t 00:03:20")}) {
        QImage expected(240, 80, QImage::Format_RGB32);
        QImage drawn(expected.size(), expected.format());
        for (QImage *image : {&expected, &drawn}) {
            image->fill(Qt::white);
            QPainter painter(image);
            painter.setFont(font);
            if (rotated) {
                painter.translate(30, 75);
                painter.rotate(-90);
            }
            const QFontMetrics metrics = painter.fontMetrics();
            const QRect box = rect.adjusted(0, 0, metrics.horizontalAdvance(text), metrics.height());
            if (image == &expected) {
                painter.drawText(box, alignment, text);
            } else {
                QCOMPARE(texts.width(painter, text), metrics.horizontalAdvance(text));
                texts.draw(painter, box, Qt::Alignment(alignment), text);
            }
        }
        QVERIFY2(drawn == expected, qPrintable(text));
    }
}

QTEST_MAIN(TestChartLabel)
#include "tst_chartlabel.moc"

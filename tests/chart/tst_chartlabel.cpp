#include "chartgridlines.h"
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
    void textImagesDrawAsDrawText_data();
    void textImagesDrawAsDrawText();
    void gridLinesStampThePensPixels();
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

void TestChartLabel::textImagesDrawAsDrawText_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("rotated");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("color");

    const int centre = Qt::AlignCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    const QColor black(Qt::black);
    QTest::newRow("tight, centred") << QRect(10, 7, 0, 0) << centre << false << false << black;
    QTest::newRow("odd offsets, centred") << QRect(13, 9, 17, 11) << centre << false << false << black;
    QTest::newRow("left, middle") << QRect(10, 7, 25, 9) << left << false << false << black;
    QTest::newRow("narrower than the text") << QRect(10, 7, -20, -6) << centre << false << false << black;
    QTest::newRow("rotated title") << QRect(0, 0, 0, 0) << centre << true << false << black;
    QTest::newRow("other font") << QRect(10, 7, 3, 0) << centre << false << true << black;
    QTest::newRow("other colour") << QRect(10, 7, 3, 0) << centre << false << false << QColor(0, 140, 60);
    QTest::newRow("right, bottom") << QRect(10, 7, 30, 10) << int(Qt::AlignRight | Qt::AlignBottom) << false
                                   << false << black;
}

// The rectangle's size is added to the text's own width and height. The
// blend of an image may round a colour differently from drawing the glyphs,
// by a few levels; a text a pixel off differs by far more at its edges.
void TestChartLabel::textImagesDrawAsDrawText()
{
    QFETCH(QRect, rect);
    QFETCH(int, alignment);
    QFETCH(bool, rotated);
    QFETCH(bool, bold);
    QFETCH(QColor, color);
    constexpr int kRoundingLevels = 8;

    ChartText texts;
    QFont font;
    font.setBold(bold);
    for (const QString &text : {QStringLiteral("12.34"), QStringLiteral("2024-12-08"), QStringLiteral("Voltage"),
                                QStringLiteral("n 1000  min 11.89 V"), QStringLiteral("\u0394t 00:03:20")}) {
        // The same text in the same place, drawn in black and the default
        // font first: the images must follow a change of either.
        QImage before(240, 80, QImage::Format_RGB32);
        QPainter beforePainter(&before);
        const QFontMetrics defaultMetrics = beforePainter.fontMetrics();
        texts.draw(beforePainter,
                   rect.adjusted(0, 0, defaultMetrics.horizontalAdvance(text), defaultMetrics.height()),
                   Qt::Alignment(alignment), text);
        beforePainter.end();

        QImage expected(240, 80, QImage::Format_RGB32);
        QImage drawn(expected.size(), expected.format());
        for (QImage *image : {&expected, &drawn}) {
            image->fill(QColor(230, 230, 230));
            QPainter painter(image);
            painter.setFont(font);
            painter.setPen(color);
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
        int worst = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb a = expected.pixel(x, y);
                const QRgb b = drawn.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
        }
        QVERIFY2(worst <= kRoundingLevels, qPrintable(QStringLiteral("%1: %2 levels").arg(text).arg(worst)));
    }
}

// Every length from a point to a plot's width, at odd places, on a painter
// moved by whole pixels and on one turned (which draws directly).
void TestChartLabel::gridLinesStampThePensPixels()
{
    ChartGridLines grid;
    for (const QTransform &transform : {QTransform::fromTranslate(3, 5), QTransform().rotate(90).translate(0, -90)}) {
        for (int length = 0; length <= 90; length += length < 12 ? 1 : 13) {
            QImage expected(100, 100, QImage::Format_RGB32);
            QImage drawn(expected.size(), expected.format());
            for (QImage *image : {&expected, &drawn}) {
                image->fill(Qt::white);
                QPainter painter(image);
                painter.setClipRect(image->rect());
                painter.setTransform(transform);
                if (image == &expected) {
                    painter.setPen(ChartGridLines::pen());
                    painter.drawLine(7, 11, 7 + length, 11);
                    painter.drawLine(13, 2, 13, 2 + length);
                } else {
                    grid.horizontal(painter, 7, 7 + length, 11);
                    grid.vertical(painter, 13, 2, 2 + length);
                }
            }
            QVERIFY2(drawn == expected, qPrintable(QStringLiteral("length %1").arg(length)));
        }
    }
}

QTEST_MAIN(TestChartLabel)
#include "tst_chartlabel.moc"

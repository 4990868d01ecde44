// Readings from the driver into the tables and charts, within the limits the
// user set, and the delete command that empties them.

#include "windowfixture.h"
#include "modalanswerer.h"

#include "chartline.h"
#include "chartpoint.h"
#include "dmmchart.h"

#include <QAction>
#include <QLCDNumber>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

class TestPipeline : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void outputOffUpdatesDisplaysOnly();
    void sampleLimitStopsRecordingButNotTheDisplays();
    void zeroSamplePointsRecordsNothing();
    void infiniteIgnoresTheLimit();
    void deleteAnsweredYesEmptiesEverything();
    void deleteAnsweredNoChangesNothing();
    void everyTableScrollsToItsNewestRow();
    void chartsGetTheirChannelsReading();
    void deliveriesOfTheWrongSizeNeitherMisalignNorLeak();

private:
    static int rows(WindowFixture &f, int channel)
    {
        return f.find<QTableView>(QStringLiteral("tableViewCH%1").arg(channel))->model()->rowCount();
    }
    static void recordWith(WindowFixture &f, int samplePoints, bool infinite = false)
    {
        f.driver.control->preset(QStringLiteral("outputOn"), true);
        f.driver.control->preset(QStringLiteral("samplePoints"), samplePoints);
        f.driver.control->preset(QStringLiteral("infinite"), infinite);
    }
};

void TestPipeline::init()
{
    FakeRecord::liveCount() = 0;
}

void TestPipeline::cleanup()
{
    // Every record is either in a table or deleted once the window is gone.
    QCOMPARE(FakeRecord::liveCount(), 0);
}

void TestPipeline::outputOffUpdatesDisplaysOnly()
{
    WindowFixture f;
    f.deliver(WindowFixture::reading(7.0));
    QCOMPARE(f.find<QLCDNumber>(QStringLiteral("lcdCh1Volt"))->value(), 0.0); // the set point text
    QCOMPARE(rows(f, 1), 0);
    QCOMPARE(FakeRecord::liveCount(), 0);
    for (DMMChart *chart : f.window->findChildren<DMMChart *>())
        QVERIFY(!chart->hasData());
}

void TestPipeline::sampleLimitStopsRecordingButNotTheDisplays()
{
    WindowFixture f;
    recordWith(f, 100);
    QSignalSpy notices(f.window->statusBar(), &QStatusBar::messageChanged);
    for (int i = 0; i < 100; ++i)
        f.deliver(WindowFixture::reading(1.0));
    // The recorder keeps what it shows and lets go of the driver's records at once.
    QCOMPARE(FakeRecord::liveCount(), 0);
    QCOMPARE(notices.count(), 0);
    f.deliver(WindowFixture::reading(9.0));
    f.deliver(WindowFixture::reading(9.0));
    for (int ch = 1; ch <= 3; ++ch)
        QCOMPARE(rows(f, ch), 100);
    QCOMPARE(FakeRecord::liveCount(), 0);
    QCOMPARE(f.find<QLCDNumber>(QStringLiteral("lcdCh1Volt"))->value(), 9.0);
    // Said once, with the limit and where to change it.
    QCOMPARE(notices.count(), 1);
    const QString notice = f.window->statusBar()->currentMessage();
    for (const char *part : {"100", "Options", "\"Sample points\"", "\"Infinite\""})
        QVERIFY2(notice.contains(QLatin1String(part)), qPrintable(notice));

    // Lowering the limit removes nothing; raising it resumes, and the next limit is said again.
    f.driver.control->preset(QStringLiteral("samplePoints"), 50);
    f.deliver(WindowFixture::reading(1.0));
    QCOMPARE(rows(f, 2), 100);
    QCOMPARE(notices.count(), 1);
    // Recording again, the message is no longer true and goes.
    f.driver.control->preset(QStringLiteral("samplePoints"), 101);
    f.deliver(WindowFixture::reading(1.0));
    QCOMPARE(rows(f, 3), 101);
    QCOMPARE(f.window->statusBar()->currentMessage(), QString());
    f.deliver(WindowFixture::reading(1.0));
    QCOMPARE(notices.count(), 3);
    QVERIFY(f.window->statusBar()->currentMessage().contains(QLatin1String("101")));
}

void TestPipeline::zeroSamplePointsRecordsNothing()
{
    WindowFixture f;
    recordWith(f, 0);
    f.deliver(WindowFixture::reading());
    QCOMPARE(rows(f, 1), 0);
}

void TestPipeline::infiniteIgnoresTheLimit()
{
    WindowFixture f;
    recordWith(f, 0, true);
    f.deliver(WindowFixture::reading());
    f.deliver(WindowFixture::reading());
    QCOMPARE(rows(f, 1), 2);
}

void TestPipeline::deleteAnsweredYesEmptiesEverything()
{
    WindowFixture f;
    recordWith(f, 2);
    for (int i = 0; i < 3; ++i)
        f.deliver(WindowFixture::reading());
    {
        ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::Yes));
        f.find<QAction>(QStringLiteral("actionDelete"))->trigger();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Are you sure you want to delete this data?")});
    }
    QCOMPARE(FakeRecord::liveCount(), 0);
    for (int ch = 1; ch <= 3; ++ch)
        QCOMPARE(rows(f, ch), 0);
    for (DMMChart *chart : f.window->findChildren<DMMChart *>())
        QVERIFY(!chart->hasData());

    f.deliver(WindowFixture::reading());
    auto model = f.find<QTableView>(QStringLiteral("tableViewCH1"))->model();
    QCOMPARE(model->data(model->index(0, 0)).toInt(), 1);
    // The charts read their readings' labels from the tables: row 0 again.
    const ChartPoint point = f.find<DMMChart>(QStringLiteral("chartCH2Voltage"))->line(0)->at(0);
    QCOMPARE(point.label.toString(), QStringLiteral("2024-03-05 14:07:09: 13.00V"));
}

void TestPipeline::deleteAnsweredNoChangesNothing()
{
    WindowFixture f;
    recordWith(f, 10);
    f.deliver(WindowFixture::reading());
    ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::No));
    f.find<QAction>(QStringLiteral("actionDelete"))->trigger();
    QCOMPARE(rows(f, 1), 1);
    QCOMPARE(FakeRecord::liveCount(), 0);
    QVERIFY(f.find<DMMChart>(QStringLiteral("chartCH1Voltage"))->hasData());
}

void TestPipeline::everyTableScrollsToItsNewestRow()
{
    WindowFixture f;
    recordWith(f, 1000);
    for (int i = 0; i < 200; ++i)
        f.deliver(WindowFixture::reading());
    QCoreApplication::processEvents();
    for (int ch = 1; ch <= 3; ++ch) {
        auto table = f.find<QTableView>(QStringLiteral("tableViewCH%1").arg(ch));
        QScrollBar *bar = table->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }
}

void TestPipeline::chartsGetTheirChannelsReading()
{
    WindowFixture f;
    recordWith(f, 10);
    f.deliver(WindowFixture::reading(2.0));
    const QStringList names = {"chartCH1Voltage", "chartCH1Current", "chartCH1Power", "chartCH2Voltage",
                               "chartCH2Current", "chartCH2Power", "chartCH3Voltage"};
    for (const QString &name : names)
        QVERIFY2(f.find<DMMChart>(name)->hasData(), qPrintable(name));

    // The third record's voltage goes to channel 3, labelled with time, text and unit.
    const ChartPoint point = f.find<DMMChart>(QStringLiteral("chartCH3Voltage"))->line(0)->at(0);
    QCOMPARE(point.value, 4.0);
    QCOMPARE(point.time, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    QCOMPARE(point.label.toString(), QStringLiteral("2024-03-05 14:07:09: 4.00V"));
    const ChartPoint power = f.find<DMMChart>(QStringLiteral("chartCH2Power"))->line(0)->at(0);
    QCOMPARE(power.value, 1.5);
    QCOMPARE(power.label.toString(), QStringLiteral("2024-03-05 14:07:09: 1.50W"));
    QCOMPARE(f.find<DMMChart>(QStringLiteral("chartCH1Current"))->line(0)->at(0).label.toString(),
             QStringLiteral("2024-03-05 14:07:09: 0.500A"));
}

void TestPipeline::deliveriesOfTheWrongSizeNeitherMisalignNorLeak()
{
    WindowFixture f;
    recordWith(f, 10);
    f.deliver(WindowFixture::reading(4.0, 1));
    QCOMPARE(rows(f, 1), 0);
    QCOMPARE(FakeRecord::liveCount(), 0);
    QCOMPARE(f.find<QLCDNumber>(QStringLiteral("lcdCh1Volt"))->value(), 4.0);

    f.deliver(WindowFixture::reading(5.0, 5));
    for (int ch = 1; ch <= 3; ++ch)
        QCOMPARE(rows(f, ch), 1);
    QCOMPARE(FakeRecord::liveCount(), 0);
    f.deliver({});
    QCOMPARE(rows(f, 1), 1);
}

QTEST_MAIN(TestPipeline)
#include "tst_pipeline.moc"

// The session log: every recorded reading on disk as it arrives, one file per
// session, shown in the status bar, and a log that stops cleanly when the
// disk cannot take it while the tables go on recording.

#include "windowfixture.h"
#include "filesizelimit.h"
#include "modalanswerer.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

class TestWindowSession : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void recordedReadingsReachTheDiskWithinASecond();
    void deleteEndsTheSessionAndTheNextReadingStartsANewFile();
    void fullDiskStopsTheLogOnceAndRecordingGoesOn();
    void unwritableFolderStopsTheLogOnce();

private:
    static QString sessionFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sessions");
    }
    static QStringList sessionFiles()
    {
        // The event log beside each session is not a session.
        return QDir(sessionFolder()).entryList({QStringLiteral("*.csv")}, QDir::Files)
            .filter(QRegularExpression(QStringLiteral("^(?!.*-events\\.csv$)")));
    }
    static QStringList lines(const QString &file)
    {
        QFile session(QDir(sessionFolder()).filePath(file));
        if (!session.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(session.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static int rows(WindowFixture &f)
    {
        return f.find<QTableView>(QStringLiteral("tableViewCH1"))->model()->rowCount();
    }
};

void TestWindowSession::init()
{
    QDir(sessionFolder()).removeRecursively();
}

void TestWindowSession::recordedReadingsReachTheDiskWithinASecond()
{
    WindowFixture f;
    auto label = f.find<QLabel>(QStringLiteral("lblSessionFile"));
    QVERIFY(label->text().isEmpty());
    f.deliver(WindowFixture::reading(1.0)); // output off: not recorded, not logged
    QVERIFY(sessionFiles().isEmpty());

    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.deliver(WindowFixture::reading(1.5));
    f.deliver(WindowFixture::reading(2.5));
    QCOMPARE(sessionFiles(), QStringList(QStringLiteral("2024-03-05_140709.csv")));
    QVERIFY(label->text().contains(QDir(sessionFolder()).filePath(sessionFiles().first())));
    // On disk without the window closing or anything else happening.
    QTRY_COMPARE_WITH_TIMEOUT(lines(sessionFiles().first()).size(), 3, 1000);
    const QStringList logged = lines(sessionFiles().first());
    QVERIFY(logged.at(0).startsWith(QStringLiteral("Time,CH1 Voltage(V),CH1 Current(A),CH1 Power(W),CH2 Voltage(V)")));
    QCOMPARE(logged.at(2),
             QStringLiteral("2024-03-05T14:07:09.000,2.5,0.5,1.25,3.5,0.5,1.75,4.5,,,1,0,0"));
}

void TestWindowSession::deleteEndsTheSessionAndTheNextReadingStartsANewFile()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    auto label = f.find<QLabel>(QStringLiteral("lblSessionFile"));
    f.deliver(WindowFixture::reading());
    const QString first = label->text();
    {
        ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::No));
        f.find<QAction>(QStringLiteral("actionDelete"))->trigger();
    }
    QCOMPARE(label->text(), first);
    {
        ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::Yes));
        f.find<QAction>(QStringLiteral("actionDelete"))->trigger();
    }
    QVERIFY(label->text().isEmpty());
    f.deliver(WindowFixture::reading());
    f.deliver(WindowFixture::reading());
    // Same reading time, so the new file's name gets a number; the old one stays whole.
    QCOMPARE(sessionFiles(), QStringList({"2024-03-05_140709.csv", "2024-03-05_140709_2.csv"}));
    QVERIFY(label->text().endsWith(QStringLiteral("2024-03-05_140709_2.csv")));
    QCOMPARE(lines(sessionFiles().at(0)).size(), 2);
    QTRY_COMPARE(lines(sessionFiles().at(1)).size(), 3);
}

void TestWindowSession::fullDiskStopsTheLogOnceAndRecordingGoesOn()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.control->preset(QStringLiteral("infinite"), true);
    QStringList messages;
    connect(f.window->statusBar(), &QStatusBar::messageChanged, [&](const QString &text) {
        if (!text.isEmpty())
            messages << text;
    });
    {
        const FileSizeLimit full(2048);
        for (int i = 0; i < 100; ++i)
            f.deliver(WindowFixture::reading(i));
        QTRY_COMPARE(messages.size(), 1);
        for (int i = 0; i < 100; ++i)
            f.deliver(WindowFixture::reading(i));
        QTest::qWait(2 * 500);
    }
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(QStringLiteral("File too large")), qPrintable(messages.first()));
    QVERIFY(messages.first().contains(QStringLiteral("The tables go on recording")));
    QVERIFY(f.find<QLabel>(QStringLiteral("lblSessionFile"))->text().isEmpty());
    QCOMPARE(rows(f), 200);
    // Whatever part of its last write the disk took, the log ends with a whole line.
    QFile log(QDir(sessionFolder()).filePath(sessionFiles().first()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QVERIFY(logged.size() > 1024);
    QVERIFY(logged.endsWith('\n'));
    for (const QByteArray &line : logged.split('\n').mid(1)) {
        if (!line.isEmpty())
            QCOMPARE(line.count(','), 12);
    }
}

void TestWindowSession::unwritableFolderStopsTheLogOnce()
{
    // The data folder's place is taken by a file: no folder can be made there.
    QTemporaryDir home;
    QFile blocker(home.filePath(QCoreApplication::applicationName()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    WindowFixture f;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    f.window.reset(new MainWindow);
    f.window->show();
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.deliver(WindowFixture::reading());
    f.deliver(WindowFixture::reading());
    QVERIFY(f.window->statusBar()->currentMessage().contains(QStringLiteral("The session log stopped")));
    f.window->statusBar()->clearMessage();
    f.deliver(WindowFixture::reading());
    QVERIFY(f.window->statusBar()->currentMessage().isEmpty());
    QCOMPARE(rows(f), 3);
}

QTEST_MAIN(TestWindowSession)
#include "tst_windowsession.moc"

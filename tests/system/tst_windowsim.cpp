// The application as a user meets it: the window, the real driver and USB
// transport plug-ins, and the simulator on a private virtual USB bus.

#include "chartline.h"
#include "datamodel.h"
#include "dmmchart.h"
#include "mainwindow.h"
#include "sessionviewer.h"
#include "modalanswerer.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLCDNumber>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kConnectTimeoutMs = 10000;
constexpr int kReadingTimeoutMs = 10000;
constexpr int kSetPointSettleMs = 2000 + 1500; // the set-point delay and a margin

// What the luma.* categories write at debug level; the rest goes on as usual.
QStringList lumaDebugLines;
QtMessageHandler defaultHandler = nullptr;
void collectLumaDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && qstrncmp(context.category, "luma.", 5) == 0)
        lumaDebugLines << message;
    else
        defaultHandler(type, context, message);
}

ModalAnswerer::Answer connectOverUsb()
{
    return [](QWidget *modal) {
        if (auto box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        modal->findChild<QRadioButton *>(QStringLiteral("rbUSB"))->click();
        modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    };
}
} // namespace

class TestWindowSim : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void connectRecordAndLoseTheInstrument();
    void wrongDeviceIsRefused();
    void switchingChannelsSendsNoSetPoint();
    void busPathThatIsNoSocketIsLeftAlone();
    void pastSessionShowsExactlyTheLiveReadings();

private:
    void startSimulator(const QStringList &arguments = {});
    void connectOverUsb(MainWindow &window);

    QTemporaryDir busDir;
    QString busPath;
    QProcess simulator;
};

void TestWindowSim::initTestCase()
{
    QVERIFY(busDir.isValid());
    // A private bus, set before the transport plug-in looks for it.
    busPath = busDir.filePath(QStringLiteral("vbus"));
    qputenv("LUMA4200_VIRTUAL_BUS", busPath.toLocal8Bit());
    // The session logs of what it records go with the bus.
    qputenv("XDG_DATA_HOME", busDir.path().toLocal8Bit());
}

void TestWindowSim::init()
{
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));
    lumaDebugLines.clear();
    defaultHandler = qInstallMessageHandler(collectLumaDebug);
}

void TestWindowSim::cleanup()
{
    qInstallMessageHandler(defaultHandler);
    QLoggingCategory::setFilterRules(QString());
    simulator.kill();
    simulator.waitForFinished();
}

void TestWindowSim::startSimulator(const QStringList &arguments)
{
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(QStringLiteral(LUMA_SIM_PATH), QStringList{"--no-pty", "--bus", busPath} + arguments);
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(busPath), kConnectTimeoutMs);
}

void TestWindowSim::connectOverUsb(MainWindow &window)
{
    auto connectAction = window.findChild<QAction *>(QStringLiteral("actConnect"));
    {
        ModalAnswerer answerer(::connectOverUsb());
        connectAction->trigger();
        QCOMPARE(answerer.texts, QStringList());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!connectAction->isEnabled(), kConnectTimeoutMs);
}

void TestWindowSim::connectRecordAndLoseTheInstrument()
{
    startSimulator();
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    connectOverUsb(window);
    auto connectAction = window.findChild<QAction *>(QStringLiteral("actConnect"));

    // Output on: the instrument reports it, and readings fill every table.
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnOutput")), Qt::LeftButton);
    auto output = window.findChild<QLabel *>(QStringLiteral("lcdOutput"));
    QTRY_COMPARE_WITH_TIMEOUT(output->text(), QStringLiteral("ON"), kReadingTimeoutMs);
    // The regulation flags come back with the output.
    auto flag = window.findChild<QLabel *>(QStringLiteral("lcdCh1Flag"));
    QTRY_COMPARE_WITH_TIMEOUT(flag->text(), QStringLiteral("C.V"), kReadingTimeoutMs);
    auto table = window.findChild<QTableView *>(QStringLiteral("tableViewCH3"));
    QTRY_VERIFY_WITH_TIMEOUT(table->model()->rowCount() >= 2, kReadingTimeoutMs);
    const int rows = table->model()->rowCount();
    QVERIFY(window.findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model()->rowCount() >= rows);

    // The instrument vanishes: the window says why, shows nothing live, can
    // connect again and keeps its records.
    simulator.kill();
    QTRY_VERIFY_WITH_TIMEOUT(connectAction->isEnabled(), kConnectTimeoutMs);
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actDisconnect"))->isEnabled());
    QVERIFY(!window.statusBar()->currentMessage().isEmpty());
    QCOMPARE(output->text(), QStringLiteral("OFF"));
    QCOMPARE(output->styleSheet(), QString());
    QCOMPARE(flag->text(), QString());
    auto lcd = window.findChild<QLCDNumber *>(QStringLiteral("lcdCh1Volt"));
    const QImage shown = lcd->grab().toImage();
    lcd->display(QStringLiteral("--"));
    QCOMPARE(lcd->grab().toImage(), shown);
    QVERIFY(table->model()->rowCount() >= rows);
    QCOMPARE(table->model()->data(table->model()->index(0, 0)).toInt(), 1);
    // A start without options.xml and the whole run wrote no debug line.
    QCOMPARE(lumaDebugLines, QStringList());
}

void TestWindowSim::wrongDeviceIsRefused()
{
    startSimulator({QStringLiteral("--idn"), QStringLiteral("ACME,PSU9000,1,1.0")});
    MainWindow window;
    window.show();
    // The box is as it was; the reason stands in the status bar while it is up, and after.
    QString reason;
    ModalAnswerer answerer([&](QWidget *modal) {
        reason = window.statusBar()->currentMessage();
        ::connectOverUsb()(modal);
    });
    window.findChild<QAction *>(QStringLiteral("actConnect"))->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Failed to connect.")});
    QVERIFY2(reason.contains(QLatin1String("ACME PSU9000")), qPrintable(reason));
    QCOMPARE(window.statusBar()->currentMessage(), reason);
    QVERIFY(window.findChild<QAction *>(QStringLiteral("actConnect"))->isEnabled());
}

void TestWindowSim::switchingChannelsSendsNoSetPoint()
{
    // Every line the driver writes is seen, and a missing options.xml stays unmentioned.
    QLoggingCategory::setFilterRules(QStringLiteral("luma.*.debug=true"));
    startSimulator();
    MainWindow window;
    window.show();
    connectOverUsb(window);
    auto spinVolt = window.findChild<QDoubleSpinBox *>(QStringLiteral("spinVolt"));
    QTRY_COMPARE_WITH_TIMEOUT(spinVolt->value(), 5.0, kReadingTimeoutMs);
    spinVolt->setValue(12.0);
    // The output is off: channel 1's display shows its set point once the instrument took it.
    auto ch1 = window.findChild<QLCDNumber *>(QStringLiteral("lcdCh1Volt"));
    QTRY_COMPARE_WITH_TIMEOUT(ch1->value(), 12.0, kSetPointSettleMs + kReadingTimeoutMs);
    QVERIFY(!lumaDebugLines.filter(QStringLiteral("SOUR1:VOLT 12.00")).isEmpty());
    QCOMPARE(lumaDebugLines.filter(QStringLiteral("options.xml")), QStringList());

    // CH2, CH3, CH1, then straight from 12 V to channel 3's limits and back: the
    // box shows each channel's own set point, and none is sent.
    lumaDebugLines.clear();
    for (const auto &visit : QList<QPair<int, double>>{{2, 5.0}, {3, 3.3}, {1, 12.0}, {3, 3.3}, {1, 12.0}}) {
        auto button = window.findChild<QPushButton *>(QStringLiteral("btnCh%1Sel").arg(visit.first));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!button->styleSheet().isEmpty(), kReadingTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(spinVolt->value(), visit.second, kReadingTimeoutMs);
    }
    QTest::qWait(kSetPointSettleMs);
    QCOMPARE(lumaDebugLines.filter(QStringLiteral("SOUR")), QStringList());
    QCOMPARE(window.findChild<QLCDNumber *>(QStringLiteral("lcdCh3Volt"))->value(), 3.3);
}

void TestWindowSim::busPathThatIsNoSocketIsLeftAlone()
{
    // A file given with --bus, a directory given in the environment.
    const QString file = busDir.filePath(QStringLiteral("file"));
    const QString directory = busDir.filePath(QStringLiteral("directory"));
    QVERIFY(QDir().mkpath(directory));
    QFile content(file);
    QVERIFY(content.open(QIODevice::WriteOnly) && content.write("data") == 4);
    content.close();
    for (const QString &path : {file, directory}) {
        QProcess refused;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LUMA4200_VIRTUAL_BUS"), path);
        refused.setProcessEnvironment(environment);
        refused.start(QStringLiteral(LUMA_SIM_PATH), path == file ? QStringList{"--no-pty", "--bus", file}
                                                                  : QStringList{"--no-pty"});
        QVERIFY(refused.waitForFinished(kConnectTimeoutMs));
        QCOMPARE(refused.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(refused.readAllStandardError());
        QVERIFY2(said.contains(path + QStringLiteral(" exists and is not a socket")), qPrintable(said));
    }
    QVERIFY(content.open(QIODevice::ReadOnly));
    QCOMPARE(content.readAll(), QByteArray("data"));
    QVERIFY(QFileInfo(directory).isDir());
}

// Its session log, opened in the viewer, holds the live window's readings:
// every cell of the three tables and every value and label of the charts.
void TestWindowSim::pastSessionShowsExactlyTheLiveReadings()
{
    startSimulator({QStringLiteral("--noise"), QStringLiteral("0.02")});
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    connectOverUsb(window);
    auto outputButton = window.findChild<QPushButton *>(QStringLiteral("btnOutput"));
    auto output = window.findChild<QLabel *>(QStringLiteral("lcdOutput"));
    QTest::mouseClick(outputButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(output->text(), QStringLiteral("ON"), kReadingTimeoutMs);
    auto live = window.findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model();
    QTRY_VERIFY_WITH_TIMEOUT(live->rowCount() >= 8, kReadingTimeoutMs);
    // Output off: recording stops, and the log catches up within its flush delay.
    QTest::mouseClick(outputButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(output->text(), QStringLiteral("OFF"), kReadingTimeoutMs);
    const int rows = live->rowCount();
    const QString sessionFile = window.findChild<QLabel *>(QStringLiteral("lblSessionFile"))
                                    ->toolTip()
                                    .section(QStringLiteral(": "), 1);
    const auto loggedLines = [&sessionFile] {
        QFile log(sessionFile);
        return log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
    };
    QTRY_COMPARE(loggedLines(), 1 + rows);

    window.openSession(sessionFile);
    auto viewer = window.findChild<SessionViewer *>();
    QSignalSpy loaded(viewer, &SessionViewer::loaded);
    QVERIFY(loaded.wait(kReadingTimeoutMs));
    for (int channel = 1; channel <= 3; ++channel) {
        const QString name = QStringLiteral("tableViewCH%1").arg(channel);
        const QAbstractItemModel *shown = window.centralWidget()->findChild<QTableView *>(name)->model();
        const QAbstractItemModel *read = viewer->findChild<QTableView *>(name)->model();
        QCOMPARE(read->rowCount(), rows);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < shown->columnCount(); ++column)
                QCOMPARE(read->data(read->index(row, column)), shown->data(shown->index(row, column)));
        }
    }
    // The viewer is a child of the window: the live views are those of its central widget.
    const QList<DMMChart *> charts = window.centralWidget()->findChildren<DMMChart *>();
    QCOMPARE(charts.size(), 7);
    for (const DMMChart *chart : charts) {
        const ChartLine *shown = chart->line(0);
        const ChartLine *read = viewer->findChild<DMMChart *>(chart->objectName())->line(0);
        QCOMPARE(read->count(), rows);
        for (int i = 0; i < rows; ++i) {
            QCOMPARE(read->values().at(i), shown->values().at(i));
            QCOMPARE(read->at(i).label, shown->at(i).label);
            QCOMPARE(read->at(i).time, shown->at(i).time);
        }
    }
}

QTEST_MAIN(TestWindowSim)
#include "tst_windowsim.moc"

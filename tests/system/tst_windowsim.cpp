// The application as a user meets it: the window, the real driver and USB
// transport plug-ins, and the simulator on a private virtual USB bus.

#include "mainwindow.h"
#include "modalanswerer.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QLCDNumber>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kConnectTimeoutMs = 10000;
constexpr int kReadingTimeoutMs = 10000;

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

private:
    void startSimulator(const QStringList &arguments = {});

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
}

void TestWindowSim::cleanup()
{
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

void TestWindowSim::connectRecordAndLoseTheInstrument()
{
    startSimulator();
    MainWindow window;
    window.show();
    auto connectAction = window.findChild<QAction *>(QStringLiteral("actConnect"));
    {
        ModalAnswerer answerer(connectOverUsb());
        connectAction->trigger();
        QCOMPARE(answerer.texts, QStringList());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!connectAction->isEnabled(), kConnectTimeoutMs);

    // Output on: the instrument reports it, and readings fill every table.
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnOutput")), Qt::LeftButton);
    auto output = window.findChild<QLabel *>(QStringLiteral("lcdOutput"));
    QTRY_COMPARE_WITH_TIMEOUT(output->text(), QStringLiteral("ON"), kReadingTimeoutMs);
    // The regulation flags come back with the output.
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QLabel *>(QStringLiteral("lcdCh1Flag"))->text(),
                              QStringLiteral("C.V"), kReadingTimeoutMs);
    auto table = window.findChild<QTableView *>(QStringLiteral("tableViewCH3"));
    QTRY_VERIFY_WITH_TIMEOUT(table->model()->rowCount() >= 2, kReadingTimeoutMs);
    const int rows = table->model()->rowCount();
    QVERIFY(window.findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model()->rowCount() >= rows);

    // The instrument vanishes: the window can connect again and keeps its records.
    simulator.kill();
    QTRY_VERIFY_WITH_TIMEOUT(connectAction->isEnabled(), kConnectTimeoutMs);
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actDisconnect"))->isEnabled());
    QVERIFY(table->model()->rowCount() >= rows);
    QCOMPARE(table->model()->data(table->model()->index(0, 0)).toInt(), 1);
}

void TestWindowSim::wrongDeviceIsRefused()
{
    startSimulator({QStringLiteral("--idn"), QStringLiteral("ACME,PSU9000,1,1.0")});
    MainWindow window;
    window.show();
    ModalAnswerer answerer(connectOverUsb());
    window.findChild<QAction *>(QStringLiteral("actConnect"))->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Failed to connect.")});
    QVERIFY(window.findChild<QAction *>(QStringLiteral("actConnect"))->isEnabled());
}

QTEST_MAIN(TestWindowSim)
#include "tst_windowsim.moc"

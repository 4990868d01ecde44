// Scripts drive the window as a test engineer's would: PyVISA clients on the
// SCPI port of the real window, connected at start to the simulator.

#include "dialogoptions.h"
#include "eventlog.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "remoteport.h"
#include "scpiserver.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kConnectTimeoutMs = 10000;
constexpr int kScriptTimeoutMs = 120000;
constexpr int kPortUsb = 0;
constexpr int kPortRs232 = 2;

// A port that nothing listens on now, so that tests can run side by side.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
} // namespace

class TestRemoteSession : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pyvisaScriptDrivesThePanel();
    void failedStartConnectionIsReportedAsTheDialogWould();
    void optionsOpenThePortForGood();

private:
    QTemporaryDir home;
};

void TestRemoteSession::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("LUMA4200_VIRTUAL_BUS", home.filePath(QStringLiteral("vbus")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));
}

void TestRemoteSession::pyvisaScriptDrivesThePanel()
{
    QProcess simulator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("luma.simulator.debug=true"));
    simulator.setProcessEnvironment(environment);
    simulator.start(QStringLiteral(LUMA_SIM_PATH), {"--no-pty", "--bus", home.filePath(QStringLiteral("vbus"))});
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath(QStringLiteral("vbus"))), kConnectTimeoutMs);

    MainWindow window;
    window.show();
    const quint16 port = freePort();
    window.remotePort()->start(port, QString());
    auto label = window.findChild<QLabel *>(QStringLiteral("lblRemote"));
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("SCPI 127.0.0.1:%1, 0 client(s)").arg(port));
    window.connectAtStart(kPortUsb, QString());
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QAction *>(QStringLiteral("actDisconnect"))->isEnabled(),
                             kConnectTimeoutMs);

    QSignalSpy clients(window.remotePort()->server(), &ScpiServer::clientCountChanged);
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(LUMA_SCRIPT_DIR "/remote_session.py"), QString::number(port)});
    QTRY_VERIFY_WITH_TIMEOUT(script.state() == QProcess::NotRunning, kScriptTimeoutMs);
    const QByteArray said = script.readAll();
    QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0, said.constData());

    // Both clients were there at once, and the panel shows the last set point.
    int most = 0;
    for (const QList<QVariant> &count : qAsConst(clients))
        most = qMax(most, count.first().toInt());
    QCOMPARE(most, 2);
    QTRY_COMPARE(label->text(), QStringLiteral("SCPI 127.0.0.1:%1, 0 client(s)").arg(port));
    QCOMPARE(window.findChild<QDoubleSpinBox *>(QStringLiteral("spinVolt"))->text(), QStringLiteral("5.00"));
    QCOMPARE(window.findChild<QSlider *>(QStringLiteral("sliderVolt"))->value(), 500);
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnCh1Sel"))->styleSheet().isEmpty());
    // The script's commands are in the event log beside the session log, as the script's.
    const QString session =
        window.findChild<QLabel *>(QStringLiteral("lblSessionFile"))->toolTip().section(QStringLiteral(": "), 1);
    const auto events = [&session] {
        QFile log(EventLog::fileFor(session));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    };
    QTRY_VERIFY2(events().contains(QLatin1String(",remote,set CH1 voltage 5.00 V")), qPrintable(events()));
    QVERIFY(events().contains(QLatin1String(",remote,set output on")));

    simulator.terminate();
    QVERIFY(simulator.waitForFinished());
    const QString traffic = QString::fromLatin1(simulator.readAllStandardError());
    QVERIFY2(traffic.contains(QLatin1String("SOUR1:VOLT 5.00")), qPrintable(traffic.right(2000)));
    QVERIFY(traffic.contains(QLatin1String("SOUR2:VOLT 7.00")));
    QVERIFY(!traffic.contains(QLatin1String("SOUR1:CURR 9")));
}

void TestRemoteSession::failedStartConnectionIsReportedAsTheDialogWould()
{
    MainWindow window;
    window.show();
    ModalAnswerer answerer;
    window.connectAtStart(kPortRs232, home.filePath(QStringLiteral("no-such-port")));
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Failed to connect.")});
    QVERIFY(window.isVisible());
    QVERIFY(window.findChild<QAction *>(QStringLiteral("actConnect"))->isEnabled());
}

void TestRemoteSession::optionsOpenThePortForGood()
{
    const quint16 port = freePort();
    {
        MainWindow window;
        window.show();
        ModalAnswerer answerer([port](QWidget *modal) {
            auto options = qobject_cast<DialogOptions *>(modal);
            QCOMPARE(options->scpiPortSpinBox()->text(), QStringLiteral("Off"));
            QCOMPARE(options->scpiListenEdit()->text(), QStringLiteral("127.0.0.1"));
            options->scpiPortSpinBox()->setValue(port);
            options->accept();
        });
        window.findChild<QAction *>(QStringLiteral("actionOptions"))->trigger();
        QVERIFY(window.remotePort()->server()->isListening());
        QCOMPARE(window.remotePort()->server()->port(), port);
    }
    // The next start listens as stored, unless the command line says otherwise.
    MainWindow window;
    window.remotePort()->start(std::nullopt, QString());
    QCOMPARE(window.remotePort()->server()->port(), port);
    window.remotePort()->start(0, QString());
    QVERIFY(!window.remotePort()->server()->isListening());
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("lblRemote"))->isVisibleTo(&window));
}

QTEST_MAIN(TestRemoteSession)
#include "tst_remotesession.moc"

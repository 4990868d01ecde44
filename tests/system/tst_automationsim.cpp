// The automation against the simulator through the real driver plug-ins: a
// sequence with a ramp sends exactly its planned commands, a charge
// termination switches the output off, and a killed and restarted simulator
// is reconnected by itself, recording on in the same session while the event
// log holds the gap. Short times keep it quick; only orders and values count.

#include "mainwindow.h"
#include "statusmessages.h"
#include "modalanswerer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kTimeoutMs = 15000;

// The command lines the driver writes, as its debug output shows them.
QStringList sentLines;
QtMessageHandler defaultHandler = nullptr;
void collectCommands(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg || qstrcmp(context.category, "luma.driver") != 0)
        defaultHandler(type, context, message);
    else if (message.startsWith(QLatin1String("->")) && !message.contains(QLatin1Char('?')))
        sentLines << message.mid(4, message.size() - 5); // -> "OUTP ON"
}
} // namespace

class TestAutomationSim : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sequenceWithARampSendsItsPlannedCommands();
    void chargeTerminationSwitchesTheOutputOff();
    void lostSimulatorIsReconnectedAndTheGapLogged();

private:
    void startSimulator(const QStringList &arguments = {});
    void connectOverUsb(MainWindow &window);
    void click(MainWindow &window, const char *name)
    {
        QTest::mouseClick(window.findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    QString outputText(MainWindow &window) { return window.findChild<QLabel *>(QStringLiteral("lcdOutput"))->text(); }
    QStringList eventLines(MainWindow &window);

    QTemporaryDir busDir;
    QString busPath;
    QProcess simulator;
};

void TestAutomationSim::initTestCase()
{
    busPath = busDir.filePath(QStringLiteral("vbus"));
    qputenv("LUMA4200_VIRTUAL_BUS", busPath.toLocal8Bit());
    qputenv("XDG_DATA_HOME", busDir.path().toLocal8Bit());
    QLoggingCategory::setFilterRules(QStringLiteral("luma.driver.debug=true"));
}

void TestAutomationSim::init()
{
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));
    sentLines.clear();
    defaultHandler = qInstallMessageHandler(collectCommands);
}

void TestAutomationSim::cleanup()
{
    qInstallMessageHandler(defaultHandler);
    simulator.kill();
    simulator.waitForFinished();
}

void TestAutomationSim::startSimulator(const QStringList &arguments)
{
    QFile::remove(busPath);
    simulator.start(QStringLiteral(LUMA_SIM_PATH), QStringList{"--no-pty", "--bus", busPath} + arguments);
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(busPath), kTimeoutMs);
}

void TestAutomationSim::connectOverUsb(MainWindow &window)
{
    ModalAnswerer answerer([](QWidget *modal) {
        modal->findChild<QRadioButton *>(QStringLiteral("rbUSB"))->click();
        modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    window.findChild<QAction *>(QStringLiteral("actConnect"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QAction *>(QStringLiteral("actDisconnect"))->isEnabled(), kTimeoutMs);
    // The first reading has reported the selected channel and the output.
    QTRY_COMPARE_WITH_TIMEOUT(outputText(window), QStringLiteral("OFF"), kTimeoutMs);
}

QStringList TestAutomationSim::eventLines(MainWindow &window)
{
    const QString session = window.findChild<QLabel *>(QStringLiteral("lblSessionFile"))->toolTip().section(QStringLiteral(": "), 1);
    QFile file(QFileInfo(session).dir().filePath(QFileInfo(session).completeBaseName() + QStringLiteral("-events.csv")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                          : QStringList();
}

void TestAutomationSim::sequenceWithARampSendsItsPlannedCommands()
{
    startSimulator();
    MainWindow window;
    window.show();
    connectOverUsb(window);
    sentLines.clear();

    // CH2 (the instrument has CH1 selected), three steps, a 1 s ramp, output on and off.
    window.findChild<QAction *>(QStringLiteral("actionSequence"))->trigger();
    window.findChild<QComboBox *>(QStringLiteral("cbSeqChannel"))->setCurrentIndex(1);
    auto steps = window.findChild<QTableWidget *>(QStringLiteral("tableSteps"));
    const double values[3][3] = {{5, 1, 1.5}, {6, 1, 1.5}, {6, 0.5, 1.5}};
    for (const auto &row : values) {
        click(window, "btnAddStep");
        for (int column = 0; column < 3; ++column)
            steps->item(steps->rowCount() - 1, column)->setData(Qt::EditRole, row[column]);
    }
    window.findChild<QDoubleSpinBox *>(QStringLiteral("spinRamp"))->setValue(1);
    window.findChild<QCheckBox *>(QStringLiteral("chkOutputOnAtStart"))->setChecked(true);
    window.findChild<QCheckBox *>(QStringLiteral("chkOutputOffAtEnd"))->setChecked(true);
    click(window, "btnSeqStart");
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QPushButton *>(QStringLiteral("btnSeqStart"))->isEnabled(), kTimeoutMs);
    QCOMPARE(sentLines, (QStringList{"INST:NSEL 2", "SOUR2:VOLT 5.00", "SOUR2:CURR 1.000", "OUTP ON",
                                     "SOUR2:VOLT 5.50", "SOUR2:VOLT 6.00", "SOUR2:CURR 0.750", "SOUR2:CURR 0.500",
                                     "OUTP OFF"}));
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Sequence finished."));
    // The instrument followed: CH2 holds the last step, the output is off.
    QTRY_COMPARE_WITH_TIMEOUT(outputText(window), QStringLiteral("OFF"), kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QDoubleSpinBox *>(QStringLiteral("spinCurr"))->value(), 0.5, kTimeoutMs);
    // On disk within the log's flush delay.
    QTRY_VERIFY_WITH_TIMEOUT(!eventLines(window).filter(QStringLiteral(",sequence,Sequence finished.")).isEmpty(),
                             kTimeoutMs);
    const QStringList events = eventLines(window);
    QVERIFY(!events.filter(QStringLiteral(",sequence,set CH2 voltage 5.50 V")).isEmpty());
    QVERIFY(!events.filter(QStringLiteral(",sequence,\"step 3 of 3, pass 1: 6 V, 0.5 A for 1.5 s\"")).isEmpty());
}

void TestAutomationSim::chargeTerminationSwitchesTheOutputOff()
{
    // 5 V into 1 kΩ: 5 mA, a battery nearly charged.
    startSimulator({QStringLiteral("--load1"), QStringLiteral("1000")});
    MainWindow window;
    window.show();
    connectOverUsb(window);
    window.findChild<QAction *>(QStringLiteral("actionSequence"))->trigger();
    // CH1 current below 0.05 A for 1 s → output off.
    window.findChild<QComboBox *>(QStringLiteral("cbCondQuantity"))->setCurrentIndex(1);
    window.findChild<QDoubleSpinBox *>(QStringLiteral("spinCondValue"))->setValue(0.05);
    window.findChild<QDoubleSpinBox *>(QStringLiteral("spinCondHold"))->setValue(1);
    click(window, "btnCondAdd");
    click(window, "btnOutput");
    QTRY_COMPARE_WITH_TIMEOUT(outputText(window), QStringLiteral("ON"), kTimeoutMs);
    sentLines.clear();
    QTRY_COMPARE_WITH_TIMEOUT(outputText(window), QStringLiteral("OFF"), kTimeoutMs);
    QCOMPARE(sentLines, QStringList{QStringLiteral("OUTP OFF")});
    QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Stop condition met: CH1 current below 0.05 A for 1 s")));
    QTRY_VERIFY_WITH_TIMEOUT(!eventLines(window).filter(QStringLiteral(",condition,set output off")).isEmpty(), kTimeoutMs);
}

void TestAutomationSim::lostSimulatorIsReconnectedAndTheGapLogged()
{
    startSimulator();
    MainWindow window;
    window.show();
    connectOverUsb(window);
    click(window, "btnOutput");
    auto table = window.findChild<QTableView *>(QStringLiteral("tableViewCH1"));
    QTRY_VERIFY_WITH_TIMEOUT(table->model()->rowCount() >= 2, kTimeoutMs);
    auto sessionFile = window.findChild<QLabel *>(QStringLiteral("lblSessionFile"));
    const QString session = sessionFile->toolTip();

    simulator.kill();
    simulator.waitForFinished();
    auto connectAction = window.findChild<QAction *>(QStringLiteral("actConnect"));
    QTRY_VERIFY_WITH_TIMEOUT(connectAction->isEnabled(), kTimeoutMs);
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("connects again by itself")));
    const int rowsAtLoss = table->model()->rowCount();
    // Another LUMA4200 on the bus is not taken for the lost one.
    startSimulator({QStringLiteral("--idn"), QStringLiteral("TESSEL,LUMA4200,OTHER0002,1.0")});
    QTRY_VERIFY_WITH_TIMEOUT(window.statusBar()->currentMessage().contains(QStringLiteral("attempt 2 failed")),
                             kTimeoutMs);
    QVERIFY(connectAction->isEnabled());
    simulator.kill();
    simulator.waitForFinished();
    sentLines.clear();
    startSimulator();
    QTRY_VERIFY_WITH_TIMEOUT(!connectAction->isEnabled(), kTimeoutMs);
    const auto saidReconnected = [&window] {
        const auto history = window.findChild<StatusMessages *>()->history();
        return std::any_of(history.cbegin(), history.cend(), [](const StatusMessages::Entry &entry) {
            return entry.text.startsWith(QStringLiteral("Reconnected"));
        });
    };
    QTRY_VERIFY_WITH_TIMEOUT(saidReconnected(), kTimeoutMs);
    // Read back, never sent: the fresh simulator's output stays off and nothing is recorded.
    QTRY_COMPARE_WITH_TIMEOUT(outputText(window), QStringLiteral("OFF"), kTimeoutMs);
    QCOMPARE(sentLines, QStringList{QStringLiteral("*CLS")});
    QCOMPARE(table->model()->rowCount(), rowsAtLoss);

    click(window, "btnOutput");
    QTRY_VERIFY_WITH_TIMEOUT(table->model()->rowCount() > rowsAtLoss, kTimeoutMs);
    QCOMPARE(sessionFile->toolTip(), session);
    QTRY_VERIFY_WITH_TIMEOUT(!eventLines(window).filter(QStringLiteral(",panel,set output on")).isEmpty(), kTimeoutMs);
    const QStringList events = eventLines(window);
    const int lost = events.indexOf(QRegularExpression(QStringLiteral(".*,program,link lost.*")));
    const int back = events.indexOf(QRegularExpression(QStringLiteral(".*,program,link reconnected after .*")));
    QVERIFY2(lost > 0 && back > lost, qPrintable(events.join('\n')));
    QVERIFY(events.at(lost).section(',', 0, 0) < events.at(back).section(',', 0, 0));
}

QTEST_MAIN(TestAutomationSim)
#include "tst_automationsim.moc"

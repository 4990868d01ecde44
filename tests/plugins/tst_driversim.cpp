// The driver and transport plug-in files against the simulator, over the
// virtual USB bus and over a pseudo-terminal (the RS232 path).
#include "dmmdata.h"
#include "idmm.h"
#include "imydmm.h"
#include "iserialdev.h"
#include "ivisaserial.h"
#include "ivisausb.h"

#include <QPluginLoader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/types.h>

namespace {
constexpr int kFastRateMs = 100;
constexpr int kSettleMs = 4000;
constexpr int kLossMs = 8000;

struct Source
{
    quint8 channel;
    quint8 kind;
    QString value;
};
} // namespace

// Receives the driver's signals the way the main window does.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(QObject *driver)
    {
        connect(driver, SIGNAL(opened()), this, SLOT(onOpened()));
        connect(driver, SIGNAL(closed()), this, SLOT(onClosed()));
        connect(driver, SIGNAL(message(QString)), this, SLOT(onMessage(QString)));
        connect(driver, SIGNAL(updateInstrument(quint8)), this, SLOT(onInstrument(quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateVersion(QString)), this, SLOT(onVersion(QString)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateOutput(bool)), this, SLOT(onOutput(bool)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateCx(quint8, quint8)), this, SLOT(onCx(quint8, quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateSPMode(quint8)), this, SLOT(onSPMode(quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateSource(quint8, quint8, QString)), this, SLOT(onSource(quint8, quint8, QString)),
                Qt::DirectConnection);
        connect(driver, SIGNAL(updateData(QList<DmmData *>)), this, SLOT(onData(QList<DmmData *>)), Qt::DirectConnection);
    }
    ~Recorder() override
    {
        for (const QList<DmmData *> &delivery : qAsConst(deliveries))
            qDeleteAll(delivery);
    }

    int reportCount() const { return instruments.size() + outputs.size() + cx.size() + modes.size() + sources.size(); }
    QString lastSource(quint8 channel, quint8 kind) const
    {
        for (int i = sources.size() - 1; i >= 0; --i) {
            if (sources[i].channel == channel && sources[i].kind == kind)
                return sources[i].value;
        }
        return QString();
    }
    const DmmData *last(int channel) const { return deliveries.isEmpty() ? nullptr : deliveries.last().value(channel - 1); }

    int opened = 0;
    int closed = 0;
    QStringList messages;
    QString version;
    QList<quint8> instruments;
    QList<bool> outputs;
    QList<QPair<quint8, quint8>> cx;
    QList<quint8> modes;
    QList<Source> sources;
    QList<QList<DmmData *>> deliveries;

public slots:
    void onOpened() { ++opened; }
    void onClosed() { ++closed; }
    void onMessage(const QString &text) { messages << text; }
    void onInstrument(quint8 channel) { instruments << channel; }
    void onVersion(const QString &text) { version = text; }
    void onOutput(bool on) { outputs << on; }
    void onCx(quint8 channel, quint8 flag) { cx << qMakePair(channel, flag); }
    void onSPMode(quint8 mode) { modes << mode; }
    void onSource(quint8 channel, quint8 kind, const QString &value) { sources << Source{channel, kind, value}; }
    void onData(const QList<DmmData *> &records) { deliveries << records; }
};

class TestDriverSim : public QObject
{
    Q_OBJECT

private:
    enum Port { Usb, Rs232 };
    // How a link is lost: the simulator killed, the link dropped by the
    // simulator itself, or an instrument that stops answering.
    enum Loss { Killed, ByItself, Silenced };

    // Starts luma4200-sim serving one port and returns the PTY path (RS232) or "".
    QString startSimulator(Port port, QStringList arguments)
    {
        m_sim.reset(new QProcess);
        arguments << QStringLiteral("--noise") << QStringLiteral("0")
                  << (port == Usb ? QStringLiteral("--no-pty") : QStringLiteral("--no-usb"));
        m_sim->start(QStringLiteral(LUMA_SIM_PATH), arguments);
        if (!m_sim->waitForStarted())
            return QStringLiteral("not started");
        while (m_sim->waitForReadyRead(3000) || m_sim->canReadLine()) {
            while (m_sim->canReadLine()) {
                const QString line = QString::fromLocal8Bit(m_sim->readLine()).trimmed();
                if (port == Usb && line.startsWith(QLatin1String("USB ")))
                    return QString();
                if (port == Rs232 && line.startsWith(QLatin1String("PTY ")))
                    return line.mid(4);
            }
        }
        return QStringLiteral("no port");
    }

    ISerialDev *transport(Port port, const QString &ptyPath)
    {
        if (port == Usb)
            return qobject_cast<ISerialDev *>(m_usb->object());
        m_serial->setPortName(ptyPath);
        return qobject_cast<ISerialDev *>(m_serial->object());
    }

    bool openWith(Port port, const QStringList &arguments = {})
    {
        const QString pty = startSimulator(port, arguments);
        if (port == Usb ? !pty.isEmpty() : !pty.startsWith(QLatin1Char('/')))
            return false;
        return m_dmm->open(transport(port, pty));
    }

    static QObject *load(const char *file)
    {
        QPluginLoader loader(QStringLiteral(LUMA_PLUGIN_DIR "/") + QLatin1String(file));
        QObject *instance = loader.instance();
        if (!instance)
            qWarning() << loader.errorString();
        return instance;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_sim;
    IDmm *m_dmm = nullptr;
    IMyDmm *m_my = nullptr;
    IVISAUSB *m_usb = nullptr;
    IVISASerial *m_serial = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Our own bus, so that a simulator the user runs is neither found nor disturbed.
        qputenv("LUMA4200_VIRTUAL_BUS", m_dir.filePath(QStringLiteral("vbus")).toLocal8Bit());
        QObject *driver = load("luma4200driver.so");
        QObject *usb = load("luma4200usb.so");
        QObject *serial = load("luma4200serial.so");
        QVERIFY(driver && usb && serial);
        m_dmm = qobject_cast<IDmm *>(driver);
        m_my = qobject_cast<IMyDmm *>(driver);
        QVERIFY(qobject_cast<ISerialDev *>(usb) && qobject_cast<ISerialDev *>(serial));
        m_usb = qobject_cast<IVISAUSB *>(usb);
        m_serial = qobject_cast<IVISASerial *>(serial);
        QVERIFY(m_dmm && m_my && m_usb && m_serial);
    }

    void defaults()
    {
        QCOMPARE(m_my->sampleRate(), 1000);
        QCOMPARE(m_my->samplePoints(), 10000);
        QVERIFY(!m_my->isInfinite());
        QVERIFY(!m_my->skipRepeat());
        QCOMPARE(m_my->portType(), 0);
        QVERIFY(m_my->serialPortNum().isEmpty());
    }

    void cleanup()
    {
        m_dmm->close();
        if (m_sim) {
            m_sim->kill();
            m_sim->waitForFinished();
            m_sim.reset();
        }
        m_my->setSkipRepeat(false);
        m_my->setSampleRate(1000);
    }

    void openReportsEverythingOnce_data()
    {
        QTest::addColumn<int>("port");
        QTest::newRow("usb") << int(Usb);
        QTest::newRow("rs232") << int(Rs232);
    }

    void openReportsEverythingOnce()
    {
        QFETCH(int, port);
        Recorder rec(m_dmm->object());
        QSignalSpy refreshed(m_usb->object(), SIGNAL(usbRefreshed(int)));
        QVERIFY(openWith(Port(port)));
        QCOMPARE(rec.opened, 1);
        QCOMPARE(rec.version, QStringLiteral("1.0"));
        QTRY_COMPARE_WITH_TIMEOUT(rec.deliveries.size(), 1, kSettleMs);
        if (port == Usb)
            QCOMPARE(refreshed.value(0).value(0).toInt(), 1);
        // Selected channel, output, tracking, two flags, five set points.
        QCOMPARE(rec.reportCount(), 10);
        QCOMPARE(rec.instruments, QList<quint8>{1});
        QCOMPARE(rec.outputs, QList<bool>{false});
        QCOMPARE(rec.modes, QList<quint8>{1});
        QCOMPARE(rec.lastSource(1, 0), QStringLiteral("05.00"));
        QCOMPARE(rec.lastSource(2, 1), QStringLiteral("1.000"));
        QCOMPARE(rec.lastSource(3, 0), QStringLiteral("3.3"));
        QCOMPARE(rec.deliveries.first().size(), 3);
        QCOMPARE(rec.last(1)->voltageSettingText(), QStringLiteral("05.00"));
        QCOMPARE(rec.last(3)->voltageSetting(), 3.3);
        QCOMPARE(rec.last(1)->voltageText(), QStringLiteral("00.00"));
    }

    void refusesWrongOrMissingDevice()
    {
        Recorder rec(m_dmm->object());
        QVERIFY(!m_dmm->open(nullptr));
        // Nothing on the bus.
        QVERIFY(!m_dmm->open(transport(Usb, QString())));
        QVERIFY(!m_dmm->open(transport(Rs232, m_dir.filePath(QStringLiteral("no-such-port")))));
        QVERIFY(!openWith(Usb, {QStringLiteral("--idn"), QStringLiteral("ACME,PSU9000,1,2.0")}));
        // Each refusal says why, in words the user can act on.
        QCOMPARE(rec.messages.size(), 4);
        QVERIFY(!rec.messages[0].isEmpty());
        QVERIFY2(rec.messages[1].contains(QLatin1String("USB")), qPrintable(rec.messages[1]));
        QVERIFY2(rec.messages[2].contains(QLatin1String("no-such-port")), qPrintable(rec.messages[2]));
        QVERIFY2(rec.messages[3].contains(QLatin1String("ACME PSU9000")), qPrintable(rec.messages[3]));
        QVERIFY(!m_my->isOutputOn());
        QCOMPARE(rec.opened, 0);
        QCOMPARE(rec.closed, 0);
        QCOMPARE(rec.reportCount(), 0);
        QVERIFY(rec.deliveries.isEmpty());
        m_dmm->close();
        QCOMPARE(rec.closed, 0);
    }

    void commandsShowInReadings()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        QVERIFY(openWith(Rs232));
        QTRY_VERIFY_WITH_TIMEOUT(!rec.deliveries.isEmpty(), kSettleMs);

        m_my->setVoltage(12.0);
        m_my->setCurrent(2.0);
        m_my->setOutput(true);
        QTRY_COMPARE_WITH_TIMEOUT(rec.lastSource(1, 0), QStringLiteral("12.00"), kSettleMs);
        QTRY_COMPARE_WITH_TIMEOUT(rec.outputs.value(rec.outputs.size() - 1), true, kSettleMs);
        QVERIFY(m_my->isOutputOn());
        QTRY_COMPARE_WITH_TIMEOUT(rec.last(1)->voltageText(), QStringLiteral("12.00"), kSettleMs);
        QCOMPARE(rec.lastSource(1, 1), QStringLiteral("2.000"));
        QCOMPARE(rec.last(1)->currentText(), QStringLiteral("1.200"));
        QCOMPARE(rec.last(1)->powerText(), QStringLiteral("14.40"));

        m_my->selectChannel(3);
        QTRY_COMPARE_WITH_TIMEOUT(m_my->currentChannel(), quint8(3), kSettleMs);
        QCOMPARE(rec.instruments.last(), quint8(3));
        m_my->setVoltage(1.8);
        QTRY_COMPARE_WITH_TIMEOUT(rec.lastSource(3, 0), QStringLiteral("1.8"), kSettleMs);

        m_my->setSPMode(1);
        QTRY_COMPARE_WITH_TIMEOUT(rec.modes.last(), quint8(3), kSettleMs);
        m_my->setSPMode(2);
        QTRY_COMPARE_WITH_TIMEOUT(rec.modes.last(), quint8(2), kSettleMs);
        QTRY_COMPARE_WITH_TIMEOUT(rec.last(2)->trackMode(), quint8(2), kSettleMs);
        m_my->setSPMode(0);
        QTRY_COMPARE_WITH_TIMEOUT(rec.modes.last(), quint8(1), kSettleMs);

        m_my->selectChannel(1);
        QTRY_COMPARE_WITH_TIMEOUT(m_my->currentChannel(), quint8(1), kSettleMs);
        m_my->memoryLongPress(2);
        m_my->setVoltage(7.5);
        QTRY_COMPARE_WITH_TIMEOUT(rec.lastSource(1, 0), QStringLiteral("07.50"), kSettleMs);
        m_my->memoryShortPress(2);
        QTRY_COMPARE_WITH_TIMEOUT(rec.lastSource(1, 0), QStringLiteral("12.00"), kSettleMs);

        m_my->setOutput(false);
        QTRY_COMPARE_WITH_TIMEOUT(rec.outputs.last(), false, kSettleMs);
        QCOMPARE(rec.closed, 0);
    }

    void crossoverShowsInFlag()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        QVERIFY(openWith(Usb, {QStringLiteral("--load1"), QStringLiteral("10")}));
        m_my->setOutput(true);
        QTRY_VERIFY_WITH_TIMEOUT(rec.last(1) && rec.last(1)->voltageText() == QLatin1String("05.00"), kSettleMs);
        QCOMPARE(rec.last(1)->ch1Flag(), quint8(0));
        QCOMPARE(rec.cx.value(0), qMakePair(quint8(1), quint8(0)));
        m_my->setCurrent(0.2);
        QTRY_VERIFY_WITH_TIMEOUT(rec.cx.last() == qMakePair(quint8(1), quint8(1)), kSettleMs);
        QTRY_COMPARE_WITH_TIMEOUT(rec.last(1)->ch1Flag(), quint8(1), kSettleMs);
        QCOMPARE(rec.last(2)->ch1Flag(), quint8(1));
        QCOMPARE(rec.last(1)->currentText(), QStringLiteral("0.200"));
        QCOMPARE(rec.last(1)->voltageText(), QStringLiteral("02.00"));
    }

    void readingsAtTheSampleRate()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(200);
        QVERIFY(openWith(Usb));
        QTest::qWait(2100);
        // About ten; generous bounds, this is no timing benchmark.
        QVERIFY2(rec.deliveries.size() >= 5 && rec.deliveries.size() <= 14, qPrintable(QString::number(rec.deliveries.size())));
        for (const QList<DmmData *> &delivery : qAsConst(rec.deliveries))
            QCOMPARE(delivery.size(), 3);
    }

    void skipRepeatDeliversChangesOnly()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        m_my->setSkipRepeat(true);
        QVERIFY(openWith(Usb));
        QTest::qWait(1000);
        QCOMPARE(rec.deliveries.size(), 1);
        m_my->setVoltage(9.0);
        QTRY_COMPARE_WITH_TIMEOUT(rec.deliveries.size(), 2, kSettleMs);
        QCOMPARE(rec.last(1)->voltageSettingText(), QStringLiteral("09.00"));
        QTest::qWait(500);
        QCOMPARE(rec.deliveries.size(), 2);
    }

    void lossClosesOnce_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("loss");
        QTest::newRow("usb, simulator killed") << int(Usb) << QStringList() << int(Killed);
        QTest::newRow("rs232, simulator killed") << int(Rs232) << QStringList() << int(Killed);
        QTest::newRow("usb, connection dropped") << int(Usb) << QStringList{"--drop-after", "1"} << int(ByItself);
        QTest::newRow("usb, instrument silent") << int(Usb) << QStringList() << int(Silenced);
    }

    void lossClosesOnce()
    {
        QFETCH(int, port);
        QFETCH(QStringList, arguments);
        QFETCH(int, loss);
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        QVERIFY(openWith(Port(port), arguments));
        QTRY_VERIFY_WITH_TIMEOUT(rec.deliveries.size() >= 3, kSettleMs);
        if (loss == Killed)
            m_sim->kill();
        // Stopped, the simulator keeps its end of the link open and answers nothing.
        else if (loss == Silenced)
            ::kill(pid_t(m_sim->processId()), SIGSTOP);
        QTRY_COMPARE_WITH_TIMEOUT(rec.closed, 1, kLossMs);
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(!rec.messages.first().isEmpty());
        QVERIFY(!m_my->isOutputOn());
        const int delivered = rec.deliveries.size();
        QTest::qWait(500);
        m_dmm->close();
        QCOMPARE(rec.closed, 1);
        QCOMPARE(rec.deliveries.size(), delivered);
        // Records delivered before the loss are still whole.
        QCOMPARE(rec.deliveries.first().value(0)->voltageSettingText(), QStringLiteral("05.00"));
    }

    void garbageNeverBecomesRecords()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        QVERIFY(openWith(Usb, {QStringLiteral("--garbage"), QStringLiteral("0.3"), QStringLiteral("--partial"),
                               QStringLiteral("0.2")}));
        QTest::qWait(3000);
        QVERIFY(rec.deliveries.size() >= 5);
        for (const QList<DmmData *> &delivery : qAsConst(rec.deliveries)) {
            QCOMPARE(delivery.size(), 3);
            QCOMPARE(delivery[0]->voltageSettingText(), QStringLiteral("05.00"));
            QCOMPARE(delivery[1]->currentSettingText(), QStringLiteral("1.000"));
            QCOMPARE(delivery[2]->voltageSettingText(), QStringLiteral("3.3"));
            QCOMPARE(delivery[0]->voltage(), 0.0);
        }
        QCOMPARE(rec.reportCount(), 10);
        QCOMPARE(rec.closed, 0);
    }

    void slowInstrumentStillObeys()
    {
        Recorder rec(m_dmm->object());
        m_my->setSampleRate(kFastRateMs);
        QVERIFY(openWith(Rs232, {QStringLiteral("--delay"), QStringLiteral("400")}));
        QTRY_VERIFY_WITH_TIMEOUT(!rec.deliveries.isEmpty(), kSettleMs);
        m_my->setOutput(true);
        QTRY_COMPARE_WITH_TIMEOUT(rec.outputs.last(), true, kSettleMs);
        QCOMPARE(rec.closed, 0);
    }
};

QTEST_GUILESS_MAIN(TestDriverSim)
#include "tst_driversim.moc"

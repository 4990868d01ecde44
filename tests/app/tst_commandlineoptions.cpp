// The program's command line: what it accepts, what it refuses, and that
// --help and --version answer without a window system.

#include "commandlineoptions.h"

#include <QProcess>
#include <QtTest>

using Action = CommandLineOptions::Action;
Q_DECLARE_METATYPE(CommandLineOptions::Action)

class TestCommandLineOptions : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void helpAndVersionNeedNoDisplay();
};

void TestCommandLineOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("port");       // -1: not given
    QTest::addColumn<QString>("listen");
    QTest::addColumn<int>("portType");   // -1: no connection at start
    QTest::addColumn<QString>("portName");
    QTest::newRow("nothing") << QStringList() << Action::Run << -1 << QString() << -1 << QString();
    QTest::newRow("service") << QStringList{"--scpi-port", "5025", "--scpi-listen", "0.0.0.0", "--connect", "USB"}
                             << Action::Run << 5025 << "0.0.0.0" << 0 << QString();
    QTest::newRow("rs232") << QStringList{"--connect=rs232:/dev/ttyUSB0", "--scpi-port=0"} << Action::Run << 0
                           << QString() << 2 << "/dev/ttyUSB0";
    QTest::newRow("a file") << QStringList{"session.csv"} << Action::Run << -1 << QString() << -1 << QString();
    QTest::newRow("two files") << QStringList{"a.csv", "b.csv"} << Action::Error << -1 << QString() << -1 << QString();
    QTest::newRow("port too big") << QStringList{"--scpi-port", "65536"} << Action::Error << -1 << QString() << -1
                                  << QString();
    QTest::newRow("host name") << QStringList{"--scpi-listen", "localhost"} << Action::Error << -1 << "localhost"
                               << -1 << QString();
    QTest::newRow("lan") << QStringList{"--connect", "lan"} << Action::Error << -1 << QString() << -1 << QString();
    QTest::newRow("no port name") << QStringList{"--connect", "rs232:"} << Action::Error << -1 << QString() << -1
                                  << QString();
    QTest::newRow("unknown") << QStringList{"--bogus"} << Action::Error << -1 << QString() << -1 << QString();
    QTest::newRow("help wins") << QStringList{"--scpi-port", "1", "-h"} << Action::Help << -1 << QString() << -1
                               << QString();
}

void TestCommandLineOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(int, port);
    QFETCH(QString, listen);
    QFETCH(int, portType);
    QFETCH(QString, portName);
    CommandLineOptions options;
    options.parse(QStringList{"luma4200"} + arguments);
    QCOMPARE(options.action(), action);
    if (action != Action::Run) {
        QVERIFY(options.text().endsWith(QLatin1Char('\n')));
        return;
    }
    QCOMPARE(options.scpiPort() ? int(*options.scpiPort()) : -1, port);
    QCOMPARE(options.scpiListen(), listen);
    QCOMPARE(options.connection() ? options.connection()->portType : -1, portType);
    QCOMPARE(options.connection() ? options.connection()->portName : QString(), portName);
}

void TestCommandLineOptions::helpAndVersionNeedNoDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Any attempt to open a window would fail without a display.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LUMA_APP_EXECUTABLE), {option});
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitCode(), 0);
        const QString said = QString::fromLocal8Bit(program.readAllStandardOutput());
        QVERIFY2(said.contains(option == QLatin1String("--help") ? QStringLiteral("--scpi-port <N>")
                                                                  : QStringLiteral("luma4200 " LUMA_VERSION)),
                 qPrintable(said));
    }
}

QTEST_GUILESS_MAIN(TestCommandLineOptions)
#include "tst_commandlineoptions.moc"

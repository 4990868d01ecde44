// Nothing recorded is lost: the application records from the simulator and is
// killed with SIGKILL; its session file must hold every reading the tables
// held a second before, in order, read back with Python's csv module.
//
// A user's run is 30 s at the default pace of one reading a second; here the
// driver runs at its fastest, twenty a second, for a few seconds: more
// readings and more flushes than such a run, in a fraction of the time.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {
constexpr int kStartTimeoutMs = 20000;
constexpr int kRowsBeforeKill = 80;
constexpr qint64 kMaxLossMs = 1000;

struct Row
{
    QString readingTime;
    qint64 recordedAtMs;
};
} // namespace

class TestSessionKill : public QObject
{
    Q_OBJECT
private slots:
    void killedApplicationLosesAtMostTheLastSecond();
};

void TestSessionKill::killedApplicationLosesAtMostTheLastSecond()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString bus = dir.filePath(QStringLiteral("vbus"));
    // Quiet: the traffic of both sides would flood the test's output.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("luma.*.debug=false"));
    QProcess simulator;
    simulator.setProcessEnvironment(environment);
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(QStringLiteral(LUMA_SIM_PATH), {"--no-pty", "--bus", bus});
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(bus), kStartTimeoutMs);

    QProcess application;
    environment.insert(QStringLiteral("LUMA4200_VIRTUAL_BUS"), bus);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    application.setProcessEnvironment(environment);
    application.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    application.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sessionharness"), QStringList());
    QVERIFY(application.waitForStarted());

    QList<Row> rows;
    const auto readRows = [&] {
        while (application.canReadLine()) {
            const QList<QByteArray> fields = application.readLine().trimmed().split(' ');
            if (fields.size() == 4 && fields.at(0) == "row" && fields.at(1).toInt() == rows.size() + 1)
                rows.append({QString::fromLatin1(fields.at(2)), fields.at(3).toLongLong()});
        }
    };
    QTRY_VERIFY_WITH_TIMEOUT((readRows(), rows.size() >= kRowsBeforeKill), kStartTimeoutMs);
    const qint64 killedAtMs = QDateTime::currentMSecsSinceEpoch();
    QCOMPARE(::kill(pid_t(application.processId()), SIGKILL), 0);
    QVERIFY(application.waitForFinished());
    readRows();
    simulator.kill();
    simulator.waitForFinished();

    const QStringList sessions =
        QDir(dir.filePath(QStringLiteral("luma4200/sessions"))).entryList({"*.csv"}, QDir::Files)
            .filter(QRegularExpression(QStringLiteral("^(?!.*-events\\.csv$)")));
    QCOMPARE(sessions.size(), 1);
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                 "    json.dump(list(csv.reader(f)), sys.stdout)"),
                  dir.filePath(QStringLiteral("luma4200/sessions/") + sessions.first())});
    QVERIFY(reader.waitForFinished());
    const QJsonArray lines = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.at(0).toArray().at(0).toString(), QStringLiteral("Time"));

    int mustBeThere = 0;
    while (mustBeThere < rows.size() && rows.at(mustBeThere).recordedAtMs <= killedAtMs - kMaxLossMs)
        ++mustBeThere;
    qInfo() << rows.size() << "rows recorded," << mustBeThere << "older than a second," << lines.size() - 1
            << "in the session file";
    QVERIFY(mustBeThere >= kRowsBeforeKill / 2);
    QVERIFY(lines.size() - 1 >= mustBeThere);
    // Never more than the tables held (a last line may be cut short by the kill).
    QVERIFY(lines.size() - 1 <= rows.size());
    for (int i = 0; i < mustBeThere; ++i)
        QCOMPARE(lines.at(i + 1).toArray().at(0).toString(), rows.at(i).readingTime);
}

QTEST_MAIN(TestSessionKill)
#include "tst_sessionkill.moc"

// The program as the Debian package installs it: the package is made from this
// build with CPack and unpacked into a temporary root, and the unpacked
// luma4200 is started through its command link against the unpacked
// simulator, worked by the preloaded pilot (sessionpilot.cpp).

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kPackagingTimeoutMs = 180000;
constexpr int kToolTimeoutMs = 60000;
constexpr int kSessionTimeoutMs = 40000;
constexpr int kSimulatorStartTimeoutMs = 10000;
const QString kProgramDir = QStringLiteral("/usr/lib/luma4200");

struct Run
{
    int exitCode = -1;
    QString output;
};

// Runs a program to its end, standard output and error together.
Run run(const QString &program, const QStringList &arguments, int timeoutMs = kToolTimeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    else
        process.kill();
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

bool missing(const QString &tool)
{
    return QStandardPaths::findExecutable(tool).isEmpty();
}

QFile::Permissions readAndSearch()
{
    return QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser | QFile::ReadGroup
        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
}
} // namespace

class TestPackage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void holdsTheProgramFolderAndTheDesktopFiles();
    void installedProgramConnectsRecordsAndKeepsItsSettings();
    void desktopEntryAndAppStreamDataValidate();
    void lintianFindsNoError();

private:
    QString rooted(const QString &path) const { return root + path; }

    QTemporaryDir work;
    QString package;
    QString root;
};

void TestPackage::initTestCase()
{
    for (const QString &tool : {QStringLiteral("dpkg-deb"), QStringLiteral("dpkg-shlibdeps"), QStringLiteral("file")}) {
        if (missing(tool))
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed (scripts/setup installs it)")));
    }
    QVERIFY(work.isValid());
    const QString outputDir = work.filePath(QStringLiteral("package"));
    const Run cpack = run(QStringLiteral(LUMA_CPACK),
                          {"-G", "DEB", "--config", QStringLiteral(LUMA_CPACK_CONFIG), "-B", outputDir},
                          kPackagingTimeoutMs);
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
    const QStringList debs = QDir(outputDir).entryList({QStringLiteral("luma4200_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    package = QDir(outputDir).filePath(debs.first());

    root = work.filePath(QStringLiteral("root"));
    const Run unpack = run(QStringLiteral("dpkg-deb"), {"-x", package, root});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
}

void TestPackage::cleanupTestCase()
{
    // Writable again, so that the temporary root can be removed.
    if (!root.isEmpty())
        QFile::setPermissions(rooted(kProgramDir), readAndSearch() | QFile::WriteOwner | QFile::WriteUser);
}

void TestPackage::holdsTheProgramFolderAndTheDesktopFiles()
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size());
    files.sort();
    // Nothing from the tests, benchmarks or tools.
    QStringList expected = {
        "/usr/bin/luma4200",
        "/usr/bin/luma4200-sim",
        "/usr/lib/luma4200/Lib/luma4200driver.so",
        "/usr/lib/luma4200/Lib/luma4200serial.so",
        "/usr/lib/luma4200/Lib/luma4200usb.so",
        "/usr/lib/luma4200/Software User Manual.pdf",
        "/usr/lib/luma4200/luma4200",
        "/usr/lib/udev/rules.d/70-luma4200.rules",
        "/usr/share/applications/com.tessel.luma4200.desktop",
        "/usr/share/doc/luma4200/changelog.gz",
        "/usr/share/doc/luma4200/copyright",
        "/usr/share/icons/hicolor/scalable/apps/luma4200.svg",
        "/usr/share/man/man1/luma4200-sim.1.gz",
        "/usr/share/man/man1/luma4200.1.gz",
        "/usr/share/metainfo/com.tessel.luma4200.metainfo.xml",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/luma4200.png").arg(size);
    expected.sort();
    QCOMPARE(files, expected);

    // The command is a link, relative so that it holds in any root.
    const QFileInfo command(rooted(QStringLiteral("/usr/bin/luma4200")));
    QVERIFY(command.isSymLink());
    QCOMPARE(command.canonicalFilePath(), QFileInfo(rooted(kProgramDir + QStringLiteral("/luma4200"))).canonicalFilePath());

    for (const char *binary : {"/usr/bin/luma4200-sim", "/usr/lib/luma4200/luma4200",
                               "/usr/lib/luma4200/Lib/luma4200driver.so"}) {
        const Run file = run(QStringLiteral("file"), {"-b", rooted(QLatin1String(binary))});
        QVERIFY2(file.output.contains(QLatin1String(", stripped")), qPrintable(file.output));
    }
}

void TestPackage::installedProgramConnectsRecordsAndKeepsItsSettings()
{
    // As installed on a system: a program folder that no one may write to, root included.
    QVERIFY(QFile::setPermissions(rooted(kProgramDir), readAndSearch()));
    const QString bus = work.filePath(QStringLiteral("vbus"));
    const QString configHome = work.filePath(QStringLiteral("config"));
    const QString runtimeDir = work.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(runtimeDir));
    QVERIFY(QFile::setPermissions(runtimeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment quiet = QProcessEnvironment::systemEnvironment();
    quiet.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("luma.*.debug=false"));
    simulator.setProcessEnvironment(quiet);
    simulator.start(rooted(QStringLiteral("/usr/bin/luma4200-sim")), {"--no-pty", "--bus", bus});
    QVERIFY(simulator.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(bus), kSimulatorStartTimeoutMs);

    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(LUMA_SESSION_PILOT));
    env.insert(QStringLiteral("LUMA4200_VIRTUAL_BUS"), bus);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_DATA_HOME"), work.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    program.setProcessEnvironment(env);
    program.start(rooted(QStringLiteral("/usr/bin/luma4200")), QStringList());
    const bool finished = program.waitForFinished(kSessionTimeoutMs);
    if (!finished)
        program.kill();
    simulator.terminate();
    simulator.waitForFinished();
    const QString output = QString::fromLocal8Bit(program.readAll());
    QVERIFY2(finished && program.exitStatus() == QProcess::NormalExit, qPrintable(output));
    // A program that misses its plug-ins ends at once, before the pilot says anything.
    QVERIFY2(output.contains(QLatin1String("pilot: connected")), qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("pilot: recorded")), qPrintable(output));
    QVERIFY2(program.exitCode() == 0, qPrintable(output));

    // Closing stored the settings in the user's configuration folder.
    QFile settings(configHome + QStringLiteral("/luma4200/options.xml"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("<PortType>0</PortType>"));
    QVERIFY(!QFile::exists(rooted(kProgramDir + QStringLiteral("/options.xml"))));
}

void TestPackage::desktopEntryAndAppStreamDataValidate()
{
    if (missing(QStringLiteral("desktop-file-validate")) || missing(QStringLiteral("appstreamcli")))
        QSKIP("desktop-file-validate or appstreamcli is not installed (scripts/setup installs them)");
    const Run desktop = run(QStringLiteral("desktop-file-validate"),
                            {rooted(QStringLiteral("/usr/share/applications/com.tessel.luma4200.desktop"))});
    QVERIFY2(desktop.exitCode == 0 && desktop.output.isEmpty(), qPrintable(desktop.output));
    // The tree check also finds the desktop entry and the icon the data names.
    const Run appstream = run(QStringLiteral("appstreamcli"), {"validate-tree", "--no-net", "--pedantic", root});
    QVERIFY2(appstream.exitCode == 0, qPrintable(appstream.output));
}

void TestPackage::lintianFindsNoError()
{
    if (missing(QStringLiteral("lintian")))
        QSKIP("lintian is not installed (scripts/setup installs it)");
    Run lintian = run(QStringLiteral("lintian"), {"--fail-on", "error", package});
    QVERIFY2(lintian.exitCode == 0, qPrintable(lintian.output));
    // Warnings are shown, not failed on; so is lintian's own remark on running as root.
    const QString findings = lintian.output.remove(QStringLiteral("running with root privileges is not recommended!"))
                                 .trimmed();
    if (!findings.isEmpty())
        qInfo("%s", qPrintable(findings));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"

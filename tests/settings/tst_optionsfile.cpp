#include "optionsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Entries = QList<OptionsFile::Entry>;

namespace {

// The ten settings as the main window writes them.
Entries windowEntries()
{
    return {
        {QStringLiteral("Geometry"), QStringLiteral("01d9d0cb00030000")},
        {QStringLiteral("State"), QStringLiteral("000000ff00000000fd")},
        {QStringLiteral("FixedLanguage"), QStringLiteral("0")},
        {QStringLiteral("Language"), QStringLiteral("OTHER")},
        {QStringLiteral("SamplePoints"), QStringLiteral("1000")},
        {QStringLiteral("Infinite"), QStringLiteral("1")},
        {QStringLiteral("SampleRate"), QStringLiteral("500")},
        {QStringLiteral("SkipRepeat"), QStringLiteral("0")},
        {QStringLiteral("PortType"), QStringLiteral("2")},
        {QStringLiteral("SerialPortNum"), QStringLiteral("ttyUSB0")},
    };
}

const QByteArray kWindowFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<options>\n"
                               "    <Geometry>01d9d0cb00030000</Geometry>\n"
                               "    <State>000000ff00000000fd</State>\n"
                               "    <FixedLanguage>0</FixedLanguage>\n"
                               "    <Language>OTHER</Language>\n"
                               "    <SamplePoints>1000</SamplePoints>\n"
                               "    <Infinite>1</Infinite>\n"
                               "    <SampleRate>500</SampleRate>\n"
                               "    <SkipRepeat>0</SkipRepeat>\n"
                               "    <PortType>2</PortType>\n"
                               "    <SerialPortNum>ttyUSB0</SerialPortNum>\n"
                               "</options>\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void store(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

Entries readAll(const OptionsFile &file, bool *opened = nullptr)
{
    Entries seen;
    const bool ok = file.read([&seen](const QString &key, const QString &text) { seen.append({key, text}); });
    if (opened)
        *opened = ok;
    return seen;
}

} // namespace

class TestOptionsFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    // writing
    void writeLaysOutTheDocumentExactly();
    void writeThenReadGivesTheEntriesBack();
    void textsSurviveTheRoundTrip_data();
    void textsSurviveTheRoundTrip();
    void emptyTextIsWrittenButNotReadBack();
    void charactersXmlCannotHoldAreLeftOut();
    void writeReplacesALongerFileWhole();
    void writeKeepsThePermissions();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();

    // reading
    void readFollowsTheRules_data();
    void readFollowsTheRules();
    void readOfAMissingFileFails();

    // value texts
    void toInt_data();
    void toInt();
    void toBool_data();
    void toBool();
    void hexRoundTrip();
    void fromHexPassesOverOtherCharacters();
    void locationFollowsTheProgramFolder();

private:
    QString optionsPath() const;

    QScopedPointer<QTemporaryDir> dir;
};

void TestOptionsFile::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

QString TestOptionsFile::optionsPath() const
{
    return dir->filePath(QStringLiteral("options.xml"));
}

void TestOptionsFile::writeLaysOutTheDocumentExactly()
{
    QVERIFY(OptionsFile(optionsPath()).write(windowEntries()));
    QCOMPARE(contents(optionsPath()), kWindowFile);
}

void TestOptionsFile::writeThenReadGivesTheEntriesBack()
{
    const OptionsFile file(optionsPath());
    QVERIFY(file.write(windowEntries()));
    bool opened = false;
    QCOMPARE(readAll(file, &opened), windowEntries());
    QVERIFY(opened);
}

void TestOptionsFile::textsSurviveTheRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("markup characters") << QStringLiteral("a&b <c> \"d\" 'e'");
    QTest::newRow("looks like markup") << QStringLiteral("<Language>EN</Language>");
    QTest::newRow("surrounding blanks") << QStringLiteral("  EN\t");
    QTest::newRow("line break inside") << QStringLiteral("first\nsecond");
    QTest::newRow("non-latin") << QStringLiteral(u"中文 Ελληνικά");
    QTest::newRow("outside the BMP") << QStringLiteral(u"port \U0001F600");
    QTest::newRow("any language text") << QStringLiteral("de_DE");
}

void TestOptionsFile::textsSurviveTheRoundTrip()
{
    QFETCH(QString, text);
    const OptionsFile file(optionsPath());
    const Entries entries{{QStringLiteral("Language"), text}, {QStringLiteral("PortType"), QStringLiteral("0")}};
    QVERIFY(file.write(entries));
    QCOMPARE(readAll(file), entries);
}

void TestOptionsFile::emptyTextIsWrittenButNotReadBack()
{
    const OptionsFile file(optionsPath());
    QVERIFY(file.write({{QStringLiteral("Language"), QString()}, {QStringLiteral("PortType"), QStringLiteral("2")}}));
    QVERIFY(contents(optionsPath()).contains("\n    <Language></Language>\n"));
    QCOMPARE(readAll(file), Entries({{QStringLiteral("PortType"), QStringLiteral("2")}}));
}

void TestOptionsFile::charactersXmlCannotHoldAreLeftOut()
{
    QString loneSurrogate = QStringLiteral("COM");
    loneSurrogate += QChar(0xD800);
    loneSurrogate += QLatin1Char('3');
    const OptionsFile file(optionsPath());
    const QRegularExpression dropped(QStringLiteral("dropped characters"));
    QTest::ignoreMessage(QtWarningMsg, dropped);
    QTest::ignoreMessage(QtWarningMsg, dropped);
    QVERIFY(file.write({{QStringLiteral("Language"), QStringLiteral("E\x01N\x1f")},
                        {QStringLiteral("SerialPortNum"), loneSurrogate},
                        {QStringLiteral("PortType"), QStringLiteral("2")}}));
    QCOMPARE(readAll(file), Entries({{QStringLiteral("Language"), QStringLiteral("EN")},
                                     {QStringLiteral("SerialPortNum"), QStringLiteral("COM3")},
                                     {QStringLiteral("PortType"), QStringLiteral("2")}}));
}

void TestOptionsFile::writeReplacesALongerFileWhole()
{
    store(optionsPath(), kWindowFile + QByteArray(4096, ' ') + "<tail/>");
    const Entries shorter{{QStringLiteral("Language"), QStringLiteral("EN")}};
    QVERIFY(OptionsFile(optionsPath()).write(shorter));
    QCOMPARE(contents(optionsPath()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                 "<options>\n"
                                                 "    <Language>EN</Language>\n"
                                                 "</options>\n"));
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("options.xml")});
}

void TestOptionsFile::writeKeepsThePermissions()
{
    store(optionsPath(), kWindowFile);
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QVERIFY(QFile::setPermissions(optionsPath(), ownerOnly));
    QVERIFY(OptionsFile(optionsPath()).write(windowEntries()));
    QCOMPARE(QFileInfo(optionsPath()).permissions(), ownerOnly);
}

enum class Obstacle { ParentIsAFile, TargetIsADirectory, ReadOnlyFile };
Q_DECLARE_METATYPE(Obstacle)

void TestOptionsFile::failedWriteKeepsTheOldFile_data()
{
    // Root passes over access rights, so each obstacle is one that holds for root too.
    QTest::addColumn<Obstacle>("obstacle");
    QTest::newRow("parent is a file") << Obstacle::ParentIsAFile;
    QTest::newRow("target is a directory") << Obstacle::TargetIsADirectory;
    QTest::newRow("read-only file") << Obstacle::ReadOnlyFile;
}

void TestOptionsFile::failedWriteKeepsTheOldFile()
{
    QFETCH(Obstacle, obstacle);
    const QByteArray old = "<options><Language>EN</Language></options>";
    QString target = optionsPath();
    QString kept = optionsPath();
    switch (obstacle) {
    case Obstacle::ParentIsAFile:
        store(kept, old);
        target = kept + QStringLiteral("/options.xml");
        break;
    case Obstacle::TargetIsADirectory:
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("options.xml")));
        kept = target + QStringLiteral("/keep");
        store(kept, old);
        break;
    case Obstacle::ReadOnlyFile:
        store(kept, old);
        QVERIFY(QFile::setPermissions(kept, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    }

    QVERIFY(!OptionsFile(target).write(windowEntries()));
    QCOMPARE(contents(kept), old);
    if (obstacle == Obstacle::TargetIsADirectory)
        QVERIFY(QFileInfo(target).isDir());
    if (obstacle == Obstacle::ReadOnlyFile)
        QCOMPARE(QFileInfo(kept).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
}

void TestOptionsFile::readFollowsTheRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Entries>("expected");

    const auto e = [](const char *key, const char *text) {
        return OptionsFile::Entry(QString::fromUtf8(key), QString::fromUtf8(text));
    };

    QTest::newRow("as written") << kWindowFile << windowEntries();
    QTest::newRow("number above one") << QByteArray("<options><Infinite>2</Infinite></options>")
                                      << Entries{e("Infinite", "2")};
    QTest::newRow("not a number") << QByteArray("<options><SamplePoints>abc</SamplePoints></options>")
                                  << Entries{e("SamplePoints", "abc")};
    QTest::newRow("another order")
        << QByteArray("<options><PortType>0</PortType><Language>EN</Language><Geometry>ab</Geometry></options>")
        << Entries{e("PortType", "0"), e("Language", "EN"), e("Geometry", "ab")};
    QTest::newRow("another root") << QByteArray("<?xml version=\"1.0\"?><settings><Language>EN</Language></settings>")
                                  << Entries{e("Language", "EN")};
    QTest::newRow("key twice")
        << QByteArray("<options><SamplePoints>10</SamplePoints><SamplePoints>20</SamplePoints></options>")
        << Entries{e("SamplePoints", "10"), e("SamplePoints", "20")};
    QTest::newRow("empty element")
        << QByteArray("<options><Language></Language><Language/><PortType>1</PortType></options>")
        << Entries{e("PortType", "1")};
    QTest::newRow("blank element") << QByteArray("<options><Language> \t\r\n </Language></options>") << Entries{};
    QTest::newRow("text with blanks is kept whole") << QByteArray("<options><Language> EN </Language></options>")
                                                    << Entries{e("Language", " EN ")};
    QTest::newRow("nested")
        << QByteArray("<options><group><inner>\n  <SamplePoints>7</SamplePoints>\n</inner></group></options>")
        << Entries{e("SamplePoints", "7")};
    QTest::newRow("name case kept") << QByteArray("<options><language>EN</language></options>")
                                    << Entries{e("language", "EN")};
    QTest::newRow("root text is no value") << QByteArray("<options>stray<Language>EN</Language></options>")
                                           << Entries{e("Language", "EN")};
    QTest::newRow("text after an end tag is no value")
        << QByteArray("<options><Language/>stray<Geometry><a>1</a>2</Geometry></options>") << Entries{e("a", "1")};
    QTest::newRow("first text only") << QByteArray("<options><Language>EN<!-- c -->FR</Language></options>")
                                     << Entries{e("Language", "EN")};
    QTest::newRow("comment before text") << QByteArray("<options><Language><!-- c --> <?pi x?>EN</Language></options>")
                                         << Entries{e("Language", "EN")};
    QTest::newRow("entities") << QByteArray("<options><Language>a&amp;b&lt;c&#65;</Language></options>")
                              << Entries{e("Language", "a&b<cA")};
    QTest::newRow("cdata joins its text")
        << QByteArray("<options><Geometry>01<![CDATA[02]]>03</Geometry></options>") << Entries{e("Geometry", "010203")};
    QTest::newRow("cut off in a text")
        << QByteArray("<options>\n    <Language>EN</Language>\n    <SamplePoints>10") << Entries{e("Language", "EN")};
    QTest::newRow("cut off in a tag")
        << QByteArray("<options><Language>EN</Language><PortType>2</PortType><Sam") << Entries{e("Language", "EN"), e("PortType", "2")};
    QTest::newRow("cut off in a cdata")
        << QByteArray("<options><Language>EN</Language><Geometry>01<![CDATA[02") << Entries{e("Language", "EN")};
    QTest::newRow("mismatched end tag")
        << QByteArray("<options><Language>EN</Language><PortType>2</Port><Infinite>1</Infinite></options>")
        << Entries{e("Language", "EN")};
    QTest::newRow("content after the root")
        << QByteArray("<options><Language>EN</Language></options><PortType>2</PortType>")
        << Entries{e("Language", "EN")};
    QTest::newRow("undeclared entity") << QByteArray("<options><Language>&bogus;</Language></options>") << Entries{};
    QTest::newRow("entity expansion bomb")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE options [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                      "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
                      "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\"><!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">]>"
                      "<options><PortType>1</PortType><Language>&i;</Language></options>")
        << Entries{e("PortType", "1")};
    QTest::newRow("empty file") << QByteArray() << Entries{};
    QTest::newRow("not xml") << QByteArray("SamplePoints=10\n") << Entries{};
}

void TestOptionsFile::readFollowsTheRules()
{
    QFETCH(QByteArray, file);
    QFETCH(Entries, expected);
    store(optionsPath(), file);
    bool opened = false;
    QCOMPARE(readAll(OptionsFile(optionsPath()), &opened), expected);
    QVERIFY(opened);
}

void TestOptionsFile::readOfAMissingFileFails()
{
    bool opened = true;
    QCOMPARE(readAll(OptionsFile(optionsPath()), &opened), Entries{});
    QVERIFY(!opened);
}

void TestOptionsFile::toInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << QStringLiteral("1000") << 1000;
    QTest::newRow("negative") << QStringLiteral("-7") << -7;
    QTest::newRow("two") << QStringLiteral("2") << 2;
    QTest::newRow("letters") << QStringLiteral("abc") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("hexadecimal prefix") << QStringLiteral("0x10") << 0;
    QTest::newRow("fraction") << QStringLiteral("1.5") << 0;
    QTest::newRow("trailing letters") << QStringLiteral("12ab") << 0;
    QTest::newRow("largest") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("beyond int") << QStringLiteral("2147483648") << 0;
}

void TestOptionsFile::toInt()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(OptionsFile::toInt(text), value);
    if (value != 0)
        QCOMPARE(OptionsFile::toInt(OptionsFile::fromInt(value)), value);
}

void TestOptionsFile::toBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");
    QTest::newRow("one") << QStringLiteral("1") << true;
    QTest::newRow("two") << QStringLiteral("2") << true;
    QTest::newRow("negative") << QStringLiteral("-1") << true;
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("word") << QStringLiteral("true") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestOptionsFile::toBool()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    QCOMPARE(OptionsFile::toBool(text), value);
    QCOMPARE(OptionsFile::fromBool(value), value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TestOptionsFile::hexRoundTrip()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    const QString text = OptionsFile::toHex(bytes);
    QCOMPARE(text.size(), 512);
    QVERIFY(text.startsWith(QStringLiteral("000102")));
    QVERIFY(text.endsWith(QStringLiteral("fdfeff")));
    QCOMPARE(text, text.toLower());
    QCOMPARE(OptionsFile::fromHex(text), bytes);
    QCOMPARE(OptionsFile::fromHex(text.toUpper()), bytes);
    QCOMPARE(OptionsFile::toHex(QByteArray()), QString());
}

void TestOptionsFile::fromHexPassesOverOtherCharacters()
{
    QCOMPARE(OptionsFile::fromHex(QStringLiteral("01 d9\nD0-cb")), QByteArray("\x01\xd9\xd0\xcb"));
}

void TestOptionsFile::locationFollowsTheProgramFolder()
{
    // This test's own folder in the build tree is writable: a portable program.
    QCOMPARE(OptionsFile::defaultPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));

    QCoreApplication::setApplicationName(QStringLiteral("luma4200"));
    const QString configHome = dir->filePath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString beside = program.filePath(QStringLiteral("options.xml"));
    const QString inConfig = configHome + QStringLiteral("/luma4200/options.xml");
    const QFile::Permissions readAndSearch = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    const QFile::Permissions writable = readAndSearch | QFile::WriteOwner | QFile::WriteUser;

    // An installed program's folder is read-only, root or not: the file goes
    // to the configuration folder, which the first write creates.
    QVERIFY(QFile::setPermissions(program.path(), readAndSearch));
    QCOMPARE(OptionsFile::pathForProgramIn(program.path()), inConfig);
    QVERIFY(OptionsFile(inConfig).write(windowEntries()));
    QCOMPARE(contents(inConfig), kWindowFile);

    // Once the folder may be written, the file beside the program counts,
    // whatever the configuration folder holds.
    QVERIFY(QFile::setPermissions(program.path(), writable));
    QCOMPARE(OptionsFile::pathForProgramIn(program.path()), beside);
    QVERIFY(!QFile::exists(beside));
    qunsetenv("XDG_CONFIG_HOME");
}

QTEST_GUILESS_MAIN(TestOptionsFile)
#include "tst_optionsfile.moc"

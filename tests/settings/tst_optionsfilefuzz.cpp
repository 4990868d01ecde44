#include "optionsfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 kSeed = 4200;
constexpr int kInputsPerKind = 1000;
constexpr int kMaxRandomLength = 300;
constexpr int kMaxMutations = 3;

// Pieces of XML that break or bend a document. '&' is left out of every
// input: with entities the reported text could hold characters that the
// input does not spell.
const QList<QByteArray> kPieces = {
    "<", ">", "</", "/>", "<options>", "</options>", "<SamplePoints>", "</SamplePoints>", "<Language>",
    "</Language>", "<a>", "</a>", "10", "EN", "x", " ", "\n", "\r\n", "\t", "<!--", "-->", "<?pi x?>",
    "<![CDATA[", "]]>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<!DOCTYPE options>", "=\"v\"",
    "\xc3\xa9", "\xe4\xb8\xad", "\xff",
};

const QByteArray kValidFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<options>\n"
                              "    <Geometry>01d9d0cb00030000</Geometry>\n"
                              "    <Language>OTHER</Language>\n"
                              "    <SamplePoints>1000</SamplePoints>\n"
                              "    <Infinite>1</Infinite>\n"
                              "    <SerialPortNum>ttyUSB0</SerialPortNum>\n"
                              "</options>\n";

char randomByte(QRandomGenerator &rng)
{
    const char c = char(rng.bounded(256));
    return c == '&' ? '?' : c;
}

QByteArray randomBytes(QRandomGenerator &rng)
{
    QByteArray bytes(rng.bounded(kMaxRandomLength), '\0');
    for (char &c : bytes)
        c = randomByte(rng);
    return bytes;
}

// A document built from random markup, mostly well formed: elements open
// and close in order, with texts, blanks, comments and CDATA between them,
// and now and then a stray piece that breaks it.
QByteArray randomDocument(QRandomGenerator &rng)
{
    static const QList<QByteArray> names = {"options", "SamplePoints", "Language", "a", "Geometry"};
    static const QList<QByteArray> texts = {"10", "EN", " x ", "\xc3\xa9", "\xe4\xb8\xad", "1 2", "\t"};
    QByteArray bytes = rng.bounded(2) ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" : "";
    QList<QByteArray> open;
    const int count = rng.bounded(40);
    for (int i = 0; i < count; ++i) {
        switch (rng.bounded(8)) {
        case 0:
        case 1:
            open.append(names.at(rng.bounded(names.size())));
            bytes += '<' + open.last() + '>';
            break;
        case 2:
            if (!open.isEmpty())
                bytes += "</" + open.takeLast() + '>';
            break;
        case 3:
        case 4: bytes += texts.at(rng.bounded(texts.size())); break;
        case 5: bytes += rng.bounded(2) ? "\n    " : "\r\n"; break;
        case 6: bytes += rng.bounded(2) ? "<!-- c -->" : "<![CDATA[" + texts.at(rng.bounded(texts.size())) + "]]>"; break;
        default:
            bytes += rng.bounded(4) ? '<' + names.at(rng.bounded(names.size())) + "/>"
                                    : kPieces.at(rng.bounded(kPieces.size()));
            break;
        }
    }
    while (!open.isEmpty())
        bytes += "</" + open.takeLast() + '>';
    return bytes;
}

QByteArray mutatedFile(QRandomGenerator &rng)
{
    QByteArray bytes = kValidFile;
    const int count = 1 + rng.bounded(kMaxMutations);
    for (int i = 0; i < count && !bytes.isEmpty(); ++i) {
        const int at = rng.bounded(bytes.size());
        switch (rng.bounded(6)) {
        case 0: bytes[at] = randomByte(rng); break;
        case 1: bytes.insert(at, randomByte(rng)); break;
        case 2: bytes.remove(at, 1 + rng.bounded(10)); break;
        case 3: bytes.truncate(at); break;
        case 4: bytes.insert(at, bytes.mid(rng.bounded(bytes.size()), rng.bounded(40))); break;
        default: bytes.insert(at, kPieces.at(rng.bounded(kPieces.size()))); break;
        }
    }
    return bytes;
}

// The input as the reader sees its text: line ends normalised and the CDATA
// markers gone, since a CDATA section's text belongs to the run around it.
QString spelledText(const QByteArray &input)
{
    const QString open = QStringLiteral("<![CDATA[");
    const QString close = QStringLiteral("]]>");
    QString text = QString::fromUtf8(input);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (int start = text.indexOf(open); start >= 0; start = text.indexOf(open, start)) {
        const int end = text.indexOf(close, start + open.size());
        if (end < 0)
            break;
        text.remove(end, close.size());
        text.remove(start, open.size());
        start = end - open.size();
    }
    return text;
}

// Only XML's own whitespace makes a text blank.
bool isBlank(const QString &text)
{
    static const QRegularExpression blank(QStringLiteral("^[ \\t\\r\\n]*$"));
    return blank.match(text).hasMatch();
}

} // namespace

class TestOptionsFileFuzz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readerReportsOnlyWhatTheInputHolds_data();
    void readerReportsOnlyWhatTheInputHolds();
};

void TestOptionsFileFuzz::initTestCase()
{
    // Every malformed input would log its parse error.
    QLoggingCategory::setFilterRules(QStringLiteral("luma.settings.debug=false"));
}

void TestOptionsFileFuzz::readerReportsOnlyWhatTheInputHolds_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("random bytes") << 0;
    QTest::newRow("random documents") << 1;
    QTest::newRow("mutations of a valid file") << 2;
}

void TestOptionsFileFuzz::readerReportsOnlyWhatTheInputHolds()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("options.xml"));
    const OptionsFile optionsFile(path);
    QRandomGenerator rng(kSeed + quint32(kind));
    int reports = 0;

    for (int round = 0; round < kInputsPerKind; ++round) {
        const QByteArray input = kind == 0 ? randomBytes(rng) : kind == 1 ? randomDocument(rng) : mutatedFile(rng);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(input);
        }
        const QString spelled = spelledText(input);
        QStringList faults;
        const bool opened = optionsFile.read([&](const QString &key, const QString &text) {
            ++reports;
            if (key.isEmpty() || key == QLatin1String("options") || !spelled.contains(QLatin1Char('<') + key))
                faults << QStringLiteral("key '%1'").arg(key);
            if (text.isEmpty() || isBlank(text) || !spelled.contains(text))
                faults << QStringLiteral("text '%1' of '%2'").arg(text, key);
        });
        QVERIFY(opened);
        if (!faults.isEmpty())
            QFAIL(qPrintable(QStringLiteral("round %1, input %2: %3")
                                 .arg(round)
                                 .arg(QString::fromLatin1(input.toPercentEncoding()), faults.join(QStringLiteral(", ")))));
    }
    // The inputs must reach the reporting at all for the check to mean anything.
    if (kind != 0)
        QVERIFY2(reports > kInputsPerKind / 10, qPrintable(QString::number(reports)));
}

QTEST_GUILESS_MAIN(TestOptionsFileFuzz)
#include "tst_optionsfilefuzz.moc"

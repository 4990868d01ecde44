#include "manualdocument.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

const QString kFigure = QStringLiteral(
    "<div class=\"figure\">\n<img src=\"images/%1.png\" width=\"400\"/>\n<p>Figure: %1</p>\n</div>");
} // namespace

class TestManualDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void leavesOutMissingPictures_data();
    void leavesOutMissingPictures();
    void rendersTheManual();
    void embedsPicturesThatExist();
    void failedRenderLeavesNoFile();

private:
    QTemporaryDir dir;
};

void TestManualDocument::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("images"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(dir.filePath("images/present.png")));
}

void TestManualDocument::leavesOutMissingPictures_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("kept");
    QTest::newRow("figure present") << "<p>a</p>" + kFigure.arg("present") + "<p>b</p>"
                                    << "<p>a</p>" + kFigure.arg("present") + "<p>b</p>";
    QTest::newRow("figure missing") << "<p>a</p>" + kFigure.arg("absent") + "<p>b</p>"
                                    << "<p>a</p><p>b</p>";
    QTest::newRow("one of two missing") << kFigure.arg("absent") + kFigure.arg("present")
                                        << kFigure.arg("present");
    QTest::newRow("loose picture missing") << "<p>x<img src=\"images/absent.png\"/>y</p>"
                                           << "<p>xy</p>";
    QTest::newRow("loose picture present") << "<p><img src=\"images/present.png\"></p>"
                                           << "<p><img src=\"images/present.png\"></p>";
    QTest::newRow("no pictures") << "<h1>Title</h1><div>plain</div>" << "<h1>Title</h1><div>plain</div>";
}

void TestManualDocument::leavesOutMissingPictures()
{
    QFETCH(QString, html);
    QFETCH(QString, kept);
    QCOMPARE(ManualDocument::withoutMissingImages(html, QDir(dir.path())), kept);
}

void TestManualDocument::rendersTheManual()
{
    const QString pdf = dir.filePath("Software User Manual.pdf");
    QString error;
    QVERIFY2(ManualDocument::render(MANUAL_SOURCE, pdf, &error), qPrintable(error));
    const QString info = runTool("pdfinfo", {pdf});
    QVERIFY(info.contains("LUMA4200 Software User Manual"));
    QVERIFY(QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt() >= 4);
    const QString text = runTool("pdftotext", {pdf, "-"});
    for (const char *topic : {"Installation", "Connecting", "RS232", "front panel", "Recording",
                              "Charts", "Export", "options.xml", "luma4200-sim", "Troubleshooting"})
        QVERIFY2(text.contains(QLatin1String(topic), Qt::CaseInsensitive), topic);
    QVERIFY(!QFile::exists(pdf + ".part"));
}

void TestManualDocument::embedsPicturesThatExist()
{
    const QString source = dir.filePath("pictures.html");
    QFile html(source);
    QVERIFY(html.open(QIODevice::WriteOnly));
    html.write(("<h1>Pictures</h1>" + kFigure.arg("present") + kFigure.arg("absent")).toUtf8());
    html.close();
    const QString pdf = dir.filePath("pictures.pdf");
    QString error;
    QVERIFY2(ManualDocument::render(source, pdf, &error), qPrintable(error));
    // One line per picture of type "image" (masks are listed apart).
    const QString listed = runTool("pdfimages", {"-list", pdf});
    QCOMPARE(listed.count(QRegularExpression("(^|\\n)\\s*\\d+\\s+\\d+\\s+image\\s")), 1);
    const QString text = runTool("pdftotext", {pdf, "-"});
    QVERIFY(text.contains("Figure: present"));
    QVERIFY(!text.contains("Figure: absent"));
}

void TestManualDocument::failedRenderLeavesNoFile()
{
    QString error;
    QVERIFY(!ManualDocument::render(dir.filePath("missing.html"), dir.filePath("a.pdf"), &error));
    QVERIFY(error.contains("missing.html"));
    QVERIFY(!ManualDocument::render(MANUAL_SOURCE, dir.filePath("no/such/dir/b.pdf"), &error));
    QVERIFY(!QFile::exists(dir.filePath("a.pdf")));
    QVERIFY(!QDir(dir.filePath("no")).exists());
}

QTEST_MAIN(TestManualDocument)
#include "tst_manualdocument.moc"

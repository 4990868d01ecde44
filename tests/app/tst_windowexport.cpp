// The window's output commands: the workbook export, the chart image and the manual.

#include "windowfixture.h"
#include "modalanswerer.h"

#include "dmmchart.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// Stands in for the desktop: records what the window asks it to open.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    DesktopRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

namespace {
// Chooses the given file in the save dialog, then answers message boxes with the given button.
ModalAnswerer::Answer saveAs(const QString &fileName, QMessageBox::StandardButton answer)
{
    return [fileName, answer](QWidget *modal) {
        if (auto dialog = qobject_cast<QFileDialog *>(modal)) {
            // Typed as a user would; straight to the result, as the dialog's own
            // checks of the name are not ours to test.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileName);
            QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
        } else {
            ModalAnswerer::closeWith(answer)(modal);
        }
    };
}

QJsonObject readWorkbook(const QString &fileName)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(READ_WORKBOOK_SCRIPT), fileName});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0)
        return QJsonObject();
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}
} // namespace

class TestWindowExport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void exportWritesEveryRecordedRowAndOffersToOpen();
    void exportThatCannotBeWrittenSaysSo();
    void cancelledExportDoesNothing();
    void chartImageIsTheChartOfTheCurrentTabs();
    void neverPaintedChartWritesNothing();
    void manualOpensBesideTheExecutable();

private:
    QTemporaryDir dir;
};

void TestWindowExport::init()
{
    QVERIFY(dir.isValid());
}

void TestWindowExport::exportWritesEveryRecordedRowAndOffersToOpen()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    for (int i = 0; i < 4; ++i)
        f.deliver(WindowFixture::reading(1.0 + i));
    DesktopRecorder desktop;
    const QString fileName = dir.filePath(QStringLiteral("records.xls"));
    {
        ModalAnswerer answerer(saveAs(fileName, QMessageBox::Yes));
        f.find<QAction>(QStringLiteral("actionExport"))->trigger();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral(
                                     "The datas is exported successfully.\r\nDo you want to open this file?")});
    }
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(fileName)});

    const QJsonObject workbook = readWorkbook(fileName);
    QCOMPARE(workbook.value("sheets").toArray().at(0).toString(), QStringLiteral("CH1"));
    const QJsonArray ch3 = workbook.value("content").toObject().value("CH3").toObject().value("rows").toArray();
    QCOMPARE(ch3.size(), 5); // header and four readings
    QCOMPARE(ch3.at(4).toArray().at(0).toObject().value("value").toInt(), 4);
    QCOMPARE(ch3.at(4).toArray().at(2).toObject().value("value").toString(), QStringLiteral("6.00"));
    QCOMPARE(ch3.at(4).toArray().at(3).toObject().value("value").toString(), QStringLiteral("-"));
    // The records stay in the tables.
    QCOMPARE(f.find<QTableView>(QStringLiteral("tableViewCH1"))->model()->rowCount(), 4);
}

void TestWindowExport::exportThatCannotBeWrittenSaysSo()
{
    WindowFixture f;
    const QString fileName = dir.filePath(QStringLiteral("missing/records.xls"));
    DesktopRecorder desktop;
    ModalAnswerer answerer(saveAs(fileName, QMessageBox::Ok));
    f.find<QAction>(QStringLiteral("actionExport"))->trigger();
    QCOMPARE(answerer.texts.value(answerer.texts.size() - 1), QStringLiteral("The datas is exported failed."));
    QVERIFY(!QFile::exists(fileName));
    QVERIFY(desktop.opened.isEmpty());
}

void TestWindowExport::cancelledExportDoesNothing()
{
    WindowFixture f;
    ModalAnswerer answerer;
    f.find<QAction>(QStringLiteral("actionExport"))->trigger();
    QCOMPARE(answerer.modalCount, 1);
    QVERIFY(answerer.texts.isEmpty());
}

void TestWindowExport::chartImageIsTheChartOfTheCurrentTabs()
{
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    // Channel 2's current chart is painted once, then its page goes back to the record table.
    f.find<QTabWidget>(QStringLiteral("tabWidgetCHs"))->setCurrentIndex(1);
    f.find<QTabWidget>(QStringLiteral("tabWidgetCH2"))->setCurrentIndex(1);
    f.find<QTabWidget>(QStringLiteral("tabWidgetCH2Charts"))->setCurrentIndex(1);
    auto chart = f.find<DMMChart>(QStringLiteral("chartCH2Current"));
    QTRY_VERIFY(!chart->layer(DMMChart::Layer::Final).isNull());
    f.find<QTabWidget>(QStringLiteral("tabWidgetCH2"))->setCurrentIndex(0);

    DesktopRecorder desktop;
    // Typed without a suffix: saved as a JPEG file named with ".jpg".
    const QString fileName = dir.filePath(QStringLiteral("chart.jpg"));
    ModalAnswerer answerer(saveAs(dir.filePath(QStringLiteral("chart")), QMessageBox::Yes));
    f.find<QAction>(QStringLiteral("actionSaveImage"))->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral(
                                 "The chart is exported successfully.\r\nDo you want to open this file?")});
    QImageReader image(fileName);
    QCOMPARE(image.format(), QByteArray("jpeg"));
    QCOMPARE(image.size(), chart->size());
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(fileName)});
}

void TestWindowExport::neverPaintedChartWritesNothing()
{
    WindowFixture f;
    f.find<QTabWidget>(QStringLiteral("tabWidgetCHs"))->setCurrentIndex(2);
    const QString fileName = dir.filePath(QStringLiteral("never.jpg"));
    ModalAnswerer answerer(saveAs(fileName, QMessageBox::Yes));
    f.find<QAction>(QStringLiteral("actionSaveImage"))->trigger();
    QCOMPARE(answerer.modalCount, 1); // the file dialog only: no question
    QVERIFY(!QFile::exists(fileName));
    const QString said = f.window->statusBar()->currentMessage();
    QVERIFY2(said.contains(QLatin1String("not saved")) && said.contains(fileName), qPrintable(said));
}

void TestWindowExport::manualOpensBesideTheExecutable()
{
    WindowFixture f;
    DesktopRecorder desktop;
    f.find<QAction>(QStringLiteral("actionManual"))->trigger();
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(QCoreApplication::applicationDirPath()
                                                              + QStringLiteral("/Software User Manual.pdf"))});
}

QTEST_MAIN(TestWindowExport)
#include "tst_windowexport.moc"

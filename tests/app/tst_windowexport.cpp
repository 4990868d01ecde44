// The window's output commands: the workbook export, the chart image and the manual.

#include "exportedfilereader.h"
#include "windowfixture.h"
#include "modalanswerer.h"

#include "dmmchart.h"
#include "localtimezone.h"
#include "recorder.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
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

using namespace ExportedFileReader;

namespace {
// Chooses the given file (and filter, if any) in the save dialog, then answers
// message boxes with the given button.
ModalAnswerer::Answer saveAs(const QString &fileName, QMessageBox::StandardButton answer,
                             const QString &filter = QString())
{
    return [fileName, answer, filter](QWidget *modal) {
        if (auto dialog = qobject_cast<QFileDialog *>(modal)) {
            if (!filter.isEmpty())
                dialog->selectNameFilter(filter);
            // Typed as a user would; straight to the result, as the dialog's own
            // checks of the name are not ours to test.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileName);
            QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
        } else {
            ModalAnswerer::closeWith(answer)(modal);
        }
    };
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

class TestWindowExport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void exportWritesEveryRecordedRowAndOffersToOpen();
    void exportThatCannotBeWrittenSaysSo();
    void exportNeverReplacesAFileTheUserMayNotWrite();
    void emptyValueCellsKeepTheTextFormat();
    void nameWithoutSuffixGetsTheChosenFiltersType();
    void longExportShowsProgressAndRecordingGoesOn();
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

void TestWindowExport::exportNeverReplacesAFileTheUserMayNotWrite()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.deliver(WindowFixture::reading());
    const QString fileName = dir.filePath(QStringLiteral("readonly.xls"));
    QFile old(fileName);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    ModalAnswerer answerer(saveAs(fileName, QMessageBox::Yes));
    f.find<QAction>(QStringLiteral("actionExport"))->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("The datas is exported failed.")});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("keep me"));
}

void TestWindowExport::emptyValueCellsKeepTheTextFormat()
{
    // A tracking mode the tables do not name leaves SER/PER empty.
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    QList<DmmData *> records = WindowFixture::reading();
    for (DmmData *record : records)
        static_cast<FakeRecord *>(record)->track = 0;
    f.deliver(records);
    const QString fileName = dir.filePath(QStringLiteral("blank.xls"));
    ModalAnswerer answerer(saveAs(fileName, QMessageBox::No));
    f.find<QAction>(QStringLiteral("actionExport"))->trigger();

    const QJsonArray row = sheetRows(readWorkbook(fileName), QStringLiteral("CH1")).at(1).toArray();
    QCOMPARE(row.at(5).toObject().value("type").toString(), QStringLiteral("empty"));
    QCOMPARE(row.at(5).toObject().value("format").toString(), QStringLiteral("@"));
}

void TestWindowExport::nameWithoutSuffixGetsTheChosenFiltersType()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.deliver(WindowFixture::reading(1.0));
    f.deliver(WindowFixture::reading(2.0));
    // The dialog asked about "records"; the program asks about the name it really writes.
    QFile old(dir.filePath(QStringLiteral("records.csv")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();
    DesktopRecorder desktop;
    QStringList filters;
    QString defaultFilter;
    ModalAnswerer answerer([&](QWidget *modal) {
        if (auto dialog = qobject_cast<QFileDialog *>(modal)) {
            filters = dialog->nameFilters();
            defaultFilter = dialog->selectedNameFilter();
        }
        saveAs(dir.filePath(QStringLiteral("records")), QMessageBox::Yes, QStringLiteral("CSV (*.csv)"))(modal);
    });
    f.find<QAction>(QStringLiteral("actionExport"))->trigger();
    QCOMPARE(filters, QStringList({"Excel Workbook (*.xlsx)", "Excel File(*.xls)", "CSV (*.csv)"}));
    QCOMPARE(defaultFilter, QStringLiteral("Excel Workbook (*.xlsx)"));
    QCOMPARE(answerer.texts.value(0), QStringLiteral("records.csv already exists.\nDo you want to replace it?"));
    const QString fileName = dir.filePath(QStringLiteral("records.csv"));
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(fileName)});

    // Read back with Python's csv module: a header, then the two readings,
    // all three channels side by side, numbers as numbers.
    const QJsonArray lines = readCsv(fileName);
    QCOMPARE(lines.size(), 3);
    const QJsonArray second = lines.at(2).toArray();
    QCOMPARE(second.at(0).toString(), QStringLiteral("2024-03-05T14:07:09.000"));
    QCOMPARE(second.at(1).toString(), QStringLiteral("2")); // channel 1, volts
    QCOMPARE(second.at(4).toString(), QStringLiteral("3")); // channel 2, volts
    QCOMPARE(second.at(7).toString(), QStringLiteral("4")); // channel 3, volts
    QCOMPARE(second.at(9).toString(), QString()); // channel 3 has no watts, as its table shows
}

void TestWindowExport::longExportShowsProgressAndRecordingGoesOn()
{
    // Enough rows for a workbook's export to outlast the progress dialog's delay.
    constexpr int kRows = 40000;
    // As the program does at its start: local times are converted without
    // looking at the zone file each time.
    LocalTimeZone::keepSystemZone();
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.control->preset(QStringLiteral("infinite"), true);
    auto recorder = f.window->findChild<Recorder *>();
    {
        // Straight to the recorder: the views need not follow every row.
        const QSignalBlocker quiet(recorder);
        for (int i = 0; i < kRows; ++i)
            recorder->record(WindowFixture::reading());
    }
    auto table = f.find<QTableView>(QStringLiteral("tableViewCH1"));
    PaintCounter paints;
    table->viewport()->installEventFilter(&paints);

    // The driver's timers keep running: readings arrive while the export runs.
    QString progressText;
    bool busyCursor = false;
    QTimer driverTimer;
    connect(&driverTimer, &QTimer::timeout, [&] {
        if (auto progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()))
            progressText = progress->labelText();
        busyCursor = busyCursor
                     || (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        f.deliver(WindowFixture::reading());
    });
    const QString fileName = dir.filePath(QStringLiteral("long.xlsx"));
    {
        // The driver's readings start with the export: those before it would be in the file.
        ModalAnswerer answerer([&](QWidget *modal) {
            if (qobject_cast<QFileDialog *>(modal))
                driverTimer.start(20);
            saveAs(fileName, QMessageBox::No)(modal);
        });
        const int paintsBefore = paints.count;
        f.find<QAction>(QStringLiteral("actionExport"))->trigger();
        driverTimer.stop();
        QCOMPARE(answerer.texts.value(0),
                 QStringLiteral("The datas is exported successfully.\r\nDo you want to open this file?"));
        QVERIFY(paints.count > paintsBefore);
    }
    QVERIFY2(progressText.contains(QStringLiteral("rows written")), qPrintable(progressText));
    QVERIFY(busyCursor);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(table->model()->rowCount() > kRows);
    QCOMPARE(sheetRowCount(fileName, QStringLiteral("CH1")), 1 + kRows);
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
    {
        ModalAnswerer answerer(saveAs(dir.filePath(QStringLiteral("chart")), QMessageBox::Yes));
        f.find<QAction>(QStringLiteral("actionSaveImage"))->trigger();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral(
                                     "The chart is exported successfully.\r\nDo you want to open this file?")});
    }
    QImageReader image(fileName);
    QCOMPARE(image.format(), QByteArray("jpeg"));
    QCOMPARE(image.size(), chart->size());
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(fileName)});

    // Typed so again: the dialog knew nothing of "chart.jpg", so the program
    // asks before replacing it, and No saves nothing.
    ModalAnswerer again(saveAs(dir.filePath(QStringLiteral("chart")), QMessageBox::No));
    f.find<QAction>(QStringLiteral("actionSaveImage"))->trigger();
    QCOMPARE(again.texts, QStringList{QStringLiteral("chart.jpg already exists.\nDo you want to replace it?")});
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

// The export of the three record tables, read back with independent readers:
// openpyxl for workbooks (readworkbook.py), Python's csv module for CSV files.

#include "exportedfilereader.h"
#include "columninfo.h"
#include "datamodel.h"
#include "fakerecord.h"
#include "filesizelimit.h"
#include "recordsexport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace ExportedFileReader;

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
const QStringList kTitles = {"No.", "Date/Time", "Voltage(V)", "Current(A)", "Power(W)", "SER/PER", "Flag"};
const QDateTime kStart(QDate(2024, 3, 5), QTime(14, 7, 9, 250));

QStringList filesIn(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class TestRecordsExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void writesOneSheetPerChannelInOrder();
    void writesHeaderNumbersDatesAndTexts();
    void emptyChannelKeepsOnlyItsHeader();
    void sizesColumnsToTheirContents();
    void writesCsvWithTheChannelsSideBySide();
    void readingsArrivingDuringTheExportAreLeftOut_data();
    void readingsArrivingDuringTheExportAreLeftOut();
    void unwritableTargetFailsAndLeavesEverythingAsItWas_data();
    void unwritableTargetFailsAndLeavesEverythingAsItWas();
    void fullDiskFailsAndLeavesTheOldFile_data();
    void fullDiskFailsAndLeavesTheOldFile();
    void replacesAWritableFileKeepingItsPermissions();
    void addsTheChosenFiltersSuffix();

private:
    bool exportTo(const QString &fileName, const RecordsExport::Progress &progress = [](int, int) {});

    QList<ColumnInfo *> columns;
    QList<DataModel *> models;
    QTemporaryDir dir;
};

void TestRecordsExport::initTestCase()
{
    QVERIFY(dir.isValid());
    for (const QString &title : kTitles)
        columns.append(new ColumnInfo{title, 2});
}

void TestRecordsExport::init()
{
    // Channel 1: two readings in series mode; channel 2: one in parallel mode,
    // constant current; channel 3: none.
    for (quint8 channel = 1; channel <= 3; ++channel)
        models.append(new DataModel(columns, channel));
    models[0]->append(FakeRecord::withTexts(kStart, "12.00", "1.500", "18.00", 3, 0));
    models[0]->append(FakeRecord::withTexts(kStart.addSecs(1), "12.01", "1.501", "18.03", 3, 0));
    models[1]->append(FakeRecord::withTexts(kStart, "05.00", "0.250", "01.25", 2, 1));
}

void TestRecordsExport::cleanup()
{
    qDeleteAll(models);
    models.clear();
}

void TestRecordsExport::cleanupTestCase()
{
    qDeleteAll(columns);
}

bool TestRecordsExport::exportTo(const QString &fileName, const RecordsExport::Progress &progress)
{
    return RecordsExport(models, columns).write(fileName, progress);
}

void TestRecordsExport::writesOneSheetPerChannelInOrder()
{
    const QString file = dir.filePath("order.xls");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readWorkbook(file);
    QCOMPARE(workbook.value("sheets").toArray(), QJsonArray({"CH1", "CH2", "CH3", "Sheet1"}));
    QVERIFY(sheetRows(workbook, "Sheet1").isEmpty());
}

void TestRecordsExport::writesHeaderNumbersDatesAndTexts()
{
    const QString file = dir.filePath("values.xlsx");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readWorkbook(file);

    struct Expected
    {
        QString sheet;
        QList<QStringList> rows; // texts; column A as a number, B as a date
    };
    const QList<Expected> expected = {
        {"CH1",
         {{"1", "2024-03-05 14:07:09", "12.00", "1.500", "18.00", "SER", "C.V"},
          {"2", "2024-03-05 14:07:10", "12.01", "1.501", "18.03", "SER", "C.V"}}},
        {"CH2", {{"1", "2024-03-05 14:07:09", "05.00", "0.250", "01.25", "PARA", "C.C"}}},
    };
    for (const Expected &sheet : expected) {
        const QJsonArray rows = sheetRows(workbook, sheet.sheet);
        QCOMPARE(rows.size(), sheet.rows.size() + 1);
        const QJsonArray header = rows.at(0).toArray();
        QCOMPARE(header.size(), kTitles.size());
        for (int c = 0; c < kTitles.size(); ++c) {
            const QJsonObject cell = header.at(c).toObject();
            QCOMPARE(cell.value("value").toString(), kTitles.at(c));
            QCOMPARE(cell.value("type").toString(), QString("text"));
            QCOMPARE(cell.value("format").toString(), QString("General"));
        }
        for (int r = 0; r < sheet.rows.size(); ++r) {
            const QJsonArray row = rows.at(r + 1).toArray();
            const QStringList &texts = sheet.rows.at(r);
            QCOMPARE(row.at(0).toObject().value("type").toString(), QString("number"));
            QCOMPARE(row.at(0).toObject().value("value").toDouble(), texts.at(0).toDouble());
            QCOMPARE(row.at(1).toObject().value("type").toString(), QString("datetime"));
            QCOMPARE(row.at(1).toObject().value("value").toString(), texts.at(1));
            QCOMPARE(row.at(1).toObject().value("format").toString(), kDateFormat);
            for (int c = 2; c < texts.size(); ++c) {
                const QJsonObject cell = row.at(c).toObject();
                QCOMPARE(cell.value("type").toString(), QString("text"));
                QCOMPARE(cell.value("value").toString(), texts.at(c));
                QCOMPARE(cell.value("format").toString(), QString("@"));
            }
        }
    }
}

void TestRecordsExport::emptyChannelKeepsOnlyItsHeader()
{
    // Channel 3 with a reading shows "-" for current, power and flag; an
    // empty channel 2 keeps only its header row.
    models[1]->clear();
    models[2]->append(FakeRecord::withTexts(kStart, "3.3", "0.000", "0.00"));
    const QString file = dir.filePath("empty.xlsx");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readWorkbook(file);

    const QJsonArray empty = sheetRows(workbook, "CH2");
    QCOMPARE(empty.size(), 1);
    for (int c = 0; c < kTitles.size(); ++c)
        QCOMPARE(empty.at(0).toArray().at(c).toObject().value("value").toString(), kTitles.at(c));

    const QJsonArray third = sheetRows(workbook, "CH3");
    QCOMPARE(third.size(), 2);
    QStringList shown;
    for (const QJsonValue &cell : third.at(1).toArray())
        shown.append(cell.toObject().value("value").toVariant().toString());
    QCOMPARE(shown, QStringList({"1", "2024-03-05 14:07:09", "3.3", "-", "-", "-", "-"}));
}

void TestRecordsExport::sizesColumnsToTheirContents()
{
    const QString file = dir.filePath("widths.xlsx");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readWorkbook(file);
    const QJsonObject widths = workbook.value("content").toObject().value("CH1").toObject().value("widths").toObject();
    QCOMPARE(widths.keys(), QStringList({"A", "B", "C", "D", "E", "F", "G"}));
    // "2024-03-05 14:07:09" is 19 characters, "Voltage(V)" 10, "No." 3.
    QVERIFY(widths.value("B").toDouble() >= 19);
    QVERIFY(widths.value("C").toDouble() >= 10);
    QVERIFY(widths.value("A").toDouble() < widths.value("C").toDouble());
    QVERIFY(widths.value("C").toDouble() < widths.value("B").toDouble());
}

void TestRecordsExport::writesCsvWithTheChannelsSideBySide()
{
    // One line per reading: all three tables hold the same readings.
    models[1]->append(FakeRecord::withTexts(kStart.addSecs(1), "05.01", "0.251", "01.26", 2, 1));
    models[2]->append(FakeRecord::withTexts(kStart, "3.3", "0.100", "0.33"));
    models[2]->append(FakeRecord::withTexts(kStart.addSecs(1), "5.0", "0.010", "0.05"));
    const QString file = dir.filePath("values.csv");
    QVERIFY(exportTo(file));

    const QJsonArray lines = readCsv(file);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0).toArray().at(0).toString(), QString("Time"));
    QCOMPARE(lines.at(0).toArray().size(), 13);
    const QJsonArray second = lines.at(2).toArray();
    QCOMPARE(second.at(0).toString(), QString("2024-03-05T14:07:10.250"));
    // Channel 3 has no current or power, as its table shows: those stay empty.
    const QStringList values = {"12.01", "1.501", "18.03", "5.01", "0.251", "1.26", "5", "", "", "3", "0", "0"};
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(second.at(i + 1).toString(), values.at(i));
}

void TestRecordsExport::readingsArrivingDuringTheExportAreLeftOut_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("workbook") << "xlsx";
    QTest::newRow("csv") << "csv";
}

void TestRecordsExport::readingsArrivingDuringTheExportAreLeftOut()
{
    // Readings keep coming while the progress report runs the event loop:
    // the file holds the rows there were when the export started.
    QFETCH(QString, suffix);
    for (int i = 0; i < 50; ++i) {
        for (DataModel *model : qAsConst(models))
            model->append(FakeRecord::withTexts(kStart.addSecs(10 + i), "01.00", "0.100", "00.10"));
    }
    const int before = models[2]->rowCount();
    int reports = 0;
    const QString file = dir.filePath("growing." + suffix);
    QVERIFY(exportTo(file, [&](int written, int total) {
        QVERIFY(written <= total);
        ++reports;
        for (DataModel *model : qAsConst(models))
            model->append(FakeRecord::withTexts(kStart.addSecs(100 + reports), "09.99", "0.999", "09.99"));
    }));
    QVERIFY(reports >= before);
    if (suffix == "csv") {
        QCOMPARE(readCsv(file).size(), 1 + before);
    } else {
        const QJsonObject workbook = readWorkbook(file);
        QCOMPARE(sheetRows(workbook, "CH1").size(), 1 + before + 2);
        QCOMPARE(sheetRows(workbook, "CH3").size(), 1 + before);
    }
}

void TestRecordsExport::unwritableTargetFailsAndLeavesEverythingAsItWas_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing directory") << "missing/out.xlsx";
    QTest::newRow("name of a directory") << "adirectory";
    QTest::newRow("read-only file") << "readonly.xlsx";
    QTest::newRow("read-only file, csv") << "readonly.csv";
    QTest::newRow("read-only directory") << "readonlydir/out.xlsx";
}

void TestRecordsExport::unwritableTargetFailsAndLeavesEverythingAsItWas()
{
    QFETCH(QString, relative);
    if (relative.startsWith("readonlydir") && geteuid() == 0)
        QSKIP("the superuser writes into read-only directories");
    QTemporaryDir target;
    QDir(target.path()).mkdir("adirectory");
    QDir(target.path()).mkdir("readonlydir");
    QFile::setPermissions(target.filePath("readonlydir"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const QString name : {"readonly.xlsx", "readonly.csv"}) {
        QFile old(target.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("keep me");
        old.close();
        old.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    const QStringList before = filesIn(target.path());

    QVERIFY(!exportTo(target.filePath(relative)));

    QCOMPARE(filesIn(target.path()), before);
    QVERIFY(QDir(target.filePath("adirectory")).isEmpty());
    QVERIFY(QDir(target.filePath("readonlydir")).isEmpty());
    for (const QString name : {"readonly.xlsx", "readonly.csv"}) {
        QFile old(target.filePath(name));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("keep me"));
    }
    QFile::setPermissions(target.filePath("readonlydir"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestRecordsExport::fullDiskFailsAndLeavesTheOldFile_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("workbook") << "xlsx";
    QTest::newRow("csv") << "csv";
}

void TestRecordsExport::fullDiskFailsAndLeavesTheOldFile()
{
    QFETCH(QString, suffix);
    for (int i = 0; i < 500; ++i) {
        for (DataModel *model : qAsConst(models))
            model->append(FakeRecord::withTexts(kStart.addSecs(10 + i), "01.00", "0.100", "00.10"));
    }
    QTemporaryDir target;
    const QString file = target.filePath("full." + suffix);
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    bool written = true;
    {
        const FileSizeLimit full(4096);
        written = exportTo(file);
    }
    QVERIFY(!written);
    QCOMPARE(filesIn(target.path()), QStringList("full." + suffix));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("keep me"));
}

void TestRecordsExport::replacesAWritableFileKeepingItsPermissions()
{
    const QString file = dir.filePath("again.xlsx");
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("not a workbook");
    old.close();
    const QFileDevice::Permissions shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                            | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    QVERIFY(old.setPermissions(shared));
    QVERIFY(exportTo(file));
    QCOMPARE(readWorkbook(file).value("sheets").toArray().size(), 4);
    // Owner, group and other: the current user's bits depend on who runs the test.
    constexpr QFileDevice::Permissions kModeBits(0x7077);
    QCOMPARE(QFile::permissions(file) & kModeBits, shared);
    QCOMPARE(QDir(dir.path()).entryList(QStringList("*again*"), QDir::Files | QDir::Hidden), QStringList("again.xlsx"));
    QVERIFY(!exportTo(QString()));
}

void TestRecordsExport::addsTheChosenFiltersSuffix()
{
    const QStringList filters = RecordsExport::fileFilters().split(";;");
    QCOMPARE(filters, QStringList({"Excel Workbook (*.xlsx)", "Excel File(*.xls)", "CSV (*.csv)"}));
    QCOMPARE(RecordsExport::withSuffix("/data/run", filters.at(0)), QString("/data/run.xlsx"));
    QCOMPARE(RecordsExport::withSuffix("/data/run", filters.at(1)), QString("/data/run.xls"));
    QCOMPARE(RecordsExport::withSuffix("/data/run", filters.at(2)), QString("/data/run.csv"));
    QCOMPARE(RecordsExport::withSuffix("/data/run", QString()), QString("/data/run.xlsx"));
    QCOMPARE(RecordsExport::withSuffix("/data/run.csv", filters.at(0)), QString("/data/run.csv"));
}

QTEST_MAIN(TestRecordsExport)
#include "tst_recordsexport.moc"

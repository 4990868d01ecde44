#include "automationlog.h"
#include "automationobject.h"
#include "columninfo.h"
#include "datamodel.h"
#include "recordsexport.h"
#include "fakerecord.h"
#include "sheetlayout.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
const QStringList kTitles = {"No.",      "Date/Time", "Voltage(V)", "Current(A)",
                             "Power(W)", "SER/PER",   "Flag"};
const QList<int> kFactors = {1, 3, 2, 2, 2, 2, 2};
const QDateTime kStart(QDate(2024, 3, 5), QTime(14, 7, 9));

struct Call
{
    QString object;
    QString operation;
    QString member;
    QVariantList arguments;
};

// Answers the next message box with its first button and keeps its texts.
struct MessageCatcher
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    bool seen = false;

    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = true;
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->done(QMessageBox::Ok);
        });
    }
};
} // namespace

class TestRecordsExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void laysOutRanges_data();
    void laysOutRanges();
    void keepsEveryCellInItsColumn();
    void writesOneSheetPerChannelInOrder();
    void writesHeaderNumbersDatesAndTexts();
    void emptyChannelKeepsOnlyItsHeader();
    void sizesColumnsToTheirContents();
    void callsFollowTheExportOrder();
    void savesWithNativeSeparatorsAndFormatCode();
    void unwritablePathReportsFailureAndLeavesNoFile_data();
    void unwritablePathReportsFailureAndLeavesNoFile();
    void replacesAnExistingFile();
    void missingApplicationShowsMessage();
    void unknownControlIsRefused();
    void refusesEmptyNameAndMissingModel();
    void narrowModelFailsWithoutCrashing();

private:
    QJsonObject readBack(const QString &fileName);
    QJsonArray sheetRows(const QJsonObject &workbook, const QString &sheet);
    bool exportTo(const QString &fileName);

    QList<ColumnInfo *> columns;
    QList<DataModel *> models;
    QTemporaryDir dir;
};

void TestRecordsExport::initTestCase()
{
    QVERIFY(dir.isValid());
    for (int i = 0; i < kTitles.size(); ++i)
        columns.append(new ColumnInfo{kTitles.at(i), kFactors.at(i)});
}

void TestRecordsExport::init()
{
    // Channel 1: two readings in series mode, channel 2: one in parallel
    // mode, constant current; channel 3: none.
    for (quint8 channel = 1; channel <= 3; ++channel)
        models.append(new DataModel(columns, channel));
    models[0]->append(FakeRecord::withTexts(kStart, "12.00", "1.500", "18.00", 3, 0));
    models[0]->append(FakeRecord::withTexts(kStart.addSecs(1), "12.01", "1.501", "18.03", 3, 0));
    models[1]->append(FakeRecord::withTexts(kStart, "05.00", "0.250", "01.25", 2, 1));
    AutomationLog::clear();
    AutomationLog::setEnabled(true);
}

void TestRecordsExport::cleanup()
{
    AutomationLog::setEnabled(false);
    AutomationObject::setApplicationAvailable(true);
    qDeleteAll(models);
    models.clear();
}

void TestRecordsExport::cleanupTestCase()
{
    qDeleteAll(columns);
}

bool TestRecordsExport::exportTo(const QString &fileName)
{
    QList<QAbstractItemModel *> plain;
    for (DataModel *model : qAsConst(models))
        plain.append(model);
    return RecordsExport::exportRecords(plain, columns, fileName, nullptr);
}

QJsonObject TestRecordsExport::readBack(const QString &fileName)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(READ_WORKBOOK_SCRIPT), fileName});
    if (!reader.waitForFinished(-1) || reader.exitCode() != 0) {
        qWarning() << reader.readAllStandardError();
        return QJsonObject();
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QJsonArray TestRecordsExport::sheetRows(const QJsonObject &workbook, const QString &sheet)
{
    return workbook.value("content").toObject().value(sheet).toObject().value("rows").toArray();
}

void TestRecordsExport::laysOutRanges_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("values");
    QTest::newRow("records") << 7 << 10 << "G" << "B2:B11" << "C2:G11" << "A2:G11";
    QTest::newRow("one record") << 7 << 1 << "G" << "B2:B2" << "C2:G2" << "A2:G2";
    QTest::newRow("no records") << 7 << 0 << "G" << "B2:B1" << "C2:G1" << "A2:G1";
    QTest::newRow("past the single letters") << 27 << 2 << "AA" << "B2:B3" << "C2:AA3" << "A2:AA3";
}

void TestRecordsExport::laysOutRanges()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QString, last);
    QFETCH(QString, dates);
    QFETCH(QString, texts);
    QFETCH(QString, values);
    QCOMPARE(SheetLayout::lastColumn(columns), last);
    QCOMPARE(SheetLayout::dateRange(rows), dates);
    QCOMPARE(SheetLayout::textRange(columns, rows), texts);
    QCOMPARE(SheetLayout::valueRange(columns, rows), values);
}

void TestRecordsExport::keepsEveryCellInItsColumn()
{
    // A cell without data keeps its place, so later values do not shift left.
    QStandardItemModel model(2, 3);
    model.setData(model.index(0, 0), 1);
    model.setData(model.index(0, 2), "c");
    model.setData(model.index(1, 1), "b");
    const QVariantList rows = SheetLayout::rows(model);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).toList(), QVariantList({1, QVariant(), "c"}));
    QCOMPARE(rows.at(1).toList(), QVariantList({QVariant(), "b", QVariant()}));
}

void TestRecordsExport::writesOneSheetPerChannelInOrder()
{
    const QString file = dir.filePath("order.xls");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readBack(file);
    QCOMPARE(workbook.value("sheets").toArray(),
             QJsonArray({"CH1", "CH2", "CH3", "Sheet1"}));
    // The sheet a new workbook starts with stays, without a single value.
    for (const QJsonValue &row : sheetRows(workbook, "Sheet1")) {
        for (const QJsonValue &cell : row.toArray())
            QCOMPARE(cell.toObject().value("type").toString(), QString("empty"));
    }
}

void TestRecordsExport::writesHeaderNumbersDatesAndTexts()
{
    const QString file = dir.filePath("values.xls");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readBack(file);

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
    // Channel 3 with a reading shows "-" for current, power, mode and flag;
    // an empty channel 2 keeps only its header row, unformatted.
    qDeleteAll(models);
    models.clear();
    for (quint8 channel = 1; channel <= 3; ++channel)
        models.append(new DataModel(columns, channel));
    models[0]->append(FakeRecord::withTexts(kStart, "03.30", "0.100", "00.33"));
    models[2]->append(FakeRecord::withTexts(kStart, "3.3", "0.000", "0.00"));
    const QString file = dir.filePath("empty.xls");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readBack(file);

    const QJsonArray empty = sheetRows(workbook, "CH2");
    QCOMPARE(empty.size(), 1);
    for (int c = 0; c < kTitles.size(); ++c) {
        QCOMPARE(empty.at(0).toArray().at(c).toObject().value("value").toString(), kTitles.at(c));
        QCOMPARE(empty.at(0).toArray().at(c).toObject().value("format").toString(), QString("General"));
    }

    const QJsonArray third = sheetRows(workbook, "CH3");
    QCOMPARE(third.size(), 2);
    QStringList shown;
    for (const QJsonValue &cell : third.at(1).toArray())
        shown.append(cell.toObject().value("value").toVariant().toString());
    QCOMPARE(shown, QStringList({"1", "2024-03-05 14:07:09", "3.3", "-", "-", "-", "-"}));
}

void TestRecordsExport::sizesColumnsToTheirContents()
{
    const QString file = dir.filePath("widths.xls");
    QVERIFY(exportTo(file));
    const QJsonObject workbook = readBack(file);
    const QJsonObject widths =
        workbook.value("content").toObject().value("CH1").toObject().value("widths").toObject();
    QCOMPARE(widths.keys(), QStringList({"A", "B", "C", "D", "E", "F", "G"}));
    // "2024-03-05 14:07:09" is 19 characters, "Voltage(V)" 10, "No." 3.
    QVERIFY(widths.value("B").toDouble() >= 19);
    QVERIFY(widths.value("C").toDouble() >= 10);
    QVERIFY(widths.value("A").toDouble() < widths.value("C").toDouble());
    QVERIFY(widths.value("C").toDouble() < widths.value("B").toDouble());
    const QJsonObject untouched =
        workbook.value("content").toObject().value("Sheet1").toObject().value("widths").toObject();
    QVERIFY(untouched.isEmpty());
}

void TestRecordsExport::callsFollowTheExportOrder()
{
    // One channel with two records keeps the sequence short enough to spell out.
    qDeleteAll(models.mid(1));
    models = models.mid(0, 1);
    const QString file = dir.filePath("calls.xls");
    QVERIFY(exportTo(file));

    const QString app = "Excel.Application";
    const QString book = app + ".ActiveWorkBook";
    const QString sheets = book + ".Sheets";
    const QString sheet = sheets + ".Item(1)";
    QList<Call> expected = {
        {"", "setControl", app, {}},
        {app, "dynamicCall", "SetVisible(bool)", {false}},
        {app, "setProperty", "DisplayAlerts", {false}},
        {app, "querySubObject", "Workbooks", {}},
        {app + ".Workbooks", "dynamicCall", "Add", {}},
        {app, "querySubObject", "ActiveWorkBook", {}},
        {book, "querySubObject", "Sheets", {}},
        {sheets, "dynamicCall", "Add", {}},
        {sheets, "querySubObject", "Item(int)", {1}},
        {sheet, "setProperty", "Name", {"CH1"}},
        {sheets, "querySubObject", "Item(int)", {1}},
    };
    for (int c = 1; c <= kTitles.size(); ++c) {
        expected.append({sheet, "querySubObject", "Cells(int,int)", {1, c}});
        expected.append({sheet + QString(".Cells(1,%1)").arg(c), "dynamicCall", "Value",
                         {kTitles.at(c - 1)}});
    }
    const QVariantList firstRow = {1, "2024-03-05 14:07:09", "12.00", "1.500", "18.00", "SER", "C.V"};
    const QVariantList secondRow = {2, "2024-03-05 14:07:10", "12.01", "1.501", "18.03", "SER", "C.V"};
    expected += QList<Call>{
        {sheet, "querySubObject", "Range(const QString&)", {"B2:B3"}},
        {sheet + ".Range(\"B2:B3\")", "dynamicCall", "SetNumberFormat(const QString&)", {kDateFormat}},
        {sheet, "querySubObject", "Range(const QString&)", {"C2:G3"}},
        {sheet + ".Range(\"C2:G3\")", "dynamicCall", "SetNumberFormat(const QString&)", {"@"}},
        {sheet, "querySubObject", "Range(const QString&)", {"A2:G3"}},
        {sheet + ".Range(\"A2:G3\")", "setProperty", "Value",
         {QVariant(QVariantList{QVariant(firstRow), QVariant(secondRow)})}},
        {sheet, "querySubObject", "UsedRange", {}},
        {sheet + ".UsedRange", "querySubObject", "Columns", {}},
        {sheet + ".UsedRange.Columns", "dynamicCall", "AutoFit", {}},
        {book, "dynamicCall", "SaveAs(const QString &,int,QString,QString,bool,bool)",
         {QDir::toNativeSeparators(file), -4143, QString(), QString(), false, false}},
        {book, "dynamicCall", "Close(Boolean)", {false}},
        {app, "dynamicCall", "Quit(void)", {}},
    };

    const QList<AutomationCall> calls = AutomationLog::calls();
    QCOMPARE(calls.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QString where = QString("call %1").arg(i);
        QVERIFY2(calls.at(i).object == expected.at(i).object, qPrintable(where + ": " + calls.at(i).object));
        QVERIFY2(calls.at(i).operation == expected.at(i).operation, qPrintable(where));
        QVERIFY2(calls.at(i).member == expected.at(i).member, qPrintable(where + ": " + calls.at(i).member));
        QVERIFY2(calls.at(i).arguments == expected.at(i).arguments, qPrintable(where));
    }
}

void TestRecordsExport::savesWithNativeSeparatorsAndFormatCode()
{
    const QString file = dir.filePath("sub/../native.xls");
    QVERIFY(QDir(dir.path()).mkpath("sub"));
    QVERIFY(exportTo(file));
    QList<AutomationCall> saves;
    for (const AutomationCall &call : AutomationLog::calls()) {
        if (call.member.startsWith("SaveAs"))
            saves.append(call);
    }
    QCOMPARE(saves.size(), 1);
    QCOMPARE(saves.first().arguments.size(), 6);
    QCOMPARE(saves.first().arguments.at(0).toString(), QDir::toNativeSeparators(file));
    QCOMPARE(saves.first().arguments.at(1).toInt(), -4143);
    // Written as an .xlsx workbook whatever the suffix: openpyxl reads it.
    QCOMPARE(readBack(dir.filePath("native.xls")).value("sheets").toArray().size(), 4);
}

void TestRecordsExport::unwritablePathReportsFailureAndLeavesNoFile_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("needsReadOnlyDirectory");
    QTest::newRow("missing directory") << "missing/out.xls" << false;
    QTest::newRow("name of a directory") << "adirectory" << false;
    QTest::newRow("read-only directory") << "readonly/out.xls" << true;
}

void TestRecordsExport::unwritablePathReportsFailureAndLeavesNoFile()
{
    QFETCH(QString, relative);
    QFETCH(bool, needsReadOnlyDirectory);
    if (needsReadOnlyDirectory && geteuid() == 0)
        QSKIP("the superuser writes into read-only directories");
    QTemporaryDir target;
    QDir(target.path()).mkdir("adirectory");
    QDir(target.path()).mkdir("readonly");
    QFile::setPermissions(target.filePath("readonly"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QStringList before = QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    QVERIFY(!exportTo(target.filePath(relative)));

    QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QVERIFY(QDir(target.filePath("adirectory")).isEmpty());
    QVERIFY(QDir(target.filePath("readonly")).isEmpty());
    QFile::setPermissions(target.filePath("readonly"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The program was still closed down: the failure came from SaveAs.
    const QList<AutomationCall> calls = AutomationLog::calls();
    QCOMPARE(calls.at(calls.size() - 2).member, QString("Close(Boolean)"));
    QCOMPARE(calls.last().member, QString("Quit(void)"));
}

void TestRecordsExport::replacesAnExistingFile()
{
    const QString file = dir.filePath("again.xls");
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("not a workbook");
    old.close();
    QVERIFY(exportTo(file));
    QCOMPARE(readBack(file).value("sheets").toArray().size(), 4);
    QCOMPARE(QDir(dir.path()).entryList(QStringList("*again*"), QDir::Files | QDir::Hidden),
             QStringList("again.xls"));
}

void TestRecordsExport::missingApplicationShowsMessage()
{
    AutomationObject::setApplicationAvailable(false);
    MessageCatcher catcher;
    catcher.arm();
    const QString file = dir.filePath("never.xls");
    QVERIFY(!exportTo(file));
    QVERIFY(catcher.seen);
    QCOMPARE(catcher.title, QString());
    QCOMPARE(catcher.text,
             QString("The datas is exported failed, your computer may not have installed excel."));
    QCOMPARE(catcher.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!QFile::exists(file));
    // Nothing is called after the failed start.
    QCOMPARE(AutomationLog::calls().size(), 1);
}

void TestRecordsExport::unknownControlIsRefused()
{
    AutomationObject object;
    QVERIFY(!object.setControl("Word.Application"));
    QVERIFY(object.control().isEmpty());
    QVERIFY(!object.dynamicCall("Quit(void)").isValid());
    QVERIFY(!object.querySubObject("Workbooks"));
    QVERIFY(object.setControl("Excel.Application"));
}

void TestRecordsExport::refusesEmptyNameAndMissingModel()
{
    QVERIFY(!exportTo(QString()));
    QVERIFY(!RecordsExport::exportRecords({models.first(), nullptr}, columns,
                                          dir.filePath("null.xls"), nullptr));
    QVERIFY(AutomationLog::calls().isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("null.xls")));
}

void TestRecordsExport::narrowModelFailsWithoutCrashing()
{
    // Two columns leave no room for the value columns from C on: the range
    // "C2:B3" is refused, and the export winds down and reports failure.
    QStandardItemModel narrow(2, 2);
    const QString file = dir.filePath("narrow.xls");
    QVERIFY(!RecordsExport::exportRecords({&narrow}, columns, file, nullptr));
    QVERIFY(!QFile::exists(file));
    const QList<AutomationCall> calls = AutomationLog::calls();
    QCOMPARE(calls.last().member, QString("Quit(void)"));
    for (const AutomationCall &call : calls)
        QVERIFY(!call.member.startsWith("SaveAs"));
}

QTEST_MAIN(TestRecordsExport)
#include "tst_recordsexport.moc"

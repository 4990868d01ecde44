#include "automationlog.h"
#include "automationobject.h"
#include "cellrange.h"
#include "membersignature.h"
#include "rangetarget.h"
#include "sheetdata.h"
#include "workbookdata.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The spreadsheet program behind "Excel.Application": what it accepts, what
// it refuses, and the workbook model it keeps until SaveAs.
class TestAutomationObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parsesCellRanges_data();
    void parsesCellRanges();
    void namesColumns_data();
    void namesColumns();
    void splitsMemberSignatures_data();
    void splitsMemberSignatures();

    void newSheetsGoInFrontWithFreshNames();
    void validatesSheetNames_data();
    void validatesSheetNames();
    void entersDatesOnlyUnderTheDateFormat_data();
    void entersDatesOnlyUnderTheDateFormat();
    void laterFormatsWin();
    void autoFitMeasuresShownTexts();
    void tableMustFitItsRange_data();
    void tableMustFitItsRange();

    void refusesWhatItDoesNotKnow_data();
    void refusesWhatItDoesNotKnow();
    void refusalsAreLogged();
    void propertiesGoToTheProgramNotTheObject();
    void subObjectsBelongToTheQueriedObject();
    void saveAsRefusesWhatItCannotWrite_data();
    void saveAsRefusesWhatItCannotWrite();
    void closedWorkbookAndQuitApplicationTakeNoCalls();
    void recordsOnlyWhileEnabled();

private:
    AutomationObject *startWorkbook(AutomationObject &excel);

    QTemporaryDir dir;
};

void TestAutomationObject::init()
{
    AutomationLog::clear();
    AutomationLog::setEnabled(true);
}

void TestAutomationObject::cleanup()
{
    AutomationLog::setEnabled(false);
}

AutomationObject *TestAutomationObject::startWorkbook(AutomationObject &excel)
{
    if (!excel.setControl("Excel.Application"))
        return nullptr;
    AutomationObject *workbooks = excel.querySubObject("Workbooks");
    if (!workbooks || !workbooks->dynamicCall("Add").toBool())
        return nullptr;
    return excel.querySubObject("ActiveWorkBook");
}

void TestAutomationObject::parsesCellRanges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("normal");
    QTest::newRow("cell") << "B2" << true << 1 << 1 << "B2:B2";
    QTest::newRow("table") << "A2:G11" << true << 10 << 7 << "A2:G11";
    QTest::newRow("lower case") << "c2:g3" << true << 2 << 5 << "C2:G3";
    QTest::newRow("no data rows") << "B2:B1" << true << 0 << 1 << "B2:B1";
    QTest::newRow("no data rows, wide") << "A2:G1" << true << 0 << 7 << "A2:G1";
    QTest::newRow("last cell of a sheet") << "XFD1048576" << true << 1 << 1 << "XFD1048576:XFD1048576";
    QTest::newRow("rows reversed") << "B5:B1" << false << 0 << 0 << "";
    QTest::newRow("columns reversed") << "C2:B3" << false << 0 << 0 << "";
    QTest::newRow("row zero") << "A0" << false << 0 << 0 << "";
    QTest::newRow("column past the sheet") << "XFE1" << false << 0 << 0 << "";
    QTest::newRow("row past the sheet") << "A1048577" << false << 0 << 0 << "";
    QTest::newRow("empty") << "" << false << 0 << 0 << "";
    QTest::newRow("three corners") << "A1:B2:C3" << false << 0 << 0 << "";
    QTest::newRow("absolute") << "$A$1" << false << 0 << 0 << "";
    QTest::newRow("not a letter") << "[2:[3" << false << 0 << 0 << "";
}

void TestAutomationObject::parsesCellRanges()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QString, normal);
    const CellRange range = CellRange::fromText(text);
    QCOMPARE(range.isValid(), valid);
    QCOMPARE(range.rowCount(), rows);
    QCOMPARE(range.columnCount(), columns);
    QCOMPARE(range.toText(), normal);
}

void TestAutomationObject::namesColumns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 1 << "A";
    QTest::newRow("seventh") << 7 << "G";
    QTest::newRow("last single letter") << 26 << "Z";
    QTest::newRow("first double letter") << 27 << "AA";
    QTest::newRow("AZ") << 52 << "AZ";
    QTest::newRow("last of a sheet") << 16384 << "XFD";
    QTest::newRow("none") << 0 << "";
    QTest::newRow("past the sheet") << 16385 << "";
}

void TestAutomationObject::namesColumns()
{
    QFETCH(int, column);
    QFETCH(QString, name);
    QCOMPARE(CellRange::columnName(column), name);
}

void TestAutomationObject::splitsMemberSignatures_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("parameters");
    QTest::newRow("six parameters") << "SaveAs(const QString &,int,QString,QString,bool,bool)"
                                    << true << "SaveAs" << 6;
    QTest::newRow("void") << "Quit(void)" << true << "Quit" << 0;
    QTest::newRow("empty list") << "AutoFit()" << true << "AutoFit" << 0;
    QTest::newRow("bare name") << "Add" << true << "Add" << int(MemberSignature::kUndeclared);
    QTest::newRow("two ints") << "Cells(int,int)" << true << "Cells" << 2;
    QTest::newRow("unclosed") << "Item(int" << false << "" << int(MemberSignature::kUndeclared);
    QTest::newRow("empty") << "" << false << "" << int(MemberSignature::kUndeclared);
    QTest::newRow("spaces inside the name") << "Save As" << false << ""
                                            << int(MemberSignature::kUndeclared);
}

void TestAutomationObject::splitsMemberSignatures()
{
    QFETCH(QString, member);
    QFETCH(bool, valid);
    QFETCH(QString, name);
    QFETCH(int, parameters);
    const MemberSignature signature(member);
    QCOMPARE(signature.isValid(), valid);
    QCOMPARE(signature.name(), name);
    QCOMPARE(signature.declaredParameters(), parameters);
}

void TestAutomationObject::newSheetsGoInFrontWithFreshNames()
{
    WorkbookData workbook;
    QCOMPARE(workbook.sheetCount(), 1);
    QCOMPARE(workbook.sheet(0)->name(), QString("Sheet1"));
    workbook.addSheet();
    workbook.addSheet();
    QStringList names;
    for (const auto &sheet : workbook.sheets())
        names.append(sheet->name());
    QCOMPARE(names, QStringList({"Sheet3", "Sheet2", "Sheet1"}));
    QVERIFY(!workbook.sheet(3));
    QVERIFY(!workbook.sheet(-1));
}

void TestAutomationObject::validatesSheetNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("channel") << "CH1" << true;
    QTest::newRow("31 characters") << QString(31, 'x') << true;
    QTest::newRow("32 characters") << QString(32, 'x') << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("bracket") << "a[1]" << false;
    QTest::newRow("leading apostrophe") << "'x" << false;
    QTest::newRow("taken, other case") << "ch9" << false;
    QTest::newRow("its own name") << "Sheet1" << true;
}

void TestAutomationObject::validatesSheetNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    WorkbookData workbook;
    QVERIFY(workbook.renameSheet(workbook.addSheet().get(), "CH9"));
    SheetData *first = workbook.sheet(1).get(); // "Sheet1"
    QCOMPARE(workbook.renameSheet(first, name), accepted);
    QCOMPARE(first->name(), accepted ? name : QString("Sheet1"));
}

void TestAutomationObject::entersDatesOnlyUnderTheDateFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("entered");
    QTest::addColumn<QVariant>("held");
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    QTest::newRow("date text under date format")
        << SheetData::kDateTimeFormat << QVariant("2024-03-05 14:07:09") << QVariant(when);
    QTest::newRow("date text as text") << "@" << QVariant("2024-03-05 14:07:09")
                                       << QVariant("2024-03-05 14:07:09");
    QTest::newRow("other text under date format")
        << SheetData::kDateTimeFormat << QVariant("soon") << QVariant("soon");
    QTest::newRow("year a sheet cannot hold")
        << SheetData::kDateTimeFormat << QVariant("1899-12-31 23:59:59")
        << QVariant("1899-12-31 23:59:59");
    QTest::newRow("integer becomes a number") << "" << QVariant(7) << QVariant(7.0);
    QTest::newRow("text stays text under text format") << "@" << QVariant("12.00")
                                                       << QVariant("12.00");
    QTest::newRow("nothing empties") << "" << QVariant() << QVariant();
}

void TestAutomationObject::entersDatesOnlyUnderTheDateFormat()
{
    QFETCH(QString, format);
    QFETCH(QVariant, entered);
    QFETCH(QVariant, held);
    SheetData sheet("CH1");
    sheet.setNumberFormat(CellRange::fromText("B2:B9"), format);
    QVERIFY(sheet.setValue(3, 2, "old"));
    QVERIFY(sheet.setValue(3, 2, entered));
    QCOMPARE(sheet.value(3, 2), held);
}

void TestAutomationObject::laterFormatsWin()
{
    SheetData sheet("CH1");
    sheet.setNumberFormat(CellRange::fromText("A1:C3"), "@");
    sheet.setNumberFormat(CellRange::fromText("B2:B3"), SheetData::kDateTimeFormat);
    sheet.setNumberFormat(CellRange::fromText("B2:B1"), "0.00"); // no cell
    QCOMPARE(sheet.numberFormat(1, 1), QString("@"));
    QCOMPARE(sheet.numberFormat(2, 2), SheetData::kDateTimeFormat);
    QCOMPARE(sheet.numberFormat(1, 2), QString("@"));
    QCOMPARE(sheet.numberFormat(4, 2), QString());
}

void TestAutomationObject::autoFitMeasuresShownTexts()
{
    SheetData sheet("CH1");
    sheet.setNumberFormat(CellRange::fromText("B2:B2"), SheetData::kDateTimeFormat);
    sheet.setValue(1, 1, "No.");
    sheet.setValue(2, 1, 12345);
    sheet.setValue(2, 2, "2024-03-05 14:07:09");
    sheet.setValue(1, 3, QString::fromUtf8("电压(V)")); // wide characters take two cells
    sheet.setValue(1, 4, "Not fitted");
    sheet.autoFit(1, 3);
    const QMap<int, double> widths = sheet.columnWidths();
    QCOMPARE(widths.keys(), QList<int>({1, 2, 3}));
    QCOMPARE(widths.value(1), 6.0); // "12345" and padding
    QCOMPARE(widths.value(2), 20.0);
    QCOMPARE(widths.value(3), 8.0);
    QCOMPARE(sheet.usedRange().toText(), QString("A1:D2"));
}

void TestAutomationObject::tableMustFitItsRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    const QVariant row = QVariant(QVariantList{1, "a"});
    QTest::newRow("fits") << "A2:B3" << QVariant(QVariantList{row, row}) << true;
    QTest::newRow("empty table, empty range") << "A2:B1" << QVariant(QVariantList()) << true;
    QTest::newRow("one row short") << "A2:B3" << QVariant(QVariantList{row}) << false;
    QTest::newRow("row too long") << "A2:A3" << QVariant(QVariantList{row, row}) << false;
    QTest::newRow("row not a list") << "A2:B3" << QVariant(QVariantList{row, 5}) << false;
    QTest::newRow("value that is no text")
        << "A2:A2" << QVariant(QVariantList{QVariant(QVariantList{QVariant::fromValue(QObjectList())})})
        << false;
    QTest::newRow("single value, single cell") << "A2" << QVariant(5) << true;
    QTest::newRow("single value, many cells") << "A2:B3" << QVariant(5) << false;
}

void TestAutomationObject::tableMustFitItsRange()
{
    QFETCH(QString, range);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    auto workbook = std::make_shared<WorkbookData>();
    const auto sheet = workbook->sheet(0);
    RangeTarget target(workbook, sheet, CellRange::fromText(range));
    QCOMPARE(target.write("Value", value), accepted);
    // A refused table enters nothing at all.
    if (!accepted)
        QVERIFY(sheet->usedCells().isEmpty());
}

void TestAutomationObject::refusesWhatItDoesNotKnow_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("unknown member") << "unknown member";
    QTest::newRow("showing the program") << "SetVisible(true)";
    QTest::newRow("declared count differs") << "Item(int) without argument";
    QTest::newRow("position zero") << "Item(0)";
    QTest::newRow("position past the sheets") << "Item(2)";
    QTest::newRow("position as text") << "Item(\"1\")";
    QTest::newRow("cell zero") << "Cells(0,1)";
    QTest::newRow("reversed range") << "Range(C2:B3)";
    QTest::newRow("range as number") << "Range(5)";
    QTest::newRow("value on many cells by call") << "Range(A1:B2).Value";
    QTest::newRow("unknown sub-object") << "Charts";
    QTest::newRow("saving on close") << "Close(true)";
    QTest::newRow("bad sheet name") << "Name";
}

void TestAutomationObject::refusesWhatItDoesNotKnow()
{
    QFETCH(QString, step);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused|has no sub-object"));
    AutomationObject excel;
    AutomationObject *workbook = startWorkbook(excel);
    QVERIFY(workbook);
    AutomationObject *sheets = workbook->querySubObject("Sheets");
    AutomationObject *sheet = sheets->querySubObject("Item(int)", 1);
    QVERIFY(sheet);
    if (step == "unknown member")
        QVERIFY(!excel.dynamicCall("Calculate").isValid());
    else if (step == "SetVisible(true)")
        QVERIFY(!excel.dynamicCall("SetVisible(bool)", true).isValid());
    else if (step == "Item(int) without argument")
        QVERIFY(!sheets->querySubObject("Item(int)"));
    else if (step == "Item(0)")
        QVERIFY(!sheets->querySubObject("Item(int)", 0));
    else if (step == "Item(2)")
        QVERIFY(!sheets->querySubObject("Item(int)", 2));
    else if (step == "Item(\"1\")")
        QVERIFY(!sheets->querySubObject("Item(int)", "1"));
    else if (step == "Cells(0,1)")
        QVERIFY(!sheet->querySubObject("Cells(int,int)", 0, 1));
    else if (step == "Range(C2:B3)")
        QVERIFY(!sheet->querySubObject("Range(const QString&)", "C2:B3"));
    else if (step == "Range(5)")
        QVERIFY(!sheet->querySubObject("Range(const QString&)", 5));
    else if (step == "Range(A1:B2).Value")
        QVERIFY(!sheet->querySubObject("Range(const QString&)", "A1:B2")->dynamicCall("Value", 1).isValid());
    else if (step == "Charts")
        QVERIFY(!workbook->querySubObject("Charts"));
    else if (step == "Close(true)")
        QVERIFY(!workbook->dynamicCall("Close(Boolean)", true).isValid());
    else if (step == "Name")
        sheet->setProperty("Name", "a/b");
}

void TestAutomationObject::refusalsAreLogged()
{
    AutomationObject excel;
    QVERIFY(excel.setControl("Excel.Application"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Excel\\.Application.*refused the call.*Calculate"));
    QVERIFY(!excel.dynamicCall("Calculate").isValid());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no automation server.*Word\\.Application"));
    QVERIFY(!excel.setControl("Word.Application"));
}

void TestAutomationObject::propertiesGoToTheProgramNotTheObject()
{
    AutomationObject excel;
    AutomationObject *workbook = startWorkbook(excel);
    AutomationObject *sheet = workbook->querySubObject("Sheets")->querySubObject("Item(int)", 1);
    sheet->setProperty("Name", "CH1");
    sheet->setProperty("Name", "CH1"); // the same value again still reaches the program
    QVERIFY(!sheet->property("Name").isValid());
    QVERIFY(sheet->dynamicPropertyNames().isEmpty());
    int names = 0;
    for (const AutomationCall &call : AutomationLog::calls())
        names += call.operation == "setProperty" && call.member == "Name" ? 1 : 0;
    QCOMPARE(names, 2);
}

void TestAutomationObject::subObjectsBelongToTheQueriedObject()
{
    AutomationObject excel;
    AutomationObject *workbook = startWorkbook(excel);
    AutomationObject *sheets = workbook->querySubObject("Sheets");
    QPointer<AutomationObject> sheet = sheets->querySubObject("Item(int)", 1);
    QPointer<AutomationObject> cell = sheet->querySubObject("Cells(int,int)", 1, 1);
    QCOMPARE(sheet->parent(), sheets);
    QCOMPARE(cell->parent(), sheet.data());
    QCOMPARE(cell->control(), QString("Excel.Application.ActiveWorkBook.Sheets.Item(1).Cells(1,1)"));
    delete sheets;
    QVERIFY(!sheet);
    QVERIFY(!cell);
}

void TestAutomationObject::saveAsRefusesWhatItCannotWrite_data()
{
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<bool>("saved");
    const QString file = dir.filePath("book.xlsx");
    QTest::newRow("as the export saves") << QVariantList{file, -4143, QString(), QString(), false, false} << true;
    QTest::newRow("name only") << QVariantList{file} << true;
    QTest::newRow("other format code") << QVariantList{file, 51} << false;
    QTest::newRow("password") << QVariantList{file, -4143, "secret"} << false;
    QTest::newRow("read-only recommended") << QVariantList{file, -4143, QString(), QString(), true} << false;
    QTest::newRow("backup copy") << QVariantList{file, -4143, QString(), QString(), false, true} << false;
    QTest::newRow("format as text") << QVariantList{file, "-4143"} << false;
}

void TestAutomationObject::saveAsRefusesWhatItCannotWrite()
{
    QFETCH(QVariantList, arguments);
    QFETCH(bool, saved);
    QFile::remove(dir.filePath("book.xlsx"));
    if (!saved)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused the call"));
    AutomationObject excel;
    AutomationObject *workbook = startWorkbook(excel);
    const QVariant result = arguments.size() == 1
        ? workbook->dynamicCall("SaveAs", arguments.at(0))
        : workbook->dynamicCall("SaveAs", arguments.value(0), arguments.value(1), arguments.value(2),
                                arguments.value(3), arguments.value(4), arguments.value(5));
    QCOMPARE(result.isValid(), saved);
    QCOMPARE(result.toBool(), saved);
    QCOMPARE(QFile::exists(dir.filePath("book.xlsx")), saved);
}

void TestAutomationObject::closedWorkbookAndQuitApplicationTakeNoCalls()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("has no sub-object.*Sheets"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused the call.*SaveAs"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("has no sub-object.*Cells"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("has no sub-object.*ActiveWorkBook"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("has no sub-object.*Workbooks"));
    AutomationObject excel;
    AutomationObject *workbook = startWorkbook(excel);
    AutomationObject *sheet = workbook->querySubObject("Sheets")->querySubObject("Item(int)", 1);
    QVERIFY(workbook->dynamicCall("Close(Boolean)", false).toBool());
    QVERIFY(!workbook->querySubObject("Sheets"));
    QVERIFY(!workbook->dynamicCall("SaveAs", dir.filePath("closed.xlsx")).isValid());
    QVERIFY(!QFile::exists(dir.filePath("closed.xlsx")));
    QVERIFY(!sheet->querySubObject("Cells(int,int)", 1, 1));
    QVERIFY(!excel.querySubObject("ActiveWorkBook"));
    QVERIFY(excel.dynamicCall("Quit(void)").toBool());
    QVERIFY(!excel.querySubObject("Workbooks"));
}

void TestAutomationObject::recordsOnlyWhileEnabled()
{
    AutomationLog::setEnabled(false);
    AutomationObject excel;
    excel.setControl("Excel.Application");
    QVERIFY(AutomationLog::calls().isEmpty());
    AutomationLog::setEnabled(true);
    excel.dynamicCall("SetVisible(bool)", false);
    QCOMPARE(AutomationLog::calls().size(), 1);
    QCOMPARE(AutomationLog::calls().first().object, QString("Excel.Application"));
    QCOMPARE(AutomationLog::calls().first().arguments, QVariantList({false}));
}

QTEST_GUILESS_MAIN(TestAutomationObject)
#include "tst_automationobject.moc"

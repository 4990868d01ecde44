#include "columninfo.h"
#include "tableprinter.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QList<int> kRecordFactors = {1, 3, 2, 2, 2, 2, 2};
const QStringList kTitles = {"No.", "Date/Time", "Voltage(V)", "Current(A)", "Power(W)", "SER/PER", "Flag"};

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString &file)
{
    const QRegularExpression pages("Pages:\\s+(\\d+)");
    return pages.match(runTool("pdfinfo", {file})).captured(1).toInt();
}
} // namespace

class TestTablePrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void sharesWidthByFactors_data();
    void sharesWidthByFactors();
    void fitsRowsUnderTheFixedLines_data();
    void fitsRowsUnderTheFixedLines();
    void countsPages_data();
    void countsPages();
    void writesCellTexts_data();
    void writesCellTexts();

    void pageCountFollowsRowsPerPage_data();
    void pageCountFollowsRowsPerPage();
    void printsEveryRowExactlyOnce();
    void emptyModelPrintsNothing();
    void pageTooLowForOneRowPrintsNothing();
    void columnsWithoutWidthPrintNothing();

private:
    int rowsPerPageOf(QPrinter &printer);
    void setUpPrinter(QPrinter &printer, const QString &file);
    QStandardItemModel *recordModel(int rows);

    QList<ColumnInfo *> columns;
    QTemporaryDir dir;
};

void TestTablePrinter::initTestCase()
{
    QVERIFY(dir.isValid());
    for (int i = 0; i < kTitles.size(); ++i)
        columns.append(new ColumnInfo{kTitles.at(i), kRecordFactors.at(i)});
}

void TestTablePrinter::cleanupTestCase()
{
    qDeleteAll(columns);
}

void TestTablePrinter::setUpPrinter(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

// The same page arithmetic, worked out here from the printer itself.
int TestTablePrinter::rowsPerPageOf(QPrinter &printer)
{
    QFont font;
    font.setFamily("SimSun");
    const int line = QFontMetrics(font, &printer).height();
    const int height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    return (height - 6 * line) / line;
}

QStandardItemModel *TestTablePrinter::recordModel(int rows)
{
    auto *model = new QStandardItemModel(rows, kTitles.size(), this);
    model->setHorizontalHeaderLabels(kTitles);
    for (int r = 0; r < rows; ++r) {
        model->setData(model->index(r, 0), r + 1);
        model->setData(model->index(r, 1), QString("ROW%1").arg(r + 1, 4, 10, QChar('0')));
        for (int c = 2; c < kTitles.size(); ++c)
            model->setData(model->index(r, c), "x");
    }
    return model;
}

void TestTablePrinter::sharesWidthByFactors_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("factors");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("widths");
    QTest::newRow("record columns, exact") << 1400 << kRecordFactors << 7
                                           << QVector<int>{100, 300, 200, 200, 200, 200, 200};
    QTest::newRow("record columns, truncated") << 1000 << kRecordFactors << 7
                                               << QVector<int>{71, 214, 142, 142, 142, 142, 142};
    QTest::newRow("first columns only") << 400 << kRecordFactors << 2 << QVector<int>{100, 300};
    QTest::newRow("zero factor keeps its place") << 300 << QList<int>{0, 1, 2} << 3
                                                 << QVector<int>{0, 100, 200};
    QTest::newRow("factors add up to nothing") << 1000 << QList<int>{0, 0} << 2 << QVector<int>{};
    QTest::newRow("negative factor") << 1000 << QList<int>{3, -1} << 2 << QVector<int>{};
    QTest::newRow("fewer descriptors than columns") << 1000 << QList<int>{1, 1} << 3 << QVector<int>{};
    QTest::newRow("no room") << 0 << kRecordFactors << 7 << QVector<int>{};
    QTest::newRow("no columns") << 1000 << kRecordFactors << 0 << QVector<int>{};
}

void TestTablePrinter::sharesWidthByFactors()
{
    QFETCH(int, width);
    QFETCH(QList<int>, factors);
    QFETCH(int, count);
    QFETCH(QVector<int>, widths);
    QList<ColumnInfo> infos;
    for (int factor : factors)
        infos.append(ColumnInfo{QString(), factor});
    QList<ColumnInfo *> pointers;
    for (ColumnInfo &info : infos)
        pointers.append(&info);
    QCOMPARE(TablePrinter::columnWidths(width, pointers, count), widths);
}

void TestTablePrinter::fitsRowsUnderTheFixedLines_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("rows");
    QTest::newRow("page of 70 lines") << 700 << 10 << 64;
    QTest::newRow("partial line dropped") << 709 << 10 << 64;
    QTest::newRow("exactly one row") << 70 << 10 << 1;
    QTest::newRow("just too low") << 69 << 10 << 0;
    QTest::newRow("only the fixed lines") << 60 << 10 << 0;
    QTest::newRow("lower than the fixed lines") << 30 << 10 << 0;
    QTest::newRow("no line height") << 700 << 0 << 0;
}

void TestTablePrinter::fitsRowsUnderTheFixedLines()
{
    QFETCH(int, height);
    QFETCH(int, line);
    QFETCH(int, rows);
    QCOMPARE(TablePrinter::rowsPerPage(height, line), rows);
}

void TestTablePrinter::countsPages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("pages");
    QTest::newRow("no rows") << 0 << 10 << 0;
    QTest::newRow("one row") << 1 << 10 << 1;
    QTest::newRow("full page") << 10 << 10 << 1;
    QTest::newRow("one more") << 11 << 10 << 2;
    QTest::newRow("three full pages") << 30 << 10 << 3;
    QTest::newRow("no row fits") << 5 << 0 << 0;
}

void TestTablePrinter::countsPages()
{
    QFETCH(int, rows);
    QFETCH(int, perPage);
    QFETCH(int, pages);
    QCOMPARE(TablePrinter::pageCount(rows, perPage), pages);
}

void TestTablePrinter::writesCellTexts_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("int") << QVariant(42) << "42";
    QTest::newRow("negative int") << QVariant(-7) << "-7";
    QTest::newRow("uint") << QVariant(7u) << "7";
    QTest::newRow("long long") << QVariant(qlonglong(123)) << "123";
    QTest::newRow("double as whole number") << QVariant(2.4) << "2";
    QTest::newRow("double rounded as QVariant does") << QVariant(2.5) << "3";
    QTest::newRow("char as its code") << QVariant(QChar('A')) << "65";
    QTest::newRow("text") << QVariant("12.00") << "12.00";
    QTest::newRow("date and time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)))
                                   << "2024-03-05 14:07:09";
    QTest::newRow("bool") << QVariant(true) << "true";
    QTest::newRow("nothing") << QVariant() << "";
}

void TestTablePrinter::writesCellTexts()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(TablePrinter::cellText(value), text);
}

void TestTablePrinter::pageCountFollowsRowsPerPage_data()
{
    QTest::addColumn<int>("extraRows");
    QTest::addColumn<int>("pages");
    QTest::newRow("R = P") << 0 << 1;
    QTest::newRow("R = P + 1") << 1 << 2;
}

void TestTablePrinter::pageCountFollowsRowsPerPage()
{
    QFETCH(int, extraRows);
    QFETCH(int, pages);
    const QString file = dir.filePath(QString("pages%1.pdf").arg(extraRows));
    QPrinter printer;
    setUpPrinter(printer, file);
    const int perPage = rowsPerPageOf(printer);
    QVERIFY(perPage > 1);
    TablePrinter table(recordModel(perPage + extraRows), "Channel 1", columns);
    table.slotPaintRequested(&printer);
    QCOMPARE(pdfPages(file), pages);
    const QString text = runTool("pdftotext", {"-layout", file, "-"});
    QVERIFY(text.contains(QString("1/%1").arg(pages)));
    QVERIFY(text.contains(QString("%1/%1").arg(pages)));
    QCOMPARE(text.count("Channel 1"), pages);
    QCOMPARE(text.count("Date/Time"), pages);
}

void TestTablePrinter::printsEveryRowExactlyOnce()
{
    const QString file = dir.filePath("rows.pdf");
    QPrinter printer;
    setUpPrinter(printer, file);
    const int perPage = rowsPerPageOf(printer);
    const int rows = 2 * perPage + 3;
    TablePrinter table(recordModel(rows), "Channel 2", columns);
    table.slotPaintRequested(&printer);
    QCOMPARE(pdfPages(file), 3);
    const QString text = runTool("pdftotext", {"-layout", file, "-"});
    for (int r = 1; r <= rows; ++r) {
        const QString label = QString("ROW%1").arg(r, 4, 10, QChar('0'));
        QVERIFY2(text.count(label) == 1, qPrintable(label));
    }
    QVERIFY(!text.contains(QString("ROW%1").arg(rows + 1, 4, 10, QChar('0'))));
}

void TestTablePrinter::emptyModelPrintsNothing()
{
    const QString file = dir.filePath("empty.pdf");
    QPrinter printer;
    setUpPrinter(printer, file);
    TablePrinter table(recordModel(0), "Channel 3", columns);
    table.slotPaintRequested(&printer);
    QVERIFY(!QFile::exists(file));
}

void TestTablePrinter::pageTooLowForOneRowPrintsNothing()
{
    const QString file = dir.filePath("low.pdf");
    QPrinter printer;
    setUpPrinter(printer, file);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(210, 20), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                      QPageLayout::Millimeter));
    QVERIFY(rowsPerPageOf(printer) < 1);
    TablePrinter table(recordModel(3), "Channel 1", columns);
    table.slotPaintRequested(&printer);
    QVERIFY(!QFile::exists(file));
}

void TestTablePrinter::columnsWithoutWidthPrintNothing()
{
    const QString file = dir.filePath("nowidth.pdf");
    QPrinter printer;
    setUpPrinter(printer, file);
    ColumnInfo none{"none", 0};
    QList<ColumnInfo *> noWidth;
    for (int i = 0; i < kTitles.size(); ++i)
        noWidth.append(&none);
    TablePrinter table(recordModel(3), "Channel 1", noWidth);
    table.slotPaintRequested(&printer);
    TablePrinter shortList(recordModel(3), "Channel 1", columns.mid(0, 2));
    shortList.slotPaintRequested(&printer);
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TestTablePrinter)
#include "tst_tableprinter.moc"

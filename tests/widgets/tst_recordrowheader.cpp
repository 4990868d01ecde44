// A record table with the row header that places appended rows itself must
// look and scroll exactly like a stock table over the same records, shown or
// hidden while the rows arrive, scrolled back by the user, after a row resize.

#include "columninfo.h"
#include "datamodel.h"
#include "fakerecord.h"
#include "recordrowheader.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

namespace {

constexpr int kTableWidth = 640;
constexpr int kTableHeight = 300;

struct Tables
{
    Tables(DataModel *model, bool shown)
    {
        RecordRowHeader::install(&records);
        for (QTableView *table : {&records, &stock}) {
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
            table->setModel(model);
            table->resize(kTableWidth, kTableHeight);
            if (shown)
                table->show();
        }
    }

    void scrollToBottom()
    {
        records.scrollToBottom();
        stock.scrollToBottom();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    QTableView records;
    QTableView stock;
};

void append(DataModel &model, int rows)
{
    for (int i = 0; i < rows; ++i) {
        const int number = model.rowCount() + 1;
        model.append(FakeRecord::withTexts(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)).addSecs(number),
                                           QString::number(number % 97 / 10.0, 'f', 2), QStringLiteral("0.500"),
                                           QStringLiteral("01.00")));
    }
}

QImage onScreen(QWidget &table)
{
    return table.screen()->grabWindow(table.winId()).toImage();
}

// Positions, scroll state and the picture, row header included.
void compare(Tables &tables)
{
    QHeaderView *header = tables.records.verticalHeader();
    QHeaderView *stockHeader = tables.stock.verticalHeader();
    QCOMPARE(header->count(), stockHeader->count());
    QCOMPARE(header->length(), stockHeader->length());
    QCOMPARE(header->sizeHint(), stockHeader->sizeHint());
    for (int row = 0; row < header->count(); ++row)
        QCOMPARE(header->sectionPosition(row), stockHeader->sectionPosition(row));
    QCOMPARE(tables.records.verticalScrollBar()->maximum(), tables.stock.verticalScrollBar()->maximum());
    QCOMPARE(tables.records.verticalScrollBar()->value(), tables.stock.verticalScrollBar()->value());
    // What is on screen, not a fresh rendering: rows must have been repainted.
    QCOMPARE(onScreen(tables.records), onScreen(tables.stock));
}

} // namespace

class TestRecordRowHeader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void followsTheNewestRowLikeAStockTable_data();
    void followsTheNewestRowLikeAStockTable();

private:
    QList<ColumnInfo *> columns;
};

void TestRecordRowHeader::init()
{
    for (const char *title : {"No.", "Date/Time", "Voltage(V)", "Current(A)", "Power(W)", "SER/PER", "Flag"})
        columns << new ColumnInfo{QString::fromLatin1(title), 2};
}

void TestRecordRowHeader::cleanup()
{
    qDeleteAll(columns);
    columns.clear();
}

void TestRecordRowHeader::followsTheNewestRowLikeAStockTable_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown while the rows arrive") << true;
    QTest::newRow("hidden while the rows arrive") << false;
}

void TestRecordRowHeader::followsTheNewestRowLikeAStockTable()
{
    QFETCH(bool, shown);
    DataModel model(columns, 1);
    Tables tables(&model, shown);
    Tables::settle();
    compare(tables);

    // One reading at a time, as recording appends them, each followed by a
    // scroll to the newest row.
    for (int reading = 0; reading < 40; ++reading) {
        append(model, 1);
        tables.scrollToBottom();
        if (shown)
            QCOMPARE(onScreen(tables.records), onScreen(tables.stock));
    }
    for (QTableView *table : {&tables.records, &tables.stock})
        table->show();
    Tables::settle();
    compare(tables);

    // Scrolled back, the rows shown stay while more arrive.
    for (QTableView *table : {&tables.records, &tables.stock})
        table->verticalScrollBar()->setValue(10);
    append(model, 5);
    Tables::settle();
    QCOMPARE(tables.records.verticalScrollBar()->value(), 10);
    compare(tables);

    // After the user resized a row, further rows still line up.
    tables.records.verticalHeader()->resizeSection(25, 50);
    tables.stock.verticalHeader()->resizeSection(25, 50);
    tables.scrollToBottom();
    for (int reading = 0; reading < 30; ++reading) {
        append(model, 1);
        tables.scrollToBottom();
    }
    compare(tables);

    // A selected row is highlighted alike, header included; clearing empties both.
    tables.records.selectRow(60);
    tables.stock.selectRow(60);
    tables.scrollToBottom();
    compare(tables);
    model.clear();
    Tables::settle();
    compare(tables);
    append(model, 3);
    tables.scrollToBottom();
    compare(tables);
}

QTEST_MAIN(TestRecordRowHeader)
#include "tst_recordrowheader.moc"

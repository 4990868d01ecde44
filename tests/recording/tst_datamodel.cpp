#include "columninfo.h"
#include "datamodel.h"
#include "fakerecord.h"

#include <QSignalSpy>
#include <QtTest>

class TestDataModel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cellTexts_data();
    void cellTexts();
    void trackModeColumn_data();
    void trackModeColumn();
    void everyCellIsCentredAndOnlyTheHorizontalHeaderHasTitles();
    void numbersRestartFromOneAfterClear();
    void clearOnEmptyModelAnnouncesNothing();
    void recordsAreDeletedOnceByClearAndDestructor();
    void removeRowsTakesRowsOutWithoutDeleting();
    void cellsAreNotEditable();

private:
    QList<ColumnInfo *> columns;
};

namespace {
FakeRecord *makeRecord()
{
    auto record = new FakeRecord;
    record->voltsText = QStringLiteral("12.00");
    record->ampsText = QStringLiteral("0.500");
    record->wattsText = QStringLiteral("06.00");
    record->flag1 = 1; // channel 1 in constant current
    record->flag2 = 0;
    record->track = 3;
    return record;
}

QVariant cell(const DataModel &model, int row, int column, int role = Qt::DisplayRole)
{
    return model.data(model.index(row, column), role);
}
} // namespace

void TestDataModel::init()
{
    const char *titles[] = {"No.", "Date/Time", "Voltage(V)", "Current(A)", "Power(W)", "SER/PER", "Flag"};
    const int factors[] = {1, 3, 2, 2, 2, 2, 2};
    for (int i = 0; i < 7; ++i)
        columns << new ColumnInfo{QString::fromLatin1(titles[i]), factors[i]};
    FakeRecord::liveCount() = 0;
}

void TestDataModel::cleanup()
{
    qDeleteAll(columns);
    columns.clear();
    QCOMPARE(FakeRecord::liveCount(), 0);
}

void TestDataModel::cellTexts_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("channel 1 shows its own flag")
        << 1 << QStringList{"1", "2024-03-05 14:07:09", "12.00", "0.500", "06.00", "SER", "C.C"};
    QTest::newRow("channel 2 shows its own flag")
        << 2 << QStringList{"1", "2024-03-05 14:07:09", "12.00", "0.500", "06.00", "SER", "C.V"};
    QTest::newRow("channel 3 blanks current, power and flag")
        << 3 << QStringList{"1", "2024-03-05 14:07:09", "12.00", "-", "-", "SER", "-"};
}

void TestDataModel::cellTexts()
{
    QFETCH(int, channel);
    QFETCH(QStringList, texts);
    DataModel model(columns, quint8(channel));
    QCOMPARE(model.append(makeRecord()), 1);
    QCOMPARE(model.columnCount(), 7);
    for (int column = 0; column < texts.size(); ++column)
        QCOMPARE(cell(model, 0, column).toString(), texts.at(column));
    QCOMPARE(cell(model, 0, 0).type(), QVariant::Int);
    QVERIFY(!cell(model, 1, 0).isValid());
    QVERIFY(!cell(model, 0, 7).isValid());
}

void TestDataModel::trackModeColumn_data()
{
    QTest::addColumn<int>("track");
    QTest::addColumn<QVariant>("text");
    QTest::newRow("independent") << 1 << QVariant(QStringLiteral("-"));
    QTest::newRow("parallel") << 2 << QVariant(QStringLiteral("PARA"));
    QTest::newRow("series") << 3 << QVariant(QStringLiteral("SER"));
    QTest::newRow("zero is unknown") << 0 << QVariant();
    QTest::newRow("four is unknown") << 4 << QVariant();
}

void TestDataModel::trackModeColumn()
{
    QFETCH(int, track);
    QFETCH(QVariant, text);
    DataModel model(columns, 1);
    auto record = makeRecord();
    record->track = quint8(track);
    model.append(record);
    QCOMPARE(cell(model, 0, 5), text);
}

void TestDataModel::everyCellIsCentredAndOnlyTheHorizontalHeaderHasTitles()
{
    DataModel model(columns, 2);
    model.append(makeRecord());
    for (int column = 0; column < 7; ++column)
        QCOMPARE(cell(model, 0, column, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QVERIFY(!cell(model, 0, 2, Qt::ToolTipRole).isValid());
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date/Time"));
    QVERIFY(!model.headerData(7, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

void TestDataModel::numbersRestartFromOneAfterClear()
{
    DataModel model(columns, 1);
    for (int i = 0; i < 3; ++i)
        model.append(makeRecord());
    QCOMPARE(cell(model, 2, 0).toInt(), 3);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    model.append(makeRecord());
    QCOMPARE(cell(model, 0, 0).toInt(), 1);
}

void TestDataModel::clearOnEmptyModelAnnouncesNothing()
{
    DataModel model(columns, 1);
    QSignalSpy removing(&model, &QAbstractItemModel::rowsAboutToBeRemoved);
    model.clear();
    QCOMPARE(removing.count(), 0);
    model.append(makeRecord());
    model.append(makeRecord());
    model.clear();
    QCOMPARE(removing.count(), 1);
    QCOMPARE(removing.first().at(1).toInt(), 0);
    QCOMPARE(removing.first().at(2).toInt(), 1);
}

void TestDataModel::recordsAreDeletedOnceByClearAndDestructor()
{
    {
        DataModel model(columns, 1);
        model.append(makeRecord());
        model.append(makeRecord());
        QCOMPARE(FakeRecord::liveCount(), 2);
        model.clear();
        QCOMPARE(FakeRecord::liveCount(), 0);
        model.append(makeRecord());
    }
    QCOMPARE(FakeRecord::liveCount(), 0);
}

void TestDataModel::removeRowsTakesRowsOutWithoutDeleting()
{
    DataModel model(columns, 1);
    QList<FakeRecord *> records;
    for (int i = 0; i < 3; ++i) {
        records << makeRecord();
        records.last()->voltsText = QString::number(i);
        model.append(records.last());
    }
    QVERIFY(!model.removeRows(3, 1));
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(model.removeRows(1, 5)); // as far as the rows exist
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(cell(model, 0, 2).toString(), QStringLiteral("0"));
    QCOMPARE(FakeRecord::liveCount(), 3);
    delete records.at(1);
    delete records.at(2);
}

void TestDataModel::cellsAreNotEditable()
{
    DataModel model(columns, 1);
    model.append(makeRecord());
    const Qt::ItemFlags flags = model.flags(model.index(0, 2));
    QVERIFY(flags & Qt::ItemIsEnabled);
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(!(flags & Qt::ItemIsEditable));
}

QTEST_GUILESS_MAIN(TestDataModel)
#include "tst_datamodel.moc"

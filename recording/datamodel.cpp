#include "datamodel.h"

#include "columninfo.h"
#include "dmmdata.h"
#include "readingtable.h"
#include "readingtime.h"

namespace {
const QString kBlank = QStringLiteral("-");
} // namespace

DataModel::DataModel(QList<ColumnInfo *> columns, quint8 channel, QObject *parent)
    : DataModel(std::move(columns), channel, nullptr, parent)
{
    ownRows = std::make_unique<ReadingTable>();
    table = ownRows.get();
}

DataModel::DataModel(QList<ColumnInfo *> columns, quint8 channel, const ReadingTable *readings, QObject *parent)
    : QAbstractTableModel(parent), columns(std::move(columns)), channel(channel), table(readings)
{
}

DataModel::~DataModel()
{
    qDeleteAll(records);
}

int DataModel::rowCount(const QModelIndex &) const
{
    return rows;
}

int DataModel::columnCount(const QModelIndex &) const
{
    return columns.size();
}

QVariant DataModel::data(const QModelIndex &index, int role) const
{
    // The owner of a shown table may have emptied it before telling the model.
    if (!index.isValid() || index.row() >= rows || index.row() >= table->count()
        || index.column() >= columnCount())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole)
        return displayText(index.row(), index.column());
    return QVariant();
}

QString DataModel::valueText(int row, int quantity) const
{
    const int series = ReadingTable::series(channel, ReadingTable::Quantity(quantity));
    return series < 0 ? kBlank : table->text(row, series);
}

QVariant DataModel::displayText(int row, int column) const
{
    switch (column) {
    case 0:
        return row + 1;
    case 1:
        return ReadingTime::text(table->timeMs(row));
    case 2:
        return valueText(row, ReadingTable::Voltage);
    // Channel 3 has a voltage set point only: its current, power and flag are blank.
    case 3:
        return valueText(row, ReadingTable::Current);
    case 4:
        return valueText(row, ReadingTable::Power);
    case 5:
        switch (table->trackMode(row)) {
        case 1:
            return kBlank;
        case 2:
            return QStringLiteral("PARA");
        case 3:
            return QStringLiteral("SER");
        default:
            return QVariant();
        }
    case 6:
        if (channel != 1 && channel != 2)
            return kBlank;
        return table->constantCurrent(row, channel) ? QStringLiteral("C.C") : QStringLiteral("C.V");
    default:
        return QVariant();
    }
}

QVariant DataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < columns.size())
        return columns.at(section)->title;
    return QVariant();
}

bool DataModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (!ownRows || row < 0 || row > rows - 1 || count <= 0)
        return false;
    const int last = qMin(row + count, rows) - 1;
    beginRemoveRows(parent, row, last);
    records.erase(records.begin() + row, records.begin() + last + 1);
    // The table keeps no gaps: it is written again from the records that stay.
    ownRows->clear();
    for (const DmmData *record : qAsConst(records))
        ownRows->append(ReadingTable::fromRecords(*record, *record, *record));
    rows = records.size();
    endRemoveRows();
    return true;
}

Qt::ItemFlags DataModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index);
}

int DataModel::append(DmmData *record)
{
    if (!ownRows) {
        delete record;
        return rows;
    }
    beginInsertRows(QModelIndex(), rows, rows);
    // The record stands for every channel of its row; the model reads its own.
    ownRows->append(ReadingTable::fromRecords(*record, *record, *record));
    records.append(record);
    ++rows;
    endInsertRows();
    return rows;
}

void DataModel::clear()
{
    if (rows == 0)
        return;
    beginRemoveRows(QModelIndex(), 0, rows - 1);
    if (ownRows)
        ownRows->clear();
    qDeleteAll(records);
    records.clear();
    rows = 0;
    endRemoveRows();
}

void DataModel::showNewRows()
{
    const int total = table->count();
    if (total <= rows)
        return;
    beginInsertRows(QModelIndex(), rows, total - 1);
    rows = total;
    endInsertRows();
}

quint8 DataModel::channelNumber() const
{
    return channel;
}

const ReadingTable &DataModel::readings() const
{
    return *table;
}

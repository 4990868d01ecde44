#include "datamodel.h"

#include "columninfo.h"
#include "dmmdata.h"

namespace {
const QString kBlank = QStringLiteral("-");

QString flagText(quint8 flag)
{
    return flag != 0 ? QStringLiteral("C.C") : QStringLiteral("C.V");
}
} // namespace

DataModel::DataModel(QList<ColumnInfo *> columns, quint8 channel, QObject *parent)
    : QAbstractTableModel(parent), columns(std::move(columns)), channel(channel)
{
}

DataModel::~DataModel()
{
    qDeleteAll(records);
}

int DataModel::rowCount(const QModelIndex &) const
{
    return records.size();
}

int DataModel::columnCount(const QModelIndex &) const
{
    return columns.size();
}

QVariant DataModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole)
        return displayText(records.at(index.row()), index.row(), index.column());
    return QVariant();
}

QVariant DataModel::displayText(const DmmData *record, int row, int column) const
{
    // Channel 3 has a voltage set point only: its current, power and flag are blank.
    const bool voltageOnly = channel == 3;
    switch (column) {
    case 0:
        return row + 1;
    case 1:
        return record->dateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case 2:
        return record->voltageText();
    case 3:
        return voltageOnly ? kBlank : record->currentText();
    case 4:
        return voltageOnly ? kBlank : record->powerText();
    case 5:
        switch (record->trackMode()) {
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
        if (channel == 1)
            return flagText(record->ch1Flag());
        if (channel == 2)
            return flagText(record->ch2Flag());
        return kBlank;
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
    if (row < 0 || row > records.size() - 1 || count <= 0)
        return false;
    const int last = qMin(row + count, records.size()) - 1;
    beginRemoveRows(parent, row, last);
    records.erase(records.begin() + row, records.begin() + last + 1);
    endRemoveRows();
    return true;
}

Qt::ItemFlags DataModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index);
}

int DataModel::append(DmmData *record)
{
    const int row = records.size();
    beginInsertRows(QModelIndex(), row, row);
    records.append(record);
    endInsertRows();
    return records.size();
}

void DataModel::clear()
{
    if (records.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, records.size() - 1);
    qDeleteAll(records);
    records.clear();
    endRemoveRows();
}

const DmmData *DataModel::record(int row) const
{
    return row >= 0 && row < records.size() ? records.at(row) : nullptr;
}

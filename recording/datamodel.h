#ifndef DATAMODEL_H
#define DATAMODEL_H

#include <QAbstractTableModel>
#include <QList>

class DmmData;
struct ColumnInfo;

// The recorded readings of one channel, one row per reading in order of
// arrival. The model owns its records; the column descriptors belong to
// the main window.
class DataModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    DataModel(QList<ColumnInfo *> columns, quint8 channel, QObject *parent = nullptr);
    ~DataModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Takes the rows out without deleting their records; nothing calls it.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Takes ownership of the record; returns the new number of rows.
    int append(DmmData *record);
    // Deletes every record.
    void clear();
    // The record shown in the row; null outside the rows. It stays the
    // model's and lives until the next clear().
    const DmmData *record(int row) const;

private:
    QVariant displayText(const DmmData *record, int row, int column) const;

    QList<DmmData *> records;
    QList<ColumnInfo *> columns;
    quint8 channel;
};

#endif // DATAMODEL_H

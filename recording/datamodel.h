#ifndef DATAMODEL_H
#define DATAMODEL_H

#include <QAbstractTableModel>
#include <QList>

#include <memory>

class DmmData;
class ReadingTable;
struct ColumnInfo;

// The recorded readings of one channel, one row per reading in order of
// arrival, read from a ReadingTable. Either the model keeps its own rows,
// appended record by record (the model then owns the records until clear()),
// or it shows a channel of a table that its owner fills and empties (the
// recorder, a past session), announcing the owner's new rows when told to.
// The column descriptors belong to the caller.
class DataModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    DataModel(QList<ColumnInfo *> columns, quint8 channel, QObject *parent = nullptr);
    // readings is not owned and outlives the model.
    DataModel(QList<ColumnInfo *> columns, quint8 channel, const ReadingTable *readings,
              QObject *parent = nullptr);
    ~DataModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Takes rows of its own out without deleting their records; nothing calls it.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // A model with rows of its own takes ownership of the record and returns
    // the new number of rows. A model that shows another's table deletes
    // the record unread: its rows come from the table.
    int append(DmmData *record);
    // Removes every row; a model with rows of its own deletes its records.
    // The owner of a shown table empties the table first.
    void clear();
    // Shows the rows that the shown table holds beyond those announced.
    void showNewRows();

    quint8 channelNumber() const;
    // The table the rows are read from; row r of the model is row r of it.
    const ReadingTable &readings() const;

private:
    QVariant displayText(int row, int column) const;
    QString valueText(int row, int quantity) const;

    QList<ColumnInfo *> columns;
    quint8 channel;
    std::unique_ptr<ReadingTable> ownRows; // null while showing another's table
    QList<DmmData *> records;             // the records of the own rows, owned
    const ReadingTable *table;
    int rows = 0; // announced to the views
};

#endif // DATAMODEL_H

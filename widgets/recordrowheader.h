#ifndef RECORDROWHEADER_H
#define RECORDROWHEADER_H

#include <QHeaderView>

class QTableView;

// The vertical header of a table whose rows carry no labels and are only
// ever appended (and removed all at once), so that appending a row and
// scrolling to it cost the same with ten million rows as with ten. It
// looks and behaves like the table's own header.
//
// QHeaderView keeps the position of every row and, after any insertion,
// recomputes all of them the next time one is asked for; QTableView answers
// every new row with a relayout and a repaint of all it shows. This header
// places appended rows after the last one, computes its size hint once
// (all its sections are alike), and has a shown table lay out and paint
// only the rows that arrived.
class RecordRowHeader : public QHeaderView
{
    Q_OBJECT
public:
    // Replaces the table's vertical header; the table owns it.
    static RecordRowHeader *install(QTableView *table);

    void setModel(QAbstractItemModel *model) override;
    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;

private slots:
    void prepareInsertion(const QModelIndex &parent, int first, int last);
    void countChanged(int oldCount, int newCount);

private:
    explicit RecordRowHeader(QTableView *table);
    // Gives the sections first .. last, appended after positions that were
    // up to date, their positions.
    void placeAppended(int first, int last);

    QTableView *table;
    // About the rows being inserted: they go after the last one, and the
    // positions of the sections before them are up to date.
    bool appending = false;
    bool positionsKnown = false;
    mutable QSize hint;
    mutable bool hintHasSections = false;
};

#endif // RECORDROWHEADER_H

#include "recordrowheader.h"

#include <QTableView>
// The positions of the sections live in QHeaderView's private data; this
// file is built against the private headers of the Qt it links to.
#include <QtWidgets/private/qheaderview_p.h>

RecordRowHeader *RecordRowHeader::install(QTableView *table)
{
    auto header = new RecordRowHeader(table);
    table->setVerticalHeader(header);
    // A table answers a new row count with a delayed relayout and repaint of
    // everything; the header decides what a count change needs instead.
    disconnect(header, SIGNAL(sectionCountChanged(int,int)), table, SLOT(rowCountChanged(int,int)));
    connect(header, &QHeaderView::sectionCountChanged, header, &RecordRowHeader::countChanged);
    return header;
}

RecordRowHeader::RecordRowHeader(QTableView *table) : QHeaderView(Qt::Vertical, table), table(table)
{
    // As QTableView sets up its own vertical header.
    setSectionsClickable(true);
    setHighlightSections(true);
}

void RecordRowHeader::setModel(QAbstractItemModel *model)
{
    if (this->model())
        disconnect(this->model(), &QAbstractItemModel::rowsAboutToBeInserted, this, &RecordRowHeader::prepareInsertion);
    QHeaderView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &RecordRowHeader::prepareInsertion);
    hint = QSize();
}

QSize RecordRowHeader::sizeHint() const
{
    // The base class measures up to 200 sections after every change of the
    // count; every section here has the same (empty) contents.
    const bool hasSections = count() > 0;
    if (!hint.isValid() || hasSections != hintHasSections) {
        hint = QHeaderView::sizeHint();
        hintHasSections = hasSections;
    }
    return hint;
}

bool RecordRowHeader::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        hint = QSize();
    return QHeaderView::event(event);
}

void RecordRowHeader::prepareInsertion(const QModelIndex &parent, int first, int)
{
    const auto d = static_cast<const QHeaderViewPrivate *>(QObjectPrivate::get(this));
    appending = parent == rootIndex() && first == count();
    positionsKnown = !d->sectionStartposRecalc;
}

void RecordRowHeader::countChanged(int oldCount, int newCount)
{
    const bool appended = appending && newCount > oldCount;
    if (appended && positionsKnown)
        placeAppended(oldCount, newCount - 1);
    appending = false;

    // A hidden table keeps the table's own delayed relayout, which costs
    // little while nothing is painted and runs at the latest when the
    // pipeline scrolls it.
    if (!appended || !table->isVisible()) {
        QMetaObject::invokeMethod(table, "rowCountChanged", Q_ARG(int, oldCount), Q_ARG(int, newCount));
        return;
    }
    // The scroll range now, so that scrolling to the new rows reaches them;
    // then only the new rows are painted (if they are in view at all). With
    // per-item scrolling the new range may move the rows shown (a table at
    // its end shows the last row at the bottom edge, other positions a row
    // at the top edge): they are moved on screen as the table would
    // repaint them.
    const int offsetBefore = offset();
    QMetaObject::invokeMethod(table, "updateGeometries");
    if (offset() != offsetBefore)
        table->viewport()->scroll(0, offsetBefore - offset());
    const int top = table->rowViewportPosition(oldCount);
    const int bottom = table->rowViewportPosition(newCount - 1) + table->rowHeight(newCount - 1);
    table->viewport()->update(0, top, table->viewport()->width(), bottom - top);
}

void RecordRowHeader::placeAppended(int first, int last)
{
    auto d = static_cast<QHeaderViewPrivate *>(QObjectPrivate::get(this));
    if (last >= d->sectionItems.size())
        return;
    // Appended sections are the last in visual order too.
    int position = 0;
    if (first > 0) {
        const QHeaderViewPrivate::SectionItem &previous = d->sectionItems.at(first - 1);
        position = previous.calculated_startpos + previous.sectionSize();
    }
    for (int visual = first; visual <= last; ++visual) {
        d->sectionItems[visual].calculated_startpos = position;
        position += d->sectionItems.at(visual).sectionSize();
    }
    d->sectionStartposRecalc = false;
}

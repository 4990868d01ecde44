#include "sheetlayout.h"

#include "cellrange.h"

#include <QAbstractItemModel>

namespace {
constexpr int kFirstDataRow = 2;

int lastRow(int rowCount)
{
    return kFirstDataRow + rowCount - 1;
}
} // namespace

QString SheetLayout::lastColumn(int columnCount)
{
    return CellRange::columnName(columnCount);
}

QString SheetLayout::dateRange(int rowCount)
{
    return QStringLiteral("B2:%1%2").arg(QStringLiteral("B")).arg(lastRow(rowCount));
}

QString SheetLayout::textRange(int columnCount, int rowCount)
{
    return QStringLiteral("C2:%1%2").arg(lastColumn(columnCount)).arg(lastRow(rowCount));
}

QString SheetLayout::valueRange(int columnCount, int rowCount)
{
    return QStringLiteral("A2:%1%2").arg(lastColumn(columnCount)).arg(lastRow(rowCount));
}

QVariantList SheetLayout::rows(const QAbstractItemModel &model)
{
    QVariantList table;
    const int rowCount = model.rowCount();
    const int columnCount = model.columnCount();
    for (int r = 0; r < rowCount; ++r) {
        QVariantList row;
        for (int c = 0; c < columnCount; ++c) {
            const QModelIndex index = model.index(r, c);
            row.append(index.isValid() ? model.data(index, Qt::DisplayRole) : QVariant());
        }
        table.append(QVariant(row));
    }
    return table;
}

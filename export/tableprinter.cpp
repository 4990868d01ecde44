#include "tableprinter.h"

#include "readingtime.h"

#include "columninfo.h"
#include "exportlogging.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPrinter>

namespace {
const QString kFontFamily = QStringLiteral("SimSun");
const QString kPageNumberPattern = QStringLiteral("%1/%2");
constexpr int kSideMarginUnits = 30;
// Title (three lines), print time, header row and page number take six
// lines of every page.
constexpr int kTitleLines = 3;
constexpr int kHeaderTopLines = 4;
constexpr int kFirstRowLines = 5;
constexpr int kFixedLines = 6;
// The print time sits this far above the header rule.
constexpr int kTimeGapUnits = 3;
} // namespace

TablePrinter::TablePrinter(QAbstractItemModel *model, const QString &title,
                           const QList<ColumnInfo *> &columns, QObject *parent)
    : QObject(parent), model(model), title(title), columns(columns)
{
}

QVector<int> TablePrinter::columnWidths(int tableWidth, const QList<ColumnInfo *> &columns,
                                        int count)
{
    if (tableWidth <= 0 || count < 1 || count > columns.size())
        return {};
    double total = 0;
    for (int i = 0; i < count; ++i) {
        if (!columns.at(i) || columns.at(i)->widthFactor < 0)
            return {};
        total += columns.at(i)->widthFactor;
    }
    if (total <= 0)
        return {};
    const double scale = tableWidth / total;
    QVector<int> widths;
    for (int i = 0; i < count; ++i)
        widths.append(int(columns.at(i)->widthFactor * scale));
    return widths;
}

int TablePrinter::rowsPerPage(int pageHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return qMax(0, (pageHeight - kFixedLines * lineHeight) / lineHeight);
}

int TablePrinter::pageCount(int rowCount, int rowsPerPage)
{
    if (rowCount <= 0 || rowsPerPage <= 0)
        return 0;
    return rowCount / rowsPerPage + (rowCount % rowsPerPage > 0 ? 1 : 0);
}

QString TablePrinter::cellText(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QChar:
        return QString::number(value.toInt());
    case QMetaType::QDateTime:
        return ReadingTime::text(value.toDateTime());
    default:
        return value.toString();
    }
}

void TablePrinter::slotPaintRequested(QPrinter *printer)
{
    if (!printer || !model)
        return;
    const QRect printable = printer->pageLayout().paintRectPixels(printer->resolution());
    const int width = printable.width();
    const int height = printable.height();
    QFont font;
    font.setFamily(kFontFamily);
    const QFontMetrics metrics(font, printer);
    const int line = metrics.height();
    const int rowCount = model->rowCount();
    const int columnCount = model->columnCount();
    const int perPage = rowsPerPage(height, line);
    const int pages = pageCount(rowCount, perPage);
    const QVector<int> widths = columnWidths(width - 2 * kSideMarginUnits, columns, columnCount);
    if (pages == 0 || widths.isEmpty()) {
        qCDebug(lcExport) << "nothing to print:" << rowCount << "rows," << perPage
                          << "rows per page," << widths.size() << "sized columns";
        return;
    }

    QPainter painter;
    if (!painter.begin(printer)) {
        qCWarning(lcExport) << "the printer could not be started";
        return;
    }
    painter.setFont(font);
    const int right = width - kSideMarginUnits;
    const int pageNumberTop = height - line;
    int row = 0;
    int remaining = rowCount;
    for (int page = 0; page < pages; ++page) {
        const int titleWidth = metrics.horizontalAdvance(title);
        painter.drawText(QRect((width - titleWidth) / 2, 0, titleWidth, kTitleLines * line),
                         Qt::AlignCenter, title);
        const QString printed = ReadingTime::text(QDateTime::currentDateTime());
        const int printedWidth = metrics.horizontalAdvance(printed);
        painter.drawText(QRect(right - printedWidth, kTitleLines * line, printedWidth,
                               line - kTimeGapUnits),
                         Qt::AlignCenter, printed);
        const QString number = kPageNumberPattern.arg(page + 1).arg(pages);
        const int numberWidth = metrics.horizontalAdvance(number);
        painter.drawText(QRect(right - numberWidth, pageNumberTop, numberWidth, line),
                         Qt::AlignCenter, number);

        const int headerTop = kHeaderTopLines * line;
        const int rowsHere = qMin(perPage, remaining);
        QVector<QLine> rules{QLine(kSideMarginUnits, headerTop, right, headerTop),
                             QLine(kSideMarginUnits, headerTop + line, right, headerTop + line)};
        int x = kSideMarginUnits;
        for (int column = 0; column < columnCount; ++column) {
            rules.append(QLine(x, headerTop, x, headerTop + (rowsHere + 1) * line));
            painter.drawText(QRect(x, headerTop, widths.at(column), line), Qt::AlignCenter,
                             model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
            x += widths.at(column);
        }
        rules.append(QLine(right, headerTop, right, (rowsHere + kFirstRowLines) * line));
        painter.drawLines(rules);

        rules.clear();
        for (int k = 0; k < rowsHere; ++k, ++row) {
            const int y = kFirstRowLines * line + k * line;
            x = kSideMarginUnits;
            for (int column = 0; column < columnCount; ++column) {
                const QModelIndex index = model->index(row, column);
                const QVariant value = index.isValid() ? model->data(index, Qt::DisplayRole)
                                                       : QVariant();
                painter.drawText(QRect(x, y, widths.at(column), line),
                                 Qt::AlignHCenter | Qt::AlignBottom, cellText(value));
                x += widths.at(column);
            }
            // One rule under the whole row: the same picture as a rule from
            // each cell's left edge to the border.
            rules.append(QLine(kSideMarginUnits, y + line, right, y + line));
        }
        painter.drawLines(rules);

        if (page < pages - 1)
            printer->newPage();
        remaining -= perPage;
    }
    painter.end();
}

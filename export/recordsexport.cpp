#include "recordsexport.h"

#include "columninfo.h"
#include "datamodel.h"
#include "exportlogging.h"
#include "exporttarget.h"
#include "readingrow.h"
#include "readingtable.h"
#include "systemerror.h"
#include "workbookwriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {
const QString kCsvSuffix = QStringLiteral("csv");
// The spreadsheet program's own filter text stays as the second choice.
const QStringList kFileFilters = {QStringLiteral("Excel Workbook (*.xlsx)"), QStringLiteral("Excel File(*.xls)"),
                                  QStringLiteral("CSV (*.csv)")};
constexpr int kCsvChannels = 3;
constexpr int kDateColumn = 1;

bool writeFailed(const QString &path)
{
    qCWarning(lcExport) << "cannot write" << path << ":" << SystemError::lastText();
    return false;
}

// Nothing of the rows the export started with is left to write.
bool tablesEmptied()
{
    qCWarning(lcExport) << "the tables were emptied during the export";
    return false;
}
} // namespace

QString RecordsExport::fileFilters()
{
    return kFileFilters.join(QStringLiteral(";;"));
}

QString RecordsExport::withSuffix(const QString &fileName, const QString &filter)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    const QRegularExpressionMatch suffix =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter.isEmpty() ? kFileFilters.first() : filter);
    return suffix.hasMatch() ? fileName + QLatin1Char('.') + suffix.captured(1) : fileName;
}

RecordsExport::RecordsExport(const QList<DataModel *> &models, const QList<ColumnInfo *> &columns)
    : models(models)
{
    for (const DataModel *model : models)
        rowCounts << model->rowCount();
    for (const ColumnInfo *column : columns)
        titles << column->title;
}

bool RecordsExport::write(const QString &fileName, const Progress &progress) const
{
    if (fileName.isEmpty())
        return false;
    ExportTarget target(fileName);
    if (!target.open())
        return false;
    const bool written = QFileInfo(fileName).suffix().compare(kCsvSuffix, Qt::CaseInsensitive) == 0
                             ? writeCsv(target.temporaryPath(), progress)
                             : writeWorkbook(target.temporaryPath(), progress);
    return written && target.commit();
}

bool RecordsExport::writeWorkbook(const QString &path, const Progress &progress) const
{
    const int total = std::accumulate(rowCounts.cbegin(), rowCounts.cend(), 0);
    int written = 0;
    WorkbookWriter workbook(path);
    for (int channel = 0; channel < models.size(); ++channel) {
        const DataModel &model = *models.at(channel);
        if (!workbook.addSheet(QStringLiteral("CH%1").arg(channel + 1), titles))
            return false;
        // One row's values, in place: a list would allocate every value on its own.
        QVector<QVariant> cells(model.columnCount());
        const ReadingTable &readings = model.readings();
        for (int row = 0; row < rowCounts.at(channel); ++row) {
            if (row >= readings.count())
                return tablesEmptied();
            // The table shows the time as a text; the sheet gets it as a date.
            for (int column = 0; column < cells.size(); ++column)
                cells[column] = column == kDateColumn
                                    ? QVariant(QDateTime::fromMSecsSinceEpoch(readings.timeMs(row)))
                                    : model.data(model.index(row, column), Qt::DisplayRole);
            if (!workbook.addRow(cells))
                return false;
            progress(++written, total);
        }
    }
    // A new workbook of a spreadsheet program starts with this sheet.
    return workbook.addSheet(QStringLiteral("Sheet1"), {})
           && workbook.close([&progress, total] { progress(total, total); });
}

bool RecordsExport::writeCsv(const QString &path, const Progress &progress) const
{
    if (models.size() != kCsvChannels) {
        qCWarning(lcExport) << "a CSV file holds" << kCsvChannels << "channels, not" << models.size();
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcExport) << "cannot write" << path << ":" << file.errorString();
        return false;
    }
    // Every line holds all three channels: as many lines as the shortest table has rows.
    const int total = *std::min_element(rowCounts.cbegin(), rowCounts.cend());
    if (file.write(ReadingRow::header()) < 0)
        return writeFailed(path);
    const ReadingTable &channel1 = models.at(0)->readings();
    const ReadingTable &channel2 = models.at(1)->readings();
    const ReadingTable &channel3 = models.at(2)->readings();
    for (int row = 0; row < total; ++row) {
        if (row >= channel1.count() || row >= channel2.count() || row >= channel3.count())
            return tablesEmptied();
        if (file.write(ReadingRow::line(channel1, channel2, channel3, row)) < 0)
            return writeFailed(path);
        progress(row + 1, total);
    }
    return file.flush() || writeFailed(path);
}

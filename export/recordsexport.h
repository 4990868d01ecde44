#ifndef RECORDSEXPORT_H
#define RECORDSEXPORT_H

#include <QList>
#include <QString>

#include <functional>

class DataModel;
struct ColumnInfo;

// Writes the channels' recorded readings into one file the user chose:
// models -> rows -> writer -> file. A name ending in ".csv" gets one CSV file
// with the three channels side by side (ReadingRow's format); any other name
// gets an .xlsx workbook, also under ".xls", with one sheet per channel,
// "CH1", "CH2", "CH3", laid out like the record tables (WorkbookWriter), then
// the empty "Sheet1" a new workbook starts with. The file appears complete or
// not at all (ExportTarget).
class RecordsExport
{
public:
    // Rows written so far, of all the rows the export writes.
    using Progress = std::function<void(int written, int total)>;

    // The save dialog's filters, the default first.
    static QString fileFilters();
    // The name with the suffix of the chosen filter when it has none.
    static QString withSuffix(const QString &fileName, const QString &filter);

    // Takes the models' row counts now: readings that arrive while the export
    // runs (the progress report lets the event loop run) are not written.
    // The models are only read; titles come from the columns, in column order.
    RecordsExport(const QList<DataModel *> &models, const QList<ColumnInfo *> &columns);

    bool write(const QString &fileName, const Progress &progress) const;

private:
    bool writeWorkbook(const QString &path, const Progress &progress) const;
    bool writeCsv(const QString &path, const Progress &progress) const;

    QList<DataModel *> models;
    QList<int> rowCounts;
    QStringList titles;
};

#endif // RECORDSEXPORT_H

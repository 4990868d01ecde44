#include "xlsxfilewriter.h"

#include "exportlogging.h"
#include "sheetdata.h"
#include "workbookdata.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>

namespace {
// Permissions of a new workbook: like any document, readable by everyone.
constexpr QFileDevice::Permissions kNewFilePermissions = QFileDevice::ReadOwner
                                                         | QFileDevice::WriteOwner
                                                         | QFileDevice::ReadGroup
                                                         | QFileDevice::ReadOther;

// Formats belong to the libxlsxwriter workbook; one per number format text.
class FormatCache
{
public:
    explicit FormatCache(lxw_workbook *workbook) : workbook(workbook) {}

    lxw_format *format(const QString &numberFormat)
    {
        if (numberFormat.isEmpty())
            return nullptr;
        auto found = formats.constFind(numberFormat);
        if (found != formats.constEnd())
            return found.value();
        lxw_format *created = workbook_add_format(workbook);
        format_set_num_format(created, numberFormat.toUtf8().constData());
        formats.insert(numberFormat, created);
        return created;
    }

private:
    lxw_workbook *workbook;
    QHash<QString, lxw_format *> formats;
};

lxw_error writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QVariant &value,
                    lxw_format *format)
{
    switch (value.userType()) {
    case QMetaType::Double:
        return worksheet_write_number(sheet, row, column, value.toDouble(), format);
    case QMetaType::Bool:
        return worksheet_write_boolean(sheet, row, column, value.toBool() ? 1 : 0, format);
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        lxw_datetime stamp = {when.date().year(), when.date().month(), when.date().day(),
                              when.time().hour(), when.time().minute(),
                              when.time().second() + when.time().msec() / 1000.0};
        return worksheet_write_datetime(sheet, row, column, &stamp, format);
    }
    default:
        return worksheet_write_string(sheet, row, column, value.toString().toUtf8().constData(),
                                      format);
    }
}
} // namespace

bool XlsxFileWriter::write(const WorkbookData &workbook, const QString &fileName)
{
    const QFileInfo target(fileName);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                             + QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        qCWarning(lcExport) << "cannot create a file in" << target.absolutePath() << ":"
                            << temporary.errorString();
        return false;
    }
    temporary.close();
    if (!writeWorkbook(workbook, temporary.fileName()))
        return false;
    temporary.setPermissions(target.exists() ? target.permissions() : kNewFilePermissions);
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        qCWarning(lcExport) << "cannot replace" << target.absoluteFilePath();
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

bool XlsxFileWriter::writeWorkbook(const WorkbookData &workbook, const QString &path)
{
    lxw_workbook *file = workbook_new(QFile::encodeName(path).constData());
    if (!file)
        return false;
    FormatCache formats(file);
    bool complete = true;
    for (const auto &sheet : workbook.sheets()) {
        lxw_worksheet *written = workbook_add_worksheet(file, sheet->name().toUtf8().constData());
        if (!written) {
            qCWarning(lcExport) << "libxlsxwriter refused the sheet name" << sheet->name();
            complete = false;
            break;
        }
        const QMap<int, double> widths = sheet->columnWidths();
        for (auto it = widths.cbegin(); it != widths.cend(); ++it)
            worksheet_set_column(written, lxw_col_t(it.key() - 1), lxw_col_t(it.key() - 1),
                                 it.value(), nullptr);
        for (const auto &cell : sheet->usedCells()) {
            const lxw_error error = writeCell(
                written, lxw_row_t(cell.first - 1), lxw_col_t(cell.second - 1),
                sheet->value(cell.first, cell.second),
                formats.format(sheet->numberFormat(cell.first, cell.second)));
            if (error != LXW_NO_ERROR) {
                qCWarning(lcExport) << "cannot write cell" << cell << "of" << sheet->name() << ":"
                                    << lxw_strerror(error);
                complete = false;
            }
        }
    }
    // Closing also frees the workbook, so it happens even after a failure;
    // the temporary file it leaves is then removed by the caller.
    const lxw_error closed = workbook_close(file);
    if (closed != LXW_NO_ERROR)
        qCWarning(lcExport) << "libxlsxwriter could not write" << path << ":" << lxw_strerror(closed);
    return complete && closed == LXW_NO_ERROR;
}

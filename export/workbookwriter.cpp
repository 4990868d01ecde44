#include "workbookwriter.h"

#include "readingtime.h"
#include "systemerror.h"

#include "exportlogging.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>

namespace {
const char kTextFormat[] = "@";
constexpr int kNumberColumn = 0;
constexpr int kDateColumn = 1;
// Rows handed to the writing thread at a time.
constexpr std::size_t kRowsPerBatch = 1000;
// Room a spreadsheet's auto-fit leaves around a column's text, and the
// narrowest column it makes, in character widths.
constexpr int kAutoFitPaddingChars = 1;
constexpr int kMinimumColumnChars = 3;
// Characters from here on (CJK and other wide scripts) take about two widths.
constexpr ushort kFirstWideCharacter = 0x1100;
constexpr int kSignificantDigits = 15;
// The years a sheet's date can hold; other dates stay texts.
constexpr int kFirstSheetYear = 1900;
constexpr int kLastSheetYear = 9999;

int textWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= kFirstWideCharacter ? 2 : 1;
    return width;
}

int numberWidth(const QVariant &value)
{
    // Whole numbers ("No.") are most of them: count digits without making a text.
    if (value.userType() == QMetaType::Int) {
        int number = value.toInt();
        int width = number < 0 ? 2 : 1;
        while (number /= 10)
            ++width;
        return width;
    }
    return QString::number(value.toDouble(), 'g', kSignificantDigits).size();
}

bool isNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The sheet's day count of the time to the second, as the tables show it.
bool sheetDays(const QDateTime &when, double *days)
{
    const QDate date = when.date();
    const QTime time = when.time();
    if (!when.isValid() || date.year() < kFirstSheetYear || date.year() > kLastSheetYear)
        return false;
    lxw_datetime stamp = {date.year(), date.month(), date.day(), time.hour(), time.minute(), double(time.second())};
    *days = lxw_datetime_to_excel_datetime(&stamp);
    return true;
}
} // namespace

WorkbookWriter::WorkbookWriter(const QString &path) : path(path)
{
    // The rows wait in temporary files beside the workbook, on the disk that
    // is to hold it, rather than in a /tmp that may be small or in memory.
    temporaryFolder = QFile::encodeName(QFileInfo(path).absolutePath());
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temporaryFolder.data();
    workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook) {
        qCWarning(lcExport) << "libxlsxwriter cannot start a workbook for" << path;
        failed = true;
        return;
    }
    dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, ReadingTime::format().toLatin1().constData());
    textFormat = workbook_add_format(workbook);
    format_set_num_format(textFormat, kTextFormat);
}

WorkbookWriter::~WorkbookWriter()
{
    writer.finish([] {});
    if (workbook && !closed)
        workbook_close(workbook);
}

bool WorkbookWriter::addSheet(const QString &name, const QStringList &titles)
{
    if (failed)
        return false;
    sendRows();
    sendColumnWidths();
    writer.add([this, name] {
        if (failed)
            return;
        sheet = workbook_add_worksheet(workbook, name.toUtf8().constData());
        if (!sheet) {
            qCWarning(lcExport) << "libxlsxwriter refused the sheet name" << name;
            failed = true;
        }
    });
    nextRow = 0;
    longestText.clear();
    if (!titles.isEmpty()) {
        for (int column = 0; column < titles.size(); ++column) {
            pending.push_back({nextRow, static_cast<unsigned short>(column), Cell::Kind::Text, nullptr, 0,
                               titles.at(column)});
            longestText.append(textWidth(titles.at(column)));
        }
        ++nextRow;
    }
    return true;
}

bool WorkbookWriter::addRow(const QVector<QVariant> &cells)
{
    if (failed)
        return false;
    if (longestText.size() < cells.size())
        longestText.resize(cells.size());
    for (int column = 0; column < cells.size(); ++column)
        addCell(column, cells.at(column));
    ++nextRow;
    if (pending.size() >= kRowsPerBatch * std::size_t(cells.size()))
        sendRows();
    return true;
}

void WorkbookWriter::addCell(int column, const QVariant &value)
{
    const auto col = static_cast<unsigned short>(column);
    lxw_format *format = column == kNumberColumn ? nullptr : column == kDateColumn ? dateFormat : textFormat;
    if (isNumber(value)) {
        longestText[column] = std::max(longestText.at(column), numberWidth(value));
        pending.push_back({nextRow, col, Cell::Kind::Number, format, value.toDouble(), QString()});
        return;
    }
    double days = 0;
    if (value.userType() == QMetaType::QDateTime && sheetDays(value.toDateTime(), &days)) {
        longestText[column] = std::max(longestText.at(column), int(ReadingTime::format().size()));
        pending.push_back({nextRow, col, Cell::Kind::Number, format, days, QString()});
        return;
    }
    const QString text = value.userType() == QMetaType::QDateTime
                             ? ReadingTime::text(value.toDateTime())
                             : value.toString();
    longestText[column] = std::max(longestText.at(column), textWidth(text));
    if (text.isEmpty())
        pending.push_back({nextRow, col, Cell::Kind::Blank, format, 0, QString()});
    else
        pending.push_back({nextRow, col, Cell::Kind::Text, format, 0, text});
}

void WorkbookWriter::sendRows()
{
    if (pending.empty())
        return;
    writer.add([this, cells = std::move(pending)] { writeCells(cells); });
    pending.clear();
}

void WorkbookWriter::sendColumnWidths()
{
    if (longestText.isEmpty())
        return;
    writer.add([this, widths = longestText] {
        for (int column = 0; !failed && column < widths.size(); ++column) {
            const double chars = std::max(kMinimumColumnChars, widths.at(column) + kAutoFitPaddingChars);
            check(worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), chars, nullptr),
                  "cannot size a column");
        }
    });
}

void WorkbookWriter::writeCells(const std::vector<Cell> &cells)
{
    for (const Cell &cell : cells) {
        if (failed)
            return;
        switch (cell.kind) {
        case Cell::Kind::Number:
            check(worksheet_write_number(sheet, cell.row, cell.column, cell.number, cell.format),
                  "cannot write a number");
            break;
        case Cell::Kind::Text:
            check(worksheet_write_string(sheet, cell.row, cell.column, cell.text.toUtf8().constData(), cell.format),
                  "cannot write a text");
            break;
        case Cell::Kind::Blank:
            // Without a format a blank cell is not written at all, as nothing is to be seen.
            if (cell.format)
                check(worksheet_write_blank(sheet, cell.row, cell.column, cell.format), "cannot write a blank");
            break;
        }
    }
}

bool WorkbookWriter::close(const std::function<void()> &whileWaiting)
{
    if (failed || closed)
        return false;
    sendRows();
    sendColumnWidths();
    closed = true;
    // Closing writes and compresses the whole file, and frees the workbook also when it fails.
    writer.add([this] {
        errno = 0;
        check(workbook_close(workbook), "cannot write the workbook");
    });
    writer.finish(whileWaiting);
    return !failed;
}

bool WorkbookWriter::check(int error, const char *what)
{
    if (error == LXW_NO_ERROR)
        return true;
    // The system's reason, when the failure came from a file operation.
    const QString reason = errno != 0 ? SystemError::lastText() : QString();
    qCWarning(lcExport) << what << "in" << path << ":" << lxw_strerror(lxw_error(error)) << reason;
    failed = true;
    return false;
}

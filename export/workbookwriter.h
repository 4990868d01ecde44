#ifndef WORKBOOKWRITER_H
#define WORKBOOKWRITER_H

#include "taskqueue.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

#include <atomic>
#include <functional>
#include <vector>

struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

// Writes an .xlsx workbook row by row with libxlsxwriter in its
// constant-memory mode: rows go to temporary files as they come, so memory
// stays flat whatever their number. Rows are laid out like the record tables:
// column A a number ("No."), column B a date and time (a QDateTime, written
// to the second as a true date shown as "yyyy-MM-dd hh:mm:ss"), the other
// columns texts in the text format "@" (an empty cell keeps the format). A sheet's header row has no
// format. Each column ends as wide as its longest shown text, as a
// spreadsheet's auto-fit makes it.
//
// The caller's thread turns the values into cells; libxlsxwriter writes and
// compresses them on a thread of its own (TaskQueue), so reading the next
// rows and writing the last ones overlap and the caller can keep its event
// loop running while the file is compressed. A failure is logged under
// luma.export with libxlsxwriter's reason; later calls then fail too.
class WorkbookWriter
{
public:
    explicit WorkbookWriter(const QString &path);
    // Writes an unclosed workbook all the same: the path is a temporary file.
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // Starts the next sheet, with the titles in its first row (none: no header).
    bool addSheet(const QString &name, const QStringList &titles);
    // The next row of the current sheet, one value per column.
    bool addRow(const QVector<QVariant> &cells);
    // Writes the file, calling whileWaiting about every TaskQueue::kWaitSliceMs meanwhile.
    bool close(const std::function<void()> &whileWaiting);

private:
    struct Cell
    {
        enum class Kind { Blank, Number, Text };
        unsigned row;
        unsigned short column;
        Kind kind;
        lxw_format *format;
        double number; // a date as the sheet's day count
        QString text; // turned into UTF-8 on the writing thread, which has time to spare
    };

    void addCell(int column, const QVariant &value);
    void sendRows();
    void sendColumnWidths();
    // On the writing thread.
    void writeCells(const std::vector<Cell> &cells);
    bool check(int error, const char *what);

    QString path;
    QByteArray temporaryFolder; // libxlsxwriter's, for as long as the workbook lives
    lxw_workbook *workbook = nullptr;
    lxw_format *dateFormat = nullptr;
    lxw_format *textFormat = nullptr;
    std::atomic<bool> failed{false};
    bool closed = false;

    // The caller's side.
    unsigned nextRow = 0;
    QVector<int> longestText; // per column of the current sheet, in character widths
    std::vector<Cell> pending;

    // The writing thread's side: touched by its tasks only.
    lxw_worksheet *sheet = nullptr;

    TaskQueue writer; // last: its thread ends before the rest goes
};

#endif // WORKBOOKWRITER_H

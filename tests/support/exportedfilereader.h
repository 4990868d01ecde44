#ifndef EXPORTEDFILEREADER_H
#define EXPORTEDFILEREADER_H

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

// Reads exported files back with readers that share no code with the
// program: openpyxl for workbooks (READ_WORKBOOK_SCRIPT, defined by the test's
// CMake target) and Python's csv module for CSV files. Empty results when
// the reader fails, with its complaint in the test's output.
namespace ExportedFileReader {

inline QJsonDocument runPython(const QStringList &arguments)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!reader.waitForFinished(-1) || reader.exitCode() != 0) {
        qWarning() << reader.readAllStandardError();
        return QJsonDocument();
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput());
}

#ifdef READ_WORKBOOK_SCRIPT
inline QJsonObject readWorkbook(const QString &fileName)
{
    return runPython({QStringLiteral(READ_WORKBOOK_SCRIPT), fileName}).object();
}
#endif

inline QJsonArray sheetRows(const QJsonObject &workbook, const QString &sheet)
{
    return workbook.value("content").toObject().value(sheet).toObject().value("rows").toArray();
}

// The rows a workbook's sheet holds, header included, as openpyxl counts
// them without reading every cell.
inline int sheetRowCount(const QString &fileName, const QString &sheet)
{
    return runPython({QStringLiteral("-c"),
                      QStringLiteral("import json, openpyxl, sys\n"
                                     "book = openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
                                     "json.dump([book[sys.argv[2]].max_row], sys.stdout)"),
                      fileName, sheet})
        .array()
        .at(0)
        .toInt();
}

// Every line of a CSV file as a list of its fields.
inline QJsonArray readCsv(const QString &fileName)
{
    return runPython({QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                     "    json.dump(list(csv.reader(f)), sys.stdout)"),
                      fileName})
        .array();
}

} // namespace ExportedFileReader

#endif // EXPORTEDFILEREADER_H

#ifndef XLSXFILEWRITER_H
#define XLSXFILEWRITER_H

#include <QString>

class WorkbookData;

// Writes a workbook as an .xlsx file (Office Open XML), whatever suffix the
// name carries. The file appears complete or not at all: the workbook goes
// to a temporary file in the target directory, which then replaces the
// target in one rename.
class XlsxFileWriter
{
public:
    static bool write(const WorkbookData &workbook, const QString &fileName);

private:
    static bool writeWorkbook(const WorkbookData &workbook, const QString &path);
};

#endif // XLSXFILEWRITER_H

#include "recordcolumns.h"

#include "columninfo.h"

#include <QCoreApplication>

QList<ColumnInfo *> RecordColumns::create()
{
    static const struct
    {
        const char *title;
        int widthFactor; // share of the printed width
    } columnTitles[] = {
        {QT_TRANSLATE_NOOP("MainWindow", "No."), 1},        {QT_TRANSLATE_NOOP("MainWindow", "Date/Time"), 3},
        {QT_TRANSLATE_NOOP("MainWindow", "Voltage(V)"), 2}, {QT_TRANSLATE_NOOP("MainWindow", "Current(A)"), 2},
        {QT_TRANSLATE_NOOP("MainWindow", "Power(W)"), 2},   {QT_TRANSLATE_NOOP("MainWindow", "SER/PER"), 2},
        {QT_TRANSLATE_NOOP("MainWindow", "Flag"), 2},
    };
    QList<ColumnInfo *> columns;
    for (const auto &column : columnTitles)
        columns << new ColumnInfo{QCoreApplication::translate("MainWindow", column.title), column.widthFactor};
    return columns;
}

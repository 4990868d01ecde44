#ifndef RECORDSEXPORT_H
#define RECORDSEXPORT_H

#include <QList>
#include <QString>

class AutomationObject;
class QAbstractItemModel;
class QWidget;
struct ColumnInfo;

// Writes the channels' record tables into one workbook through the
// spreadsheet program "Excel.Application": sheet "CH1" for the first model,
// "CH2" for the second and so on, each laid out as SheetLayout says,
// followed by the sheets a new workbook starts with.
class RecordsExport
{
public:
    // True once the program reports the workbook saved under fileName. When
    // the program cannot be started the user is told so in a message box
    // over messageParent. The models are only read; column titles come from
    // columns, in column order.
    static bool exportRecords(const QList<QAbstractItemModel *> &models,
                              const QList<ColumnInfo *> &columns, const QString &fileName,
                              QWidget *messageParent);

private:
    static bool addChannelSheets(AutomationObject &sheets, int count);
    static bool fillChannelSheet(AutomationObject &sheets, int channel,
                                 const QAbstractItemModel &model,
                                 const QList<ColumnInfo *> &columns);
    static bool fillSheet(AutomationObject &sheet, const QAbstractItemModel &model,
                          const QList<ColumnInfo *> &columns);
    static bool setNumberFormat(AutomationObject &sheet, const QString &range,
                                const QString &format);
    static QString columnTitle(const QAbstractItemModel &model, const QList<ColumnInfo *> &columns,
                               int column);
};

#endif // RECORDSEXPORT_H

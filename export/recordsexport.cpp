#include "recordsexport.h"

#include "automationobject.h"
#include "columninfo.h"
#include "sheetdata.h"
#include "sheetlayout.h"
#include "workbooktarget.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QScopedPointer>

namespace {
// The export belongs to the main window's commands; its texts are
// translated in the main window's context.
const char kTranslationContext[] = "MainWindow";
const QString kTextFormat = QStringLiteral("@");
} // namespace

bool RecordsExport::exportRecords(const QList<QAbstractItemModel *> &models,
                                  const QList<ColumnInfo *> &columns, const QString &fileName,
                                  QWidget *messageParent)
{
    if (fileName.isEmpty() || models.contains(nullptr))
        return false;
    auto *excel = new AutomationObject;
    if (!excel->setControl(QStringLiteral("Excel.Application"))) {
        QMessageBox::information(messageParent, QString(),
                                 QCoreApplication::translate(
                                     kTranslationContext,
                                     "The datas is exported failed, your computer may not have "
                                     "installed excel."),
                                 QMessageBox::Ok);
        delete excel;
        return false;
    }
    // Hidden and silent: the program must not show itself or ask anything.
    excel->dynamicCall("SetVisible(bool)", false);
    excel->setProperty("DisplayAlerts", false);

    bool saved = false;
    AutomationObject *workbooks = excel->querySubObject("Workbooks");
    AutomationObject *workbook = nullptr;
    AutomationObject *sheets = nullptr;
    if (workbooks) {
        workbooks->dynamicCall("Add");
        workbook = excel->querySubObject("ActiveWorkBook");
    }
    if (workbook) {
        sheets = workbook->querySubObject("Sheets");
        bool filled = sheets && addChannelSheets(*sheets, models.size());
        for (int channel = 0; filled && channel < models.size(); ++channel)
            filled = fillChannelSheet(*sheets, channel, *models.at(channel), columns);
        if (filled)
            saved = workbook
                        ->dynamicCall("SaveAs(const QString &,int,QString,QString,bool,bool)",
                                      QDir::toNativeSeparators(fileName),
                                      WorkbookTarget::kSaveFormatCode, QString(), QString(),
                                      false, false)
                        .toBool();
        // Closed unsaved whatever happened, so the program holds no workbook
        // when it is told to quit.
        workbook->dynamicCall("Close(Boolean)", false);
    }
    excel->dynamicCall("Quit(void)");
    delete sheets;
    delete workbook;
    delete workbooks;
    delete excel;
    return saved;
}

bool RecordsExport::addChannelSheets(AutomationObject &sheets, int count)
{
    // Each new sheet goes in front, so naming them from the last channel
    // down leaves "CH1" leftmost.
    for (int i = 0; i < count; ++i) {
        sheets.dynamicCall("Add");
        AutomationObject *sheet = sheets.querySubObject("Item(int)", 1);
        if (!sheet)
            return false;
        sheet->setProperty("Name", QStringLiteral("CH%1").arg(count - i));
        delete sheet;
    }
    return true;
}

bool RecordsExport::fillChannelSheet(AutomationObject &sheets, int channel,
                                     const QAbstractItemModel &model,
                                     const QList<ColumnInfo *> &columns)
{
    QScopedPointer<AutomationObject> sheet(sheets.querySubObject("Item(int)", channel + 1));
    return sheet && fillSheet(*sheet, model, columns);
}

bool RecordsExport::fillSheet(AutomationObject &sheet, const QAbstractItemModel &model,
                              const QList<ColumnInfo *> &columns)
{
    const int columnCount = model.columnCount();
    for (int c = 0; c < columnCount; ++c) {
        AutomationObject *cell = sheet.querySubObject("Cells(int,int)", 1, c + 1);
        if (!cell)
            return false;
        cell->dynamicCall("Value", columnTitle(model, columns, c));
    }

    // The formats go first: values arriving in a date-formatted cell are
    // taken as dates, and in a text-formatted one stay texts.
    const int rowCount = model.rowCount();
    if (!setNumberFormat(sheet, SheetLayout::dateRange(rowCount), SheetData::kDateTimeFormat)
        || !setNumberFormat(sheet, SheetLayout::textRange(columnCount, rowCount), kTextFormat))
        return false;

    // The whole table goes over in one call, however many records there are.
    AutomationObject *values = sheet.querySubObject(
        "Range(const QString&)", SheetLayout::valueRange(columnCount, rowCount));
    if (!values)
        return false;
    values->setProperty("Value", SheetLayout::rows(model));

    QScopedPointer<AutomationObject> usedRange(sheet.querySubObject("UsedRange"));
    AutomationObject *usedColumns = usedRange ? usedRange->querySubObject("Columns") : nullptr;
    if (!usedColumns)
        return false;
    usedColumns->dynamicCall("AutoFit");
    return true;
}

bool RecordsExport::setNumberFormat(AutomationObject &sheet, const QString &range,
                                    const QString &format)
{
    AutomationObject *cells = sheet.querySubObject("Range(const QString&)", range);
    if (!cells)
        return false;
    cells->dynamicCall("SetNumberFormat(const QString&)", format);
    return true;
}

QString RecordsExport::columnTitle(const QAbstractItemModel &model,
                                   const QList<ColumnInfo *> &columns, int column)
{
    // A column without a descriptor still gets a header: the model's own.
    if (column < columns.size() && columns.at(column))
        return columns.at(column)->title;
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

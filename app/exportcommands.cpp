#include "exportcommands.h"

#include "dmmchart.h"
#include "exportprogress.h"
#include "recordsexport.h"
#include "statusmessages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

ExportCommands::ExportCommands(QWidget *window, StatusMessages *status) : window(window), status(status) {}

void ExportCommands::exportRecords(const QList<DataModel *> &models, const QList<ColumnInfo *> &columns) const
{
    QString filter;
    QString fileName = QFileDialog::getSaveFileName(window, tr("Export the datas to a excel file."), QString(),
                                                    RecordsExport::fileFilters(), &filter);
    if (fileName.isEmpty())
        return;
    const QString typed = fileName;
    fileName = RecordsExport::withSuffix(fileName, filter);
    if (!mayReplaceWithAddedSuffix(typed, fileName))
        return;
    const RecordsExport records(models, columns);
    ExportProgress progress(window);
    if (!records.write(fileName, [&progress](int written, int total) { progress.report(written, total); })) {
        QMessageBox::information(window, QString(), tr("The datas is exported failed."), QMessageBox::Ok);
        return;
    }
    offerToOpen(tr("The datas is exported successfully.\r\nDo you want to open this file?"), fileName);
}

void ExportCommands::saveChartImage(const DMMChart *chart) const
{
    const QString png = QStringLiteral("PNG File(*.png)");
    QString filter;
    QString fileName = QFileDialog::getSaveFileName(window, tr("Export the chart to a JPEG file."), QString(),
                                                    QStringLiteral("JPEG File(*.jpg);;") + png, &filter);
    if (fileName.isEmpty())
        return;
    // The image format follows the suffix (".png" writes PNG); our file
    // dialog adds none.
    const QString typed = fileName;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += filter == png ? QStringLiteral(".png") : QStringLiteral(".jpg");
    if (!mayReplaceWithAddedSuffix(typed, fileName))
        return;
    if (!chart || !chart->saveImage(fileName)) {
        status->show(StatusMessages::Condition::ChartImage,
                     tr("The chart image was not saved to %1.").arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    status->clear(StatusMessages::Condition::ChartImage);
    offerToOpen(tr("The chart is exported successfully.\r\nDo you want to open this file?"), fileName);
}

// The file dialog asked about replacing the name as typed; a suffix added
// afterwards may name another file that exists, which is asked about here.
bool ExportCommands::mayReplaceWithAddedSuffix(const QString &typed, const QString &fileName) const
{
    if (fileName == typed || !QFileInfo::exists(fileName))
        return true;
    const QString question = tr("%1 already exists.\nDo you want to replace it?");
    return QMessageBox::question(window, QString(), question.arg(QFileInfo(fileName).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
           == QMessageBox::Yes;
}

void ExportCommands::offerToOpen(const QString &success, const QString &fileName) const
{
    if (QMessageBox::question(window, QString(), success, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

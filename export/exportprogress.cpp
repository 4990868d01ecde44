#include "exportprogress.h"

#include <QApplication>
#include <QCloseEvent>

#include <climits>

ExportProgress::ExportProgress(QWidget *window) : QProgressDialog(window)
{
    setWindowModality(Qt::WindowModal);
    setCancelButton(nullptr);
    // Shown by report() alone, and up until the export ends.
    setMinimumDuration(INT_MAX);
    setAutoReset(false);
    setAutoClose(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sinceStart.start();
    sinceReport.start();
}

ExportProgress::~ExportProgress()
{
    QApplication::restoreOverrideCursor();
}

void ExportProgress::report(int written, int total)
{
    if (sinceReport.elapsed() < kReportIntervalMs || sinceStart.elapsed() < kShowAfterMs)
        return;
    sinceReport.restart();
    setRange(0, total);
    setValue(written);
    setLabelText(tr("%1 of %2 rows written").arg(written).arg(total));
    if (!isVisible())
        show();
    QCoreApplication::processEvents();
}

void ExportProgress::reject()
{
}

void ExportProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

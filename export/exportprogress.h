#ifndef EXPORTPROGRESS_H
#define EXPORTPROGRESS_H

#include <QElapsedTimer>
#include <QProgressDialog>

// Shows that an export is running: a busy cursor for as long as the object
// lives and, once the export has taken kShowAfterMs, a progress dialog,
// modal to the window, that counts the rows written. While the dialog is up,
// each report lets the event loop run, so the window repaints and readings
// keep arriving. The dialog has no cancel button and cannot be closed: an
// export runs to its end.
class ExportProgress : public QProgressDialog
{
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 500;
    static constexpr int kReportIntervalMs = 50;

    explicit ExportProgress(QWidget *window);
    ~ExportProgress() override;

    // Cheap enough to call for every row.
    void report(int written, int total);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QElapsedTimer sinceStart;
    QElapsedTimer sinceReport;
};

#endif // EXPORTPROGRESS_H

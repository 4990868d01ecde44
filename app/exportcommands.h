#ifndef EXPORTCOMMANDS_H
#define EXPORTCOMMANDS_H

#include <QCoreApplication>
#include <QList>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class DataModel;
class DMMChart;
class StatusMessages;
struct ColumnInfo;

// The Export command and the chart image's Save command, with their file
// dialogs, questions and messages, for the live window and the viewer of
// past sessions alike. The texts are the main window's.
class ExportCommands
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Neither is owned; the status bar's messages take what the user need not answer.
    ExportCommands(QWidget *window, StatusMessages *status);

    // Asks for a file, writes the channels' rows to it, reports, and offers
    // to open it.
    void exportRecords(const QList<DataModel *> &models, const QList<ColumnInfo *> &columns) const;
    // Asks for a file and saves the chart's picture in it; null chart: the
    // failure is reported like a file that cannot be written.
    void saveChartImage(const DMMChart *chart) const;

private:
    bool mayReplaceWithAddedSuffix(const QString &typed, const QString &fileName) const;
    // The question after a successful export or image save.
    void offerToOpen(const QString &success, const QString &fileName) const;

    QWidget *window;
    StatusMessages *status;
};

#endif // EXPORTCOMMANDS_H

#ifndef SESSIONVIEWER_H
#define SESSIONVIEWER_H

#include <QList>
#include <QMainWindow>

#include <memory>

class DataModel;
class ExportCommands;
class QProgressDialog;
class ReadingTable;
class RecordViews;
class SessionLoader;
struct ColumnInfo;

// A past session read back from its session log: the three record tables
// and seven charts of the live window, read-only, with Export and the
// charts' Save. It is a window of its own, deleted when closed.
class SessionViewer : public QMainWindow
{
    Q_OBJECT
public:
    // Reads fileName in the background with a progress dialog that can
    // cancel; shows the viewer when the file is read, or tells the user why
    // it cannot be (and deletes the viewer). parent outlives the reading.
    static SessionViewer *open(const QString &fileName, QWidget *parent);
    ~SessionViewer() override;

    const QList<DataModel *> &models() const;

signals:
    // The reading ended; shown tells whether the viewer is now shown.
    void loaded(bool shown);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SessionViewer(const QString &fileName, QWidget *parent);
    void buildPages();
    void startLoading();
    void showReadings(std::unique_ptr<ReadingTable> readings, int tornLine);

    QString fileName;
    QList<ColumnInfo *> columns;
    std::unique_ptr<ReadingTable> table;
    QList<DataModel *> channelModels;
    RecordViews *views = nullptr;
    std::unique_ptr<ExportCommands> exporter;
    SessionLoader *loader = nullptr;
    QProgressDialog *progress = nullptr;
};

#endif // SESSIONVIEWER_H

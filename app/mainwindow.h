#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>

QT_BEGIN_NAMESPACE
class QTableView;
class QTimer;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class Automation;
class DataModel;
class DMMChart;
class DmmData;
class IDmm;
class IMyDmm;
class ISerialDev;
class SessionLog;
class StatusDisplay;
class IVISASerial;
class IVISAUSB;
struct ColumnInfo;

// The application's only window: the instrument's front panel, the record
// tables and charts of the three channels. It owns the form, the record
// models and the charts, and reaches the instrument only through the driver
// plug-ins' interfaces, which belong to their loaders.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_actConnect_triggered();
    void on_actDisconnect_triggered();
    void on_actionClose_triggered();
    void on_actionOptions_triggered();
    void on_actionDelete_triggered();
    void on_actionPrint_triggered();
    void on_actionExport_triggered();
    void on_actionSaveImage_triggered();
    void on_actionManual_triggered();
    void on_btnOutput_clicked();
    void on_btnOcp_clicked();
    void on_spinVolt_valueChanged(double value);
    void on_sliderVolt_valueChanged(int value);
    void on_spinCurr_valueChanged(double value);
    void on_sliderCurr_valueChanged(int value);
    void on_btnSer_shortPressed();
    void on_btnSer_longPressed();
    void on_btnPara_shortPressed();
    void on_btnPara_longPressed();
    void slotChSelect();
    void slotBtnMShortPressed();
    void slotBtnMLongPressed();
    void slotTimerSetVoltEvent();
    void slotTimerSetCurrEvent();
    void slotUSBRefreshed(int count);
    void slotDmmOpened();
    void slotDmmClosed();
    void slotDmmMessage(QString text);
    void slotUpdateVersion(QString version);
    void slotUpdateInstrument(quint8 ch);
    void slotUpdateOutput(bool on);
    void slotUpdateOuputTrack(quint8 track);
    void slotUpdateCx(quint8 ch, quint8 cc);
    void slotUpdateSPMode(quint8 mode);
    void slotUpdateSource(quint8 ch, quint8 kind, QString value);
    void slotUpdateData(QList<DmmData *> records);

private:
    void dressForm();
    void configureCharts();
    void startSessionLog();
    void connectDriverSignals();
    void updateDisplays(const QList<DmmData *> &records);
    bool recordDelivery(const QList<DmmData *> &records);
    void showSampleLimitReached(int samplePoints);
    bool isOutputOn() const;
    void readOptions();
    void writeOptions();
    bool mayReplaceWithAddedSuffix(const QString &typed, const QString &fileName);
    bool exportRecords(const QString &fileName);
    DMMChart *selectedChart() const;

    Ui::MainWindow *ui;
    QList<DataModel *> models;
    QList<ColumnInfo *> columns;
    IDmm *dmm;
    IMyDmm *myDmm;
    ISerialDev *serialDev;
    IVISAUSB *visaUsb;
    IVISASerial *visaSerial;
    QTimer *timerSetVolt;
    QTimer *timerSetCurr;
    QList<DMMChart *> charts;
    QList<QTableView *> recordTables; // found by name once; the form never changes
    quint8 spMode;
    bool fixedLanguage;
    QString language;
    bool ignoreVoltChange;
    bool ignoreCurrChange;
    StatusDisplay *display; // owned; the front panel's indicators
    bool sampleLimitShown;  // the status bar has said that recording reached its limit
    SessionLog *sessionLog; // child; every recorded reading on disk
    Automation *automation; // child; sequences, output timer, stop conditions, reconnection, event log
};

#endif // MAINWINDOW_H

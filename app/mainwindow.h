#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>

QT_BEGIN_NAMESPACE
class QAction;
class QTableView;
class QTimer;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class Automation;
class ConnectionStatus;
class DataModel;
class DMMChart;
class DmmData;
class ExportCommands;
class IDmm;
class IMyDmm;
class ISerialDev;
class Recorder;
class RecordViews;
class StatusDisplay;
class StatusMessages;
class IVISASerial;
class IVISAUSB;
class RemotePort;
struct ColumnInfo;

// The application's main window: the instrument's front panel, the record
// tables and charts of the three channels. It owns the form and the
// recorder (which owns the record models), wires driver -> recorder -> views
// and status bar, and reaches the instrument only through the driver
// plug-ins' interfaces, which belong to their loaders.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Reads a session log in the background and shows it in a viewer
    // window of its own, or tells the user why it cannot.
    void openSession(const QString &fileName);

    // The SCPI server of scripts; off until started.
    RemotePort *remotePort() const;
    // Connects as the Connect dialog would with this choice (0 USB, 2 RS232).
    void connectAtStart(int portType, const QString &portName);

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
    void slotOpenSession();

private:
    // Remote commands work the panel's controls as the user would.
    friend class RemotePanel;

    // Slider steps: hundredths of a volt, thousandths of an ampere.
    static constexpr int kVoltSliderSteps = 100;
    static constexpr int kCurrSliderSteps = 1000;

    void connectTo(int portType, const QString &rs232Name);
    void dressForm();
    void addToolsToolBar(QAction *sequenceAction);
    void connectRecorder();
    void connectDriverSignals();
    void updateDisplays(const QList<DmmData *> &records);
    void showSampleLimitReached(int samplePoints);
    bool isOutputOn() const;
    void readOptions();
    void writeOptions();
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
    quint8 spMode;
    bool fixedLanguage;
    QString language;
    bool ignoreVoltChange;
    bool ignoreCurrChange;
    StatusDisplay *display;   // owned; the front panel's indicators
    Recorder *recorder;       // child; owns the models
    RecordViews *views;       // child; the record tables and charts
    ExportCommands *exporter; // owned
    RemotePort *remote;       // child; the SCPI port of scripts
    StatusMessages *status;   // child of the status bar; one message per condition
    ConnectionStatus *connectionStatus; // owned; the status bar's connection message
    Automation *automation;   // child; sequences, output timer, stop conditions, reconnection, event log
};

#endif // MAINWINDOW_H

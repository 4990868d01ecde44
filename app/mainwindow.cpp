#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "accessiblenames.h"
#include "automation.h"
#include "columninfo.h"
#include "columnwidths.h"
#include "connectionstatus.h"
#include "dialogoptions.h"
#include "dlgdevchoose.h"
#include "dmmchart.h"
#include "dmmdata.h"
#include "elidedlabel.h"
#include "driverdiscovery.h"
#include "exportcommands.h"
#include "idmm.h"
#include "imydmm.h"
#include "iserialdev.h"
#include "ivisaserial.h"
#include "ivisausb.h"
#include "keyboardaccess.h"
#include "optionsfile.h"
#include "recordcolumns.h"
#include "recorder.h"
#include "recordviews.h"
#include "remoteport.h"
#include "sequencepanel.h"
#include "sessionlog.h"
#include "sessionviewer.h"
#include "statusdisplay.h"
#include "statusmessages.h"
#include "windowfit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

Q_LOGGING_CATEGORY(lcWindow, "luma.window", QtInfoMsg)

namespace {
constexpr int kSetPointDelayMs = 2000;
constexpr int kChannelCount = 3;
// The session log's file in the status bar leaves the rest to the messages.
constexpr int kSessionFileMaxWidthPx = 380;

const QString kModelName = QStringLiteral("LUMA4200");
const QString kVersion = QStringLiteral("1.0");
const QString kChartPrefix = QStringLiteral("chartCH");

// Tracking mode as it is sent (reported: ReportedTracking).
constexpr quint8 kSendIndependent = 0;
constexpr quint8 kSendSeries = 1;
constexpr quint8 kSendParallel = 2;
constexpr int kPortUsb = 0;
constexpr int kPortRs232 = 2;

// The language choice as the settings file keeps it.
const QString kLanguageEnglish = QStringLiteral("EN");
const QString kLanguageOther = QStringLiteral("OTHER");

// False when the desktop has no program for the file's type.
bool openWithDesktop(const QString &fileName)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui::MainWindow),
      dmm(nullptr),
      myDmm(nullptr),
      serialDev(nullptr),
      visaUsb(nullptr),
      visaSerial(nullptr),
      timerSetVolt(nullptr),
      timerSetCurr(nullptr),
      spMode(0),
      fixedLanguage(false),
      ignoreVoltChange(false),
      ignoreCurrChange(false),
      display(nullptr),
      recorder(nullptr),
      views(nullptr),
      exporter(nullptr),
      remote(nullptr),
      status(nullptr),
      connectionStatus(nullptr),
      automation(nullptr)
{
    Q_INIT_RESOURCE(resources);
    ui->setupUi(this);
    display = new StatusDisplay(this, ui);
    status = new StatusMessages(ui->statusBar);
    connectionStatus = new ConnectionStatus(status, kModelName);

    const DriverInterfaces drivers = DriverDiscovery::discover();
    dmm = drivers.dmm;
    automation = new Automation(dmm, drivers.myDmm, this);
    // The front panel's commands reach the driver unchanged, logged, and stop what runs on its own.
    myDmm = automation->panelCommands();
    serialDev = drivers.serialDev;
    visaUsb = drivers.visaUsb;
    visaSerial = drivers.visaSerial;
    // Without a complete driver there is nothing to show: end at the first turn of the event loop.
    if (!drivers.complete())
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);

    columns = RecordColumns::create();
    // Sessions go to "sessions" in the user's data folder (named after the application, see main.cpp).
    recorder = new Recorder(
        columns, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sessions"),
        this);
    recorder->setDriver(myDmm);
    models = recorder->models();
    timerSetVolt = new QTimer;
    timerSetCurr = new QTimer;

    auto sequencePanel = new SequencePanel(automation, this);
    addDockWidget(Qt::RightDockWidgetArea, sequencePanel);
    // Beside the window at its own size until the user docks it: docked at
    // the window's first size it would squeeze itself and the record tables.
    sequencePanel->setFloating(true);
    sequencePanel->resize(sequencePanel->sizeHint());
    sequencePanel->hide();
    connect(automation, &Automation::statusMessage, status,
            [this](const QString &text) { status->show(StatusMessages::Condition::Automation, text); });
    connect(automation, &Automation::connectionMessage, status,
            [this](const QString &text) { status->show(StatusMessages::Condition::Connection, text); });

    dressForm();
    views = new RecordViews(this, this);
    views->show(models, &recorder->readings());
    charts = views->charts();
    exporter = new ExportCommands(this, status);
    addToolsToolBar(sequencePanel->toggleViewAction());
    KeyboardAccess::install(this, ui, timerSetVolt, timerSetCurr);
    AccessibleNames::install(this, ui);
    WindowFit::fitPanel(ui);
    resize(WindowFit::firstSize(this, ui)); // saved geometry, if any, replaces it when shown
    setWindowTitle(QStringLiteral("%1 v%2").arg(kModelName, kVersion));
    connectDriverSignals();
    connectRecorder();
    remote = new RemotePort(this, ui->statusBar, status);

    connect(timerSetVolt, &QTimer::timeout, this, &MainWindow::slotTimerSetVoltEvent);
    connect(timerSetCurr, &QTimer::timeout, this, &MainWindow::slotTimerSetCurrEvent);
    for (QPushButton *button : {ui->btnCh1Sel, ui->btnCh2Sel, ui->btnCh3Sel})
        connect(button, &QPushButton::clicked, this, &MainWindow::slotChSelect);
    for (MyButton *button : {ui->btnM1, ui->btnM2, ui->btnM3, ui->btnM4, ui->btnM5}) {
        connect(button, &MyButton::shortPressed, this, &MainWindow::slotBtnMShortPressed);
        connect(button, &MyButton::longPressed, this, &MainWindow::slotBtnMLongPressed);
    }
}

MainWindow::~MainWindow()
{
    delete exporter;
    delete connectionStatus;
    delete display;
    delete ui;
    // The recorder and its models go with the window's children; the
    // columns outlive them only until then, and nothing reads them on the way.
    delete recorder;
    qDeleteAll(columns);
    // The set-point timers have no parent; a pending set point dies with the window.
    delete timerSetVolt;
    delete timerSetCurr;
}

// The recorder tells the views of new rows and the status bar of the
// session log and the sample-point limit.
void MainWindow::connectRecorder()
{
    connect(recorder, &Recorder::rowAppended, views, &RecordViews::followNewRow);
    connect(recorder, &Recorder::cleared, views, &RecordViews::clearCharts);
    connect(recorder, &Recorder::limitReached, this, &MainWindow::showSampleLimitReached);
    connect(recorder, &Recorder::limitReached, automation, &Automation::sampleLimitReached);
    connect(recorder, &Recorder::recordingResumed, status,
            [this] { status->clear(StatusMessages::Condition::RecordingLimit); });

    // A long path is shortened at its start rather than crowding out the
    // messages left of it; the whole path is its tool tip.
    auto sessionFile = new ElidedLabel(ui->statusBar);
    sessionFile->setObjectName(QStringLiteral("lblSessionFile"));
    sessionFile->setMaximumWidth(kSessionFileMaxWidthPx);
    ui->statusBar->addPermanentWidget(sessionFile);
    SessionLog *sessionLog = recorder->sessionLog();
    connect(sessionLog, &SessionLog::fileChanged, sessionFile, [sessionFile](const QString &path) {
        const QString text = path.isEmpty() ? QString() : tr("Session log: %1").arg(QDir::toNativeSeparators(path));
        sessionFile->setText(text);
        sessionFile->setToolTip(text);
    });
    connect(sessionLog, &SessionLog::fileChanged, automation, &Automation::sessionFileChanged);
    connect(sessionLog, &SessionLog::failed, this, [this](const QString &where, const QString &reason) {
        status->show(StatusMessages::Condition::SessionLog,
                     tr("The session log stopped (%1: %2). The tables go on recording.")
                         .arg(QDir::toNativeSeparators(where), reason));
    });
    connect(sessionLog, &SessionLog::fileChanged, this, [this](const QString &path) {
        if (!path.isEmpty())
            status->clear(StatusMessages::Condition::SessionLog);
    });
}

void MainWindow::dressForm()
{
    ui->actDisconnect->setEnabled(false);

    ui->lcdCh1Volt->display(tr("00.00"));
    ui->lcdCh1Curr->display(tr("0.000"));
    ui->lcdCh1Power->display(tr("00.00"));
    ui->lcdCh2Volt->display(tr("00.00"));
    ui->lcdCh2Curr->display(tr("0.000"));
    ui->lcdCh2Power->display(tr("00.00"));
    ui->lcdCh3Volt->display(tr("0.0"));

    ui->btnCh1Sel->setProperty("CH", 1);
    ui->btnCh2Sel->setProperty("CH", 2);
    ui->btnCh3Sel->setProperty("CH", 3);
    const QList<MyButton *> memoryButtons = {ui->btnM1, ui->btnM2, ui->btnM3, ui->btnM4, ui->btnM5};
    for (int i = 0; i < memoryButtons.size(); ++i)
        memoryButtons.at(i)->setProperty("Memory", i + 1);

    // Connect and Disconnect at the left end, Options, Manual and Close at the right.
    auto spacer = new QWidget(ui->mainToolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ui->mainToolBar->insertWidget(ui->actionOptions, spacer);

    ui->tabWidgetCHs->setStyleSheet(QStringLiteral(
        "QTabBar::tab{min-width:200px}QTabBar::tab:selected{color:#FF9900;font-weight: bold};"));
    const QIcon channelIcon(QStringLiteral(":/image/channel.png"));
    for (int i = 0; i < kChannelCount; ++i)
        ui->tabWidgetCHs->setTabText(i, tr("CH%1").arg(i + 1)), ui->tabWidgetCHs->setTabIcon(i, channelIcon);
    ui->tabWidgetCHs->setCurrentIndex(0);

    const QList<QTabWidget *> tabWidgets = findChildren<QTabWidget *>();
    const QRegularExpression channelTabs(QStringLiteral("tabWidgetCH\\d+"));
    for (QTabWidget *tabs : tabWidgets) {
        if (!channelTabs.match(tabs->objectName()).hasMatch())
            continue;
        tabs->setTabText(0, tr("Record"));
        tabs->setTabIcon(0, QIcon(QStringLiteral(":/image/text.png")));
        tabs->setTabText(1, tr("Charts"));
        tabs->setTabIcon(1, QIcon(QStringLiteral(":/image/quxian.png")));
        tabs->setCurrentIndex(0);
    }
    const QRegularExpression chartTabs(QStringLiteral("tabWidgetCH[0-9]{1,}Charts"));
    for (QTabWidget *tabs : tabWidgets) {
        if (!chartTabs.match(tabs->objectName()).hasMatch())
            continue;
        tabs->setTabText(0, tr("Voltage"));
        tabs->setTabIcon(0, QIcon(QStringLiteral(":/image/voltage.png")));
        tabs->setTabText(1, tr("Current"));
        tabs->setTabIcon(1, QIcon(QStringLiteral(":/image/current.png")));
        tabs->setTabText(2, tr("Power"));
        tabs->setTabIcon(2, QIcon(QStringLiteral(":/image/power.png")));
        tabs->setCurrentIndex(0);
    }

    ui->btnOvp->setVisible(false);
    ui->btnOcp->setVisible(false);
}

// "Open session…" and "Sequence…" have a tool bar of their own at the
// start of the top tool bar row, so the main tool bar keeps its commands
// and its stretch.
void MainWindow::addToolsToolBar(QAction *sequenceAction)
{
    auto tools = new QToolBar(tr("Tools"), this);
    tools->setObjectName(QStringLiteral("toolbarTools"));
    tools->setIconSize(ui->mainToolBar->iconSize());
    tools->setToolButtonStyle(ui->mainToolBar->toolButtonStyle());
    auto openSession = tools->addAction(QIcon(QStringLiteral(":/image/text.png")), tr("Open session…"));
    openSession->setObjectName(QStringLiteral("actionOpenSession"));
    openSession->setToolTip(tr("Open a recorded session log in a viewer"));
    connect(openSession, &QAction::triggered, this, &MainWindow::slotOpenSession);
    sequenceAction->setObjectName(QStringLiteral("actionSequence"));
    sequenceAction->setText(tr("Sequence…"));
    sequenceAction->setIcon(QIcon(QStringLiteral(":/image/sequence.png")));
    tools->addAction(sequenceAction);
    insertToolBar(ui->mainToolBar, tools);
}

void MainWindow::connectDriverSignals()
{
    if (!dmm)
        return;
    QObject *driver = dmm->object();
    connect(driver, SIGNAL(opened()), this, SLOT(slotDmmOpened()));
    connect(driver, SIGNAL(closed()), this, SLOT(slotDmmClosed()));
    connect(driver, SIGNAL(message(QString)), this, SLOT(slotDmmMessage(QString)));
    // The report slots touch widgets, so the driver emits these on the GUI thread.
    connect(driver, SIGNAL(updateInstrument(quint8)), this, SLOT(slotUpdateInstrument(quint8)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateVersion(QString)), this, SLOT(slotUpdateVersion(QString)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateOutput(bool)), this, SLOT(slotUpdateOutput(bool)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateOutputTrack(quint8)), this, SLOT(slotUpdateOuputTrack(quint8)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateCx(quint8,quint8)), this, SLOT(slotUpdateCx(quint8,quint8)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateSPMode(quint8)), this, SLOT(slotUpdateSPMode(quint8)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateSource(quint8,quint8,QString)), this,
            SLOT(slotUpdateSource(quint8,quint8,QString)), Qt::DirectConnection);
    connect(driver, SIGNAL(updateData(QList<DmmData*>)), this, SLOT(slotUpdateData(QList<DmmData*>)),
            Qt::DirectConnection);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    readOptions();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (automation->isSequenceRunning()
        && QMessageBox::question(this, QString(), tr("A sequence is running. Stop it and close the window?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
               != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    automation->windowClosing();
    if (dmm)
        dmm->close();
    writeOptions();
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu && watched->objectName().startsWith(kChartPrefix)) {
        auto menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(ui->actionSaveImage);
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
    }
    // The chart still receives the event.
    return QMainWindow::eventFilter(watched, event);
}

// ---- Connection ----

void MainWindow::on_actConnect_triggered()
{
    if (!myDmm || !dmm)
        return;
    automation->connectRequested();
    DlgDevChoose dialog(myDmm->portType(), this);
    dialog.cbRS232No->setCurrentText(myDmm->serialPortNum());
    if (dialog.exec() != QDialog::Accepted)
        return;
    connectTo(dialog.portType(), dialog.cbRS232No->currentText());
}

void MainWindow::connectAtStart(int portType, const QString &portName)
{
    if (myDmm && dmm)
        connectTo(portType, portName);
}

RemotePort *MainWindow::remotePort() const
{
    return remote;
}

void MainWindow::connectTo(int portType, const QString &rs232Name)
{
    myDmm->setPortType(portType);
    switch (myDmm->portType()) {
    case kPortUsb:
        serialDev = visaUsb ? qobject_cast<ISerialDev *>(visaUsb->object()) : nullptr;
        if (serialDev)
            connect(serialDev->object(), SIGNAL(usbRefreshed(int)), this, SLOT(slotUSBRefreshed(int)));
        break;
    case kPortRs232:
        serialDev = visaSerial ? qobject_cast<ISerialDev *>(visaSerial->object()) : nullptr;
        myDmm->setSerialPortNum(rs232Name);
        if (visaSerial)
            visaSerial->setPortName(myDmm->serialPortNum());
        break;
    default:
        break; // LAN cannot be chosen; the transport stays as it was
    }

    // A driver that refuses says why through message(), which the status bar keeps.
    if (!dmm->open(serialDev))
        QMessageBox::critical(this, QString(), tr("Failed to connect."), QMessageBox::Ok);
}

void MainWindow::on_actDisconnect_triggered()
{
    if (!dmm)
        return;
    ISerialDev *usb = visaUsb ? qobject_cast<ISerialDev *>(visaUsb->object()) : nullptr;
    if (serialDev && serialDev == usb)
        disconnect(serialDev->object(), SIGNAL(usbRefreshed(int)), this, SLOT(slotUSBRefreshed(int)));
    connectionStatus->closing();
    automation->disconnectRequested();
    dmm->close();
}

void MainWindow::slotUSBRefreshed(int count)
{
    qCDebug(lcWindow) << "MainWindow::slotUSBRefreshed" << count;
}

void MainWindow::slotDmmOpened()
{
    ui->actConnect->setEnabled(false);
    ui->actDisconnect->setEnabled(!ui->actConnect->isEnabled());
    connectionStatus->opened();
    automation->connectionOpened();
}

void MainWindow::slotDmmClosed()
{
    ui->actConnect->setEnabled(true);
    ui->actDisconnect->setEnabled(!ui->actConnect->isEnabled());
    display->showNoInstrument();
    connectionStatus->closed();
    automation->connectionClosed(serialDev);
}

// Not a message box: the driver speaks while readings are being logged.
void MainWindow::slotDmmMessage(QString text)
{
    connectionStatus->driverSaid(text);
}

void MainWindow::slotUpdateVersion(QString version)
{
    connectionStatus->identified(version);
}

void MainWindow::slotUpdateOuputTrack(quint8) {}

// ---- Window commands ----

void MainWindow::on_actionClose_triggered()
{
    close();
}

void MainWindow::on_actionPrint_triggered() {}
void MainWindow::on_btnOcp_clicked() {}

void MainWindow::on_actionOptions_triggered()
{
    if (!myDmm)
        return;
    auto dialog = new DialogOptions(fixedLanguage, this);
    dialog->samplePointsSpinBox()->setValue(myDmm->samplePoints());
    dialog->infiniteCheckBox()->setChecked(myDmm->isInfinite());
    dialog->sampleRateSpinBox()->setValue(myDmm->sampleRate());
    dialog->skipRepeatCheckBox()->setChecked(myDmm->skipRepeat());
    dialog->samplePointsSpinBox()->setEnabled(!myDmm->isInfinite());
    dialog->setLanguage(language == kLanguageOther ? 1 : 0);
    remote->fillOptions(dialog);

    if (dialog->exec() == QDialog::Accepted) {
        myDmm->setSampleRate(dialog->sampleRateSpinBox()->value());
        myDmm->setInfinite(dialog->infiniteCheckBox()->isChecked());
        myDmm->setSkipRepeat(dialog->skipRepeatCheckBox()->isChecked());
        myDmm->setSamplePoints(dialog->samplePointsSpinBox()->value());
        const QString chosen = dialog->languageIndex() == 1 ? kLanguageOther : kLanguageEnglish;
        if (chosen != language)
            language = chosen;
        remote->takeOptions(dialog);
    }
    delete dialog;
}

void MainWindow::on_actionExport_triggered()
{
    exporter->exportRecords(models, columns);
}

void MainWindow::on_actionSaveImage_triggered()
{
    exporter->saveChartImage(selectedChart());
}

void MainWindow::slotOpenSession()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sessions");
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open a session log"), folder,
                                                          QStringLiteral("CSV (*.csv);;All files (*)"));
    if (!fileName.isEmpty())
        openSession(fileName);
}

void MainWindow::openSession(const QString &fileName)
{
    SessionViewer::open(fileName, this);
}

// The chart on the current chart tab of the selected channel's page, whatever
// that page shows; null when the layout has no such chart.
DMMChart *MainWindow::selectedChart() const
{
    const quint8 channel = quint8(ui->tabWidgetCHs->currentIndex()) + 1;
    auto chartTabs = findChild<QTabWidget *>(QStringLiteral("tabWidgetCH%1Charts").arg(channel));
    if (!chartTabs)
        return nullptr;
    static const QString quantityWords[] = {QStringLiteral("Voltage"), QStringLiteral("Current"),
                                            QStringLiteral("Power")};
    const quint8 page = quint8(chartTabs->currentIndex());
    const QString quantity = page < std::size(quantityWords) ? quantityWords[page] : QString();
    return findChild<DMMChart *>(QStringLiteral("chartCH%1%2").arg(channel).arg(quantity));
}

void MainWindow::on_actionManual_triggered()
{
    const QString manual = QCoreApplication::applicationDirPath() + QStringLiteral("/Software User Manual.pdf");
    if (!openWithDesktop(manual))
        QMessageBox::information(this, QString(), tr("No program to show PDF files was found. The manual is:\n%1")
                                                      .arg(QDir::toNativeSeparators(manual)));
}

// ---- Front-panel commands ----

void MainWindow::on_btnOutput_clicked()
{
    if (myDmm)
        myDmm->setOutput(!myDmm->isOutputOn());
}

void MainWindow::on_spinVolt_valueChanged(double)
{
    if (ignoreVoltChange)
        return; // the instrument's state, not the user
    timerSetVolt->start(kSetPointDelayMs);
}

void MainWindow::on_sliderVolt_valueChanged(int value)
{
    ui->spinVolt->setValue(value / double(kVoltSliderSteps));
}

void MainWindow::on_spinCurr_valueChanged(double)
{
    if (ignoreCurrChange)
        return;
    timerSetCurr->start(kSetPointDelayMs);
}

void MainWindow::on_sliderCurr_valueChanged(int value)
{
    ui->spinCurr->setValue(value / double(kCurrSliderSteps));
}

void MainWindow::slotTimerSetVoltEvent()
{
    timerSetVolt->stop();
    if (myDmm)
        myDmm->setVoltage(ui->spinVolt->value());
}

void MainWindow::slotTimerSetCurrEvent()
{
    timerSetCurr->stop();
    if (myDmm)
        myDmm->setCurrent(ui->spinCurr->value());
}

void MainWindow::on_btnSer_shortPressed()
{
    if (myDmm)
        myDmm->setSPMode(spMode == ReportedTracking::Series ? kSendIndependent : kSendSeries);
}

void MainWindow::on_btnSer_longPressed()
{
    if (myDmm)
        myDmm->setSPMode(kSendIndependent);
}

void MainWindow::on_btnPara_shortPressed()
{
    if (myDmm)
        myDmm->setSPMode(spMode == ReportedTracking::Parallel ? kSendIndependent : kSendParallel);
}

void MainWindow::on_btnPara_longPressed()
{
    on_btnSer_longPressed();
}

void MainWindow::slotChSelect()
{
    auto button = qobject_cast<QPushButton *>(sender());
    if (!button || !myDmm)
        return;
    // A set point still waiting was meant for the channel selected now, so it
    // goes out before the switch, not later to the next channel.
    if (timerSetVolt->isActive())
        slotTimerSetVoltEvent();
    if (timerSetCurr->isActive())
        slotTimerSetCurrEvent();
    myDmm->selectChannel(quint8(button->property("CH").toInt()));
}

void MainWindow::slotBtnMShortPressed()
{
    auto button = qobject_cast<MyButton *>(sender());
    if (button && myDmm)
        myDmm->memoryShortPress(button->property("Memory").toInt());
}

void MainWindow::slotBtnMLongPressed()
{
    auto button = qobject_cast<MyButton *>(sender());
    if (button && myDmm)
        myDmm->memoryLongPress(button->property("Memory").toInt());
}

// ---- Status display ----

bool MainWindow::isOutputOn() const
{
    return myDmm && myDmm->isOutputOn();
}

void MainWindow::slotUpdateInstrument(quint8 ch)
{
    // The new channel's limits may clamp the set-point boxes. Like a read
    // back, that is not the user's change and is never sent; the driver
    // reports the channel's own set points next.
    ignoreVoltChange = ignoreCurrChange = true;
    display->showSelectedChannel(ch);
    ignoreVoltChange = ignoreCurrChange = false;
}

void MainWindow::slotUpdateOutput(bool on)
{
    display->showOutput(on);
}

void MainWindow::slotUpdateCx(quint8 ch, quint8 cc)
{
    display->showRegulation(ch, cc, isOutputOn());
}

void MainWindow::slotUpdateSPMode(quint8 mode)
{
    spMode = mode;
    display->showTrackingMode(mode);
}

void MainWindow::slotUpdateSource(quint8 ch, quint8 kind, QString value)
{
    if (!myDmm || ch != myDmm->currentChannel())
        return;
    const double reported = value.toDouble();
    QTimer *timer = nullptr;
    QDoubleSpinBox *spin = nullptr;
    QSlider *slider = nullptr;
    bool *ignoreChange = nullptr;
    int steps = 0;
    if (kind == 0) {
        timer = timerSetVolt, spin = ui->spinVolt, slider = ui->sliderVolt;
        ignoreChange = &ignoreVoltChange, steps = kVoltSliderSteps;
    } else if (kind == 1) {
        timer = timerSetCurr, spin = ui->spinCurr, slider = ui->sliderCurr;
        ignoreChange = &ignoreCurrChange, steps = kCurrSliderSteps;
    } else {
        return;
    }
    // While the user is changing the set point, the instrument's value must not overwrite it.
    if (timer->isActive())
        return;
    if (spin->value() != reported) {
        // The box signals only a real change after rounding to its decimals; the
        // flag must not outlive this call, or it would swallow the user's next change.
        *ignoreChange = true;
        spin->setValue(reported);
        *ignoreChange = false;
    }
    // Rounded, not truncated: 0.29 V is 28.999… hundredths in binary.
    const int position = qRound(reported * steps);
    if (!timer->isActive() && slider->value() != position)
        slider->setValue(position);
}

void MainWindow::updateDisplays(const QList<DmmData *> &records)
{
    display->showReadings(records, isOutputOn());
}

// ---- Recording ----

void MainWindow::slotUpdateData(QList<DmmData *> records)
{
    updateDisplays(records);
    // A stop condition may have stopped recording; the displays go on.
    automation->readingArrived(records);
    if (automation->isRecordingStopped())
        qDeleteAll(records);
    else
        recorder->record(records);
}

// The recorder says so once each time recording reaches the limit.
void MainWindow::showSampleLimitReached(int samplePoints)
{
    status->show(StatusMessages::Condition::RecordingLimit,
                 tr("Recording stopped: the limit of %1 sample points is reached. To record more, "
                    "raise \"Sample points\" or tick \"Infinite\" in Options.")
                     .arg(samplePoints));
}

void MainWindow::on_actionDelete_triggered()
{
    if (QMessageBox::question(this, QString(), tr("Are you sure you want to delete this data?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        != QMessageBox::Yes)
        return;
    // The charts follow; the next recorded reading starts a new session file.
    recorder->clear();
}

// ---- Settings ----

// Applied in file order as they are read; the driver's keys only when a
// driver is there to take them.
void MainWindow::readOptions()
{
    OptionsFile(OptionsFile::defaultPath()).read([this](const QString &key, const QString &text) {
        if (key == QLatin1String("Geometry"))
            restoreGeometry(OptionsFile::fromHex(text));
        else if (key == QLatin1String("State"))
            restoreState(OptionsFile::fromHex(text), 0);
        else if (key == QLatin1String("FixedLanguage"))
            fixedLanguage = OptionsFile::toBool(text);
        else if (key == QLatin1String("Language"))
            language = text;
        else if (!myDmm)
            return;
        else if (key == QLatin1String("SamplePoints"))
            myDmm->setSamplePoints(OptionsFile::toInt(text));
        else if (key == QLatin1String("Infinite"))
            myDmm->setInfinite(OptionsFile::toBool(text));
        else if (key == QLatin1String("SampleRate"))
            myDmm->setSampleRate(OptionsFile::toInt(text));
        else if (key == QLatin1String("SkipRepeat"))
            myDmm->setSkipRepeat(OptionsFile::toBool(text));
        else if (key == QLatin1String("PortType"))
            myDmm->setPortType(OptionsFile::toInt(text));
        else if (key == QLatin1String("SerialPortNum"))
            myDmm->setSerialPortNum(text);
    });
}

void MainWindow::writeOptions()
{
    QList<OptionsFile::Entry> entries = {
        {QStringLiteral("Geometry"), OptionsFile::toHex(saveGeometry())},
        {QStringLiteral("State"), OptionsFile::toHex(saveState(0))},
        {QStringLiteral("FixedLanguage"), OptionsFile::fromBool(fixedLanguage)},
        {QStringLiteral("Language"), language},
    };
    if (myDmm) {
        entries << OptionsFile::Entry{QStringLiteral("SamplePoints"), OptionsFile::fromInt(myDmm->samplePoints())}
                << OptionsFile::Entry{QStringLiteral("Infinite"), OptionsFile::fromBool(myDmm->isInfinite())}
                << OptionsFile::Entry{QStringLiteral("SampleRate"), OptionsFile::fromInt(myDmm->sampleRate())}
                << OptionsFile::Entry{QStringLiteral("SkipRepeat"), OptionsFile::fromBool(myDmm->skipRepeat())}
                << OptionsFile::Entry{QStringLiteral("PortType"), OptionsFile::fromInt(myDmm->portType())}
                << OptionsFile::Entry{QStringLiteral("SerialPortNum"), myDmm->serialPortNum()};
    }
    if (!OptionsFile(OptionsFile::defaultPath()).write(entries))
        QMessageBox::warning(this, QString(), tr("Can not open file."), QMessageBox::Ok);
}

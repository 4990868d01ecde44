#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "chartquantity.h"
#include "columninfo.h"
#include "datamodel.h"
#include "dialogoptions.h"
#include "dlgdevchoose.h"
#include "dmmchart.h"
#include "dmmdata.h"
#include "elidedlabel.h"
#include "driverdiscovery.h"
#include "exportprogress.h"
#include "idmm.h"
#include "imydmm.h"
#include "iserialdev.h"
#include "ivisaserial.h"
#include "ivisausb.h"
#include "optionsfile.h"
#include "recordpointsource.h"
#include "recordrowheader.h"
#include "recordsexport.h"
#include "sessionlog.h"
#include "statusdisplay.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegExp>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>

namespace {
constexpr int kSetPointDelayMs = 2000;
// Slider steps: hundredths of a volt, thousandths of an ampere.
constexpr int kVoltSliderSteps = 100;
constexpr int kCurrSliderSteps = 1000;
constexpr int kChannelCount = 3;
// The session log's file in the status bar leaves the rest to the messages.
constexpr int kSessionFileMaxWidthPx = 380;

const QString kModelName = QStringLiteral("LUMA4200");
const QString kVersion = QStringLiteral("1.0");
const QString kChartPattern = QStringLiteral("chartCH[0-9]{1,}[Voltage,Current,Power]");
const QString kTablePattern = QStringLiteral("tableViewCH[0-9]{1,}");
const QString kChartPrefix = QStringLiteral("chartCH");

// Instrument codes: tracking mode as the driver reports it, and as it is sent.
constexpr quint8 kReportedParallel = 2;
constexpr quint8 kReportedSeries = 3;
constexpr quint8 kSendIndependent = 0;
constexpr quint8 kSendSeries = 1;
constexpr quint8 kSendParallel = 2;
constexpr int kPortUsb = 0;
constexpr int kPortRs232 = 2;

// The language choice as the settings file keeps it.
const QString kLanguageEnglish = QStringLiteral("EN");
const QString kLanguageOther = QStringLiteral("OTHER");

void openWithDesktop(const QString &fileName)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
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
      sampleLimitShown(false),
      sessionLog(nullptr)
{
    Q_INIT_RESOURCE(resources);
    ui->setupUi(this);
    display = new StatusDisplay(this, ui);

    const DriverInterfaces drivers = DriverDiscovery::discover();
    dmm = drivers.dmm;
    myDmm = drivers.myDmm;
    serialDev = drivers.serialDev;
    visaUsb = drivers.visaUsb;
    visaSerial = drivers.visaSerial;
    // Without a complete driver there is nothing to show: end at the first turn of the event loop.
    if (!drivers.complete())
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);

    const struct { const char *title; int widthFactor; } columnTitles[] = {
        {QT_TR_NOOP("No."), 1}, {QT_TR_NOOP("Date/Time"), 3}, {QT_TR_NOOP("Voltage(V)"), 2},
        {QT_TR_NOOP("Current(A)"), 2}, {QT_TR_NOOP("Power(W)"), 2}, {QT_TR_NOOP("SER/PER"), 2},
        {QT_TR_NOOP("Flag"), 2},
    };
    for (const auto &column : columnTitles)
        columns << new ColumnInfo{tr(column.title), column.widthFactor};
    for (quint8 channel = 1; channel <= kChannelCount; ++channel)
        models << new DataModel(columns, channel);
    timerSetVolt = new QTimer;
    timerSetCurr = new QTimer;

    dressForm();
    configureCharts();
    setWindowTitle(QStringLiteral("%1 v%2").arg(kModelName, kVersion));
    connectDriverSignals();
    startSessionLog();

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
    delete display;
    delete ui;
    // The tables, destroyed later with the window, let go of a model when it is destroyed.
    qDeleteAll(models);
    qDeleteAll(columns);
    // The set-point timers have no parent; a pending set point dies with the window.
    delete timerSetVolt;
    delete timerSetCurr;
}

// Sessions go to "sessions" in the user's data folder (named after the
// application, see main.cpp); the status bar shows
// the running session's file and says when the log has to stop.
void MainWindow::startSessionLog()
{
    sessionLog = new SessionLog(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sessions"), this);

    // A long path is shortened at its start rather than crowding out the
    // messages left of it; the whole path is its tool tip.
    auto sessionFile = new ElidedLabel(ui->statusBar);
    sessionFile->setObjectName(QStringLiteral("lblSessionFile"));
    sessionFile->setMaximumWidth(kSessionFileMaxWidthPx);
    ui->statusBar->addPermanentWidget(sessionFile);
    connect(sessionLog, &SessionLog::fileChanged, sessionFile, [sessionFile](const QString &path) {
        const QString text = path.isEmpty() ? QString() : tr("Session log: %1").arg(QDir::toNativeSeparators(path));
        sessionFile->setText(text);
        sessionFile->setToolTip(text);
    });
    connect(sessionLog, &SessionLog::failed, this, [this](const QString &where, const QString &reason) {
        ui->statusBar->showMessage(tr("The session log stopped (%1: %2). The tables go on recording.")
                                       .arg(QDir::toNativeSeparators(where), reason));
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

    const int columnWidths[] = {50, 130, 100, 100, 100, 60, 60};
    const QRegExp tableName(kTablePattern, Qt::CaseSensitive, QRegExp::RegExp);
    for (QTableView *table : findChildren<QTableView *>()) {
        if (tableName.indexIn(table->objectName()) < 0)
            continue;
        recordTables << table;
        // Recording appends a row per reading for as long as it runs.
        RecordRowHeader::install(table);
        table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        table->horizontalHeader()->setSectionsClickable(false);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        const int channel = table->objectName().right(1).toInt();
        if (channel >= 1 && channel <= models.size())
            table->setModel(models.at(channel - 1));
        for (int column = 0; column < int(std::size(columnWidths)); ++column)
            table->setColumnWidth(column, columnWidths[column]);
    }

    ui->btnOvp->setVisible(false);
    ui->btnOcp->setVisible(false);
}

void MainWindow::configureCharts()
{
    constexpr int kChartLeftMargin = 88;
    constexpr int kChartBottomMargin = 66;
    const QRegExp chartName(kChartPattern, Qt::CaseSensitive, QRegExp::RegExp);
    for (DMMChart *chart : findChildren<DMMChart *>()) {
        if (chartName.indexIn(chart->objectName()) < 0)
            continue;
        if (const ChartQuantity *quantity = ChartQuantity::forChart(chart->objectName())) {
            chart->setYTitle(tr(quantity->title));
            chart->setLabelDecimals(quantity->labelDecimals);
            // The channel's table holds the chart's readings row for row.
            const int channel = ChartQuantity::channelOf(chart->objectName());
            if (channel >= 1 && channel <= models.size())
                chart->setPointSource(std::make_unique<RecordPointSource>(models.at(channel - 1), quantity));
        }
        chart->setLeftMargin(kChartLeftMargin);
        chart->setBottomMargin(kChartBottomMargin);
        chart->setXTitle(tr("Date/Time"));
        chart->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
        chart->installEventFilter(this);
        charts << chart;
    }
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
    DlgDevChoose dialog(myDmm->portType(), this);
    dialog.cbRS232No->setCurrentText(myDmm->serialPortNum());
    if (dialog.exec() != QDialog::Accepted)
        return;

    myDmm->setPortType(dialog.portType());
    switch (myDmm->portType()) {
    case kPortUsb:
        serialDev = visaUsb ? qobject_cast<ISerialDev *>(visaUsb->object()) : nullptr;
        if (serialDev)
            connect(serialDev->object(), SIGNAL(usbRefreshed(int)), this, SLOT(slotUSBRefreshed(int)));
        break;
    case kPortRs232:
        serialDev = visaSerial ? qobject_cast<ISerialDev *>(visaSerial->object()) : nullptr;
        myDmm->setSerialPortNum(dialog.cbRS232No->currentText());
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
    dmm->close();
}

void MainWindow::slotUSBRefreshed(int count)
{
    qDebug() << "MainWindow::slotUSBRefreshed" << count;
}

void MainWindow::slotDmmOpened()
{
    ui->actConnect->setEnabled(false);
    ui->actDisconnect->setEnabled(!ui->actConnect->isEnabled());
}

void MainWindow::slotDmmClosed()
{
    ui->actConnect->setEnabled(true);
    ui->actDisconnect->setEnabled(!ui->actConnect->isEnabled());
    display->showNoInstrument();
}

// Not a message box: the driver speaks while readings are being logged.
void MainWindow::slotDmmMessage(QString text)
{
    ui->statusBar->showMessage(text);
}

void MainWindow::slotUpdateVersion(QString) {}
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

    if (dialog->exec() == QDialog::Accepted) {
        myDmm->setSampleRate(dialog->sampleRateSpinBox()->value());
        myDmm->setInfinite(dialog->infiniteCheckBox()->isChecked());
        myDmm->setSkipRepeat(dialog->skipRepeatCheckBox()->isChecked());
        myDmm->setSamplePoints(dialog->samplePointsSpinBox()->value());
        const QString chosen = dialog->languageIndex() == 1 ? kLanguageOther : kLanguageEnglish;
        if (chosen != language)
            language = chosen;
    }
    delete dialog;
}

void MainWindow::on_actionExport_triggered()
{
    QString filter;
    QString fileName = QFileDialog::getSaveFileName(this, tr("Export the datas to a excel file."), QString(),
                                                    RecordsExport::fileFilters(), &filter);
    if (fileName.isEmpty())
        return;
    const QString typed = fileName;
    fileName = RecordsExport::withSuffix(fileName, filter);
    if (!mayReplaceWithAddedSuffix(typed, fileName))
        return;
    if (!exportRecords(fileName)) {
        QMessageBox::information(this, QString(), tr("The datas is exported failed."), QMessageBox::Ok);
        return;
    }
    if (QMessageBox::question(this, QString(),
                              tr("The datas is exported successfully.\r\nDo you want to open this file?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        == QMessageBox::Yes)
        openWithDesktop(fileName);
}

// The file dialog asked about replacing the name as typed; a suffix added
// afterwards may name another file that exists, which is asked about here.
bool MainWindow::mayReplaceWithAddedSuffix(const QString &typed, const QString &fileName)
{
    if (fileName == typed || !QFileInfo::exists(fileName))
        return true;
    const QString question = tr("%1 already exists.\nDo you want to replace it?");
    return QMessageBox::question(this, QString(), question.arg(QFileInfo(fileName).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
           == QMessageBox::Yes;
}

bool MainWindow::exportRecords(const QString &fileName)
{
    const RecordsExport records(models, columns);
    ExportProgress progress(this);
    return records.write(fileName, [&progress](int written, int total) { progress.report(written, total); });
}

void MainWindow::on_actionSaveImage_triggered()
{
    const QString png = QStringLiteral("PNG File(*.png)");
    QString filter;
    QString fileName = QFileDialog::getSaveFileName(this, tr("Export the chart to a JPEG file."), QString(),
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

    DMMChart *chart = selectedChart();
    if (!chart || !chart->saveImage(fileName)) {
        ui->statusBar->showMessage(tr("The chart image was not saved to %1.").arg(QDir::toNativeSeparators(fileName)));
        return;
    }

    if (QMessageBox::question(this, QString(),
                              tr("The chart is exported successfully.\r\nDo you want to open this file?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        == QMessageBox::Yes)
        openWithDesktop(fileName);
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
    openWithDesktop(QCoreApplication::applicationDirPath() + QStringLiteral("/Software User Manual.pdf"));
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
        myDmm->setSPMode(spMode == kReportedSeries ? kSendIndependent : kSendSeries);
}

void MainWindow::on_btnSer_longPressed()
{
    if (myDmm)
        myDmm->setSPMode(kSendIndependent);
}

void MainWindow::on_btnPara_shortPressed()
{
    if (myDmm)
        myDmm->setSPMode(spMode == kReportedParallel ? kSendIndependent : kSendParallel);
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
    if (!recordDelivery(records))
        qDeleteAll(records);
}

// Appends one record per channel to the tables and charts; false when the
// delivery is not kept (output off, sample-point limit reached, or not one
// record per channel), in which case the caller still owns every record.
bool MainWindow::recordDelivery(const QList<DmmData *> &records)
{
    if (!myDmm || !myDmm->isOutputOn())
        return false;
    if (!myDmm->isInfinite() && models.first()->rowCount() >= myDmm->samplePoints()) {
        showSampleLimitReached(myDmm->samplePoints());
        return false;
    }
    // The tables must stay row for row in step, so a short delivery is not recorded.
    if (records.size() < models.size())
        return false;

    for (int i = 0; i < models.size(); ++i)
        models.at(i)->append(records.at(i));
    // A driver that sends more than one record per channel keeps nothing extra.
    qDeleteAll(records.mid(models.size()));
    sessionLog->append(*records.at(0), *records.at(1), *records.at(2));

    for (QTableView *table : qAsConst(recordTables))
        table->scrollToBottom();

    for (DMMChart *chart : qAsConst(charts)) {
        const int channel = ChartQuantity::channelOf(chart->objectName());
        const ChartQuantity *quantity = ChartQuantity::forChart(chart->objectName());
        if (channel < 1 || channel > models.size() || !quantity)
            continue;
        chart->addPoint(quantity->makePoint(*records.at(channel - 1)), 0);
    }
    sampleLimitShown = false;
    return true;
}

// Once each time recording reaches the limit, not at every delivery it drops.
void MainWindow::showSampleLimitReached(int samplePoints)
{
    if (sampleLimitShown)
        return;
    sampleLimitShown = true;
    ui->statusBar->showMessage(tr("Recording stopped: the limit of %1 sample points is reached. To record more, "
                                  "raise \"Sample points\" or tick \"Infinite\" in Options.")
                                   .arg(samplePoints));
}

void MainWindow::on_actionDelete_triggered()
{
    if (QMessageBox::question(this, QString(), tr("Are you sure you want to delete this data?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        != QMessageBox::Yes)
        return;
    for (DataModel *model : qAsConst(models))
        model->clear();
    for (DMMChart *chart : qAsConst(charts))
        chart->clear();
    // The next recorded reading starts a new session file; the old one stays.
    sessionLog->close();
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

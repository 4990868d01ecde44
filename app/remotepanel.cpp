#include "remotepanel.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "idmm.h"
#include "automation.h"
#include "imydmm.h"
#include "readingrow.h"
#include "readingtable.h"
#include "recorder.h"

#include <QTimer>

namespace {
const QByteArray kMaker = QByteArrayLiteral("TESSEL");
const QByteArray kModel = QByteArrayLiteral("LUMA4200");
// Tracking as the driver reports it, by the code sent: independent, series, parallel.
constexpr quint8 kReportedTracking[] = {ReportedTracking::Independent, ReportedTracking::Series,
                                        ReportedTracking::Parallel};

bool isChannel(int channel)
{
    return channel >= 1 && channel <= ReadingTable::kChannelCount;
}

// A set point shown as the user would have entered it, but without arming the
// panel's delay: the caller sends it at once.
void showSetPoint(QTimer *delay, bool &ignoreChange, QDoubleSpinBox *spin, QSlider *slider, double value, int steps)
{
    delay->stop();
    ignoreChange = true;
    spin->setValue(value);
    slider->setValue(qRound(spin->value() * steps));
    ignoreChange = false;
}
} // namespace

RemotePanel::RemotePanel(MainWindow *window) : QObject(window), window(window)
{
    if (!window->dmm)
        return;
    QObject *driver = window->dmm->object();
    connect(driver, SIGNAL(updateSource(quint8,quint8,QString)), this,
            SLOT(slotUpdateSource(quint8,quint8,QString)));
    connect(driver, SIGNAL(updateOutput(bool)), this, SLOT(slotUpdateOutput(bool)));
    connect(driver, SIGNAL(updateSPMode(quint8)), this, SLOT(slotUpdateSPMode(quint8)));
    connect(driver, SIGNAL(updateInstrument(quint8)), this, SIGNAL(channelReported()));
    connect(driver, SIGNAL(closed()), this, SLOT(slotDmmClosed()));
}

QByteArray RemotePanel::identity()
{
    QByteArray serial;
    if (isConnected())
        serial = window->dmm->object()->property("instrumentSerial").toString().toLatin1();
    return kMaker + ',' + kModel + ',' + (serial.isEmpty() ? QByteArrayLiteral("0") : serial) + ','
           + QByteArrayLiteral(LUMA_VERSION);
}

bool RemotePanel::isConnected()
{
    // Follows the driver's opened() and closed(), as the Disconnect action does.
    return window->myDmm && window->ui->actDisconnect->isEnabled();
}

int RemotePanel::selectedChannel()
{
    return window->myDmm ? window->myDmm->currentChannel() : 0;
}

void RemotePanel::selectChannel(int channel)
{
    const QList<QPushButton *> keys = {window->ui->btnCh1Sel, window->ui->btnCh2Sel, window->ui->btnCh3Sel};
    if (isChannel(channel))
        keys.at(channel - 1)->click();
}

// The driver's commands as a script sends them: logged with origin "remote".
IMyDmm *RemotePanel::commands() const
{
    return window->automation->remoteCommands();
}

void RemotePanel::setVoltage(double volts)
{
    Ui::MainWindow *ui = window->ui;
    showSetPoint(window->timerSetVolt, window->ignoreVoltChange, ui->spinVolt, ui->sliderVolt, volts,
                 MainWindow::kVoltSliderSteps);
    commands()->setVoltage(ui->spinVolt->value());
    if (isChannel(selectedChannel()))
        this->volts[selectedChannel() - 1] = ui->spinVolt->value();
}

void RemotePanel::setCurrent(double amperes)
{
    Ui::MainWindow *ui = window->ui;
    showSetPoint(window->timerSetCurr, window->ignoreCurrChange, ui->spinCurr, ui->sliderCurr, amperes,
                 MainWindow::kCurrSliderSteps);
    commands()->setCurrent(ui->spinCurr->value());
    if (isChannel(selectedChannel()))
        this->amperes[selectedChannel() - 1] = ui->spinCurr->value();
}

void RemotePanel::setOutput(bool on)
{
    commands()->setOutput(on);
    outputOn = on;
}

void RemotePanel::setTracking(int mode)
{
    if (mode < 0 || mode >= int(std::size(kReportedTracking)))
        return;
    commands()->setSPMode(quint8(mode));
    trackMode = kReportedTracking[mode];
}

std::optional<double> RemotePanel::voltageSetPoint(int channel)
{
    return isChannel(channel) ? volts[channel - 1] : std::nullopt;
}

std::optional<double> RemotePanel::currentSetPoint(int channel)
{
    return isChannel(channel) ? amperes[channel - 1] : std::nullopt;
}

std::optional<bool> RemotePanel::isOutputOn()
{
    return outputOn;
}

std::optional<int> RemotePanel::tracking()
{
    return trackMode;
}

// ---- The recorded readings: the record tables, in step row for row ----

std::optional<RemoteReading> RemotePanel::newestReading(int channel)
{
    const ReadingTable &readings = window->recorder->readings();
    const int row = readings.count() - 1;
    if (!isChannel(channel) || row < 0)
        return std::nullopt;
    const auto text = [&](ReadingTable::Quantity quantity) {
        const int series = ReadingTable::series(channel, quantity);
        return series < 0 ? QString() : readings.text(row, series);
    };
    return RemoteReading{text(ReadingTable::Voltage), text(ReadingTable::Current), text(ReadingTable::Power)};
}

int RemotePanel::recordedCount()
{
    return window->recorder->readings().count();
}

QByteArray RemotePanel::recordedLine(int index)
{
    const ReadingTable &readings = window->recorder->readings();
    if (index < 0 || index >= readings.count())
        return QByteArray();
    return ReadingRow::line(readings, index);
}

// ---- The driver's reports ----

void RemotePanel::slotUpdateSource(quint8 ch, quint8 kind, QString value)
{
    if (!isChannel(ch))
        return;
    if (kind == 0)
        volts[ch - 1] = value.toDouble();
    else if (kind == 1)
        amperes[ch - 1] = value.toDouble();
}

void RemotePanel::slotUpdateOutput(bool on)
{
    outputOn = on;
}

void RemotePanel::slotUpdateSPMode(quint8 mode)
{
    trackMode = mode;
}

// What the next instrument reports is unknown until it reports it.
void RemotePanel::slotDmmClosed()
{
    volts.fill(std::nullopt);
    amperes.fill(std::nullopt);
    outputOn.reset();
    trackMode.reset();
}

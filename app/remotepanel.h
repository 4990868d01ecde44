#ifndef REMOTEPANEL_H
#define REMOTEPANEL_H

#include "remoteinstrument.h"

#include <QObject>

#include <array>

class IMyDmm;
class MainWindow;

// The window as the SCPI server sees it. Every remote command goes through
// the same driver call as the front panel's key and shows on the panel at
// once: a channel is selected by pressing its key, and a set point fills the
// spin box and the slider and is sent without the panel's delay. Set points,
// output and tracking come from the driver's reports, or from the command
// that was sent after the last report.
class RemotePanel : public QObject, public RemoteInstrument
{
    Q_OBJECT
public:
    // The window must outlive the panel; its driver signals are connected here.
    explicit RemotePanel(MainWindow *window);

    QByteArray identity() override;
    bool isConnected() override;
    int selectedChannel() override;
    void selectChannel(int channel) override;
    void setVoltage(double volts) override;
    void setCurrent(double amperes) override;
    void setOutput(bool on) override;
    void setTracking(int mode) override;
    std::optional<double> voltageSetPoint(int channel) override;
    std::optional<double> currentSetPoint(int channel) override;
    std::optional<bool> isOutputOn() override;
    std::optional<int> tracking() override;
    std::optional<RemoteReading> newestReading(int channel) override;
    int recordedCount() override;
    QByteArray recordedLine(int index) override;

signals:
    // The instrument reported its selected channel.
    void channelReported();

private slots:
    // Connected by name to the driver's reports.
    void slotUpdateSource(quint8 ch, quint8 kind, QString value);
    void slotUpdateOutput(bool on);
    void slotUpdateSPMode(quint8 mode);
    void slotDmmClosed();

private:
    IMyDmm *commands() const;

    MainWindow *window;
    std::array<std::optional<double>, 3> volts;
    std::array<std::optional<double>, 3> amperes;
    std::optional<bool> outputOn;
    std::optional<int> trackMode; // as reported: 1 independent, 2 parallel, 3 series
};

#endif // REMOTEPANEL_H

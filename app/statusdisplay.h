#ifndef STATUSDISPLAY_H
#define STATUSDISPLAY_H

#include "accessiblenames.h"

#include <QCoreApplication>
#include <QList>

QT_BEGIN_NAMESPACE
class QLabel;
class QLCDNumber;
class QWidget;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class DmmData;

// Mirrors the instrument's state on the front panel: texts, style sheets and
// the limits of the set-point controls. It sends nothing to the instrument.
class StatusDisplay
{
    Q_DECLARE_TR_FUNCTIONS(StatusDisplay)

public:
    // The widgets are those of the window's form; some are found by name.
    StatusDisplay(QWidget *window, Ui::MainWindow *ui);

    // Highlights the channel's button and sets the limits of its set points.
    void showSelectedChannel(quint8 channel);
    void showOutput(bool on);
    // Channels 1 and 2 only; the flag is blank while the output is off.
    void showRegulation(quint8 channel, quint8 flag, bool outputOn);
    // Modes as the instrument reports them: 1 independent, 2 parallel, 3 series;
    // other values leave the display as it is.
    void showTrackingMode(quint8 mode);
    // Record i - 1 belongs to channel i. Measured texts with the output on,
    // set points with it off; channel 3's fixed voltage is highlighted.
    void showReadings(const QList<DmmData *> &records, bool outputOn);
    // No instrument is connected: nothing on the panel may look live. The
    // displays show dashes, the output OFF without its colour, and the flags,
    // the tracking mode and every highlight are blank until the instrument
    // reports again. The set-point controls keep their values and limits.
    void showNoInstrument();

private:
    void nameDisplays(AccessibleNames::Shown shown, const QString &text);
    void show(int channel, AccessibleNames::Quantity quantity, AccessibleNames::Shown shown, const QString &text);
    QLCDNumber *displayOf(int channel, AccessibleNames::Quantity quantity) const;
    void clearChannel3Highlight();
    void highlightChannel3Voltage(double volts);

    // The seven-segment displays of one channel, found by name once (the
    // form never changes); channel 3 has its voltage display only.
    struct ChannelDisplays
    {
        QLCDNumber *volt;
        QLCDNumber *curr;
        QLCDNumber *power;
    };

    QWidget *window;
    Ui::MainWindow *ui;
    QList<ChannelDisplays> displays; // channel 1 first
    QList<QLabel *> channel3Labels;
    // The channel 3 label shown highlighted; -1 before the first reading.
    int highlightedTenths = -1;
};

#endif // STATUSDISPLAY_H

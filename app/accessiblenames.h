#ifndef ACCESSIBLENAMES_H
#define ACCESSIBLENAMES_H

#include <QCoreApplication>

QT_BEGIN_NAMESPACE
class QWidget;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

// Names and descriptions that a screen reader reads for the window's
// controls and displays. A display's name carries its channel, quantity,
// text and unit ("CH1 measured voltage 5.00 V") and changes with the text.
class AccessibleNames
{
    Q_DECLARE_TR_FUNCTIONS(AccessibleNames)

public:
    enum class Quantity { Voltage, Current, Power };
    enum class Shown { Measured, SetPoint, Nothing };

    static void install(QWidget *window, Ui::MainWindow *ui);
    // The set-point controls work on the selected channel; 0 for none known.
    static void setSelectedChannel(Ui::MainWindow *ui, int channel);

    static QString display(int channel, Quantity quantity, Shown shown, const QString &text = QString());
    static QString output(bool on);
    // Flags as the driver reports them: 0 constant voltage, else constant current.
    static QString regulation(int channel, const QString &flagText);
    // Reported modes: 1 independent, 2 parallel, 3 series; 0 for none reported.
    static QString trackingMode(int mode);

    // Sets the name only when it changes, which spares the screen reader a
    // notification at every reading that shows the same text.
    static void rename(QWidget *widget, const QString &name);
};

#endif // ACCESSIBLENAMES_H

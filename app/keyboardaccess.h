#ifndef KEYBOARDACCESS_H
#define KEYBOARDACCESS_H

#include <QKeySequence>

QT_BEGIN_NAMESPACE
class QAction;
class QDoubleSpinBox;
class QMainWindow;
class QTimer;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

// Makes the window work from the keyboard: shortcuts for its commands (shown
// in their tool tips), a Tab order through the tool bars, the front panel and
// the record area, record tables that take the focus but let Tab pass, and
// Enter in a set-point box sending its value at once.
class KeyboardAccess
{
public:
    // The set-point delays are the window's; Enter ends the one of its box.
    static void install(QMainWindow *window, Ui::MainWindow *ui, QTimer *voltDelay, QTimer *currDelay);

    static void bind(QAction *action, const QKeySequence &shortcut);
    static void sendOnEnter(QDoubleSpinBox *spin, QTimer *delay);
};

#endif // KEYBOARDACCESS_H

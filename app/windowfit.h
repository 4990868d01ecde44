#ifndef WINDOWFIT_H
#define WINDOWFIT_H

#include <QSize>

QT_BEGIN_NAMESPACE
class QMainWindow;
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

// Fits the window to the desktop's font and screen. The form's pixel sizes
// were chosen for a small font; with a larger one the front panel widens to
// what its contents need, no control is held below its text's size, and the
// tracking-mode indicator keeps room for its widest text.
class WindowFit
{
public:
    static void fitPanel(Ui::MainWindow *ui);
    // The size of a first start, without saved geometry: the whole front
    // panel, the three channel tabs and every record column, as far as the
    // screen allows.
    static QSize firstSize(QMainWindow *window, Ui::MainWindow *ui);
};

#endif // WINDOWFIT_H

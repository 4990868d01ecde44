#include "windowfit.h"
#include "ui_mainwindow.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {
// What a desktop takes around a window: its title bar and borders.
const QSize kDecorationPx(16, 48);
// A first window is never smaller than the form's own size.
const QSize kFormSizePx(854, 696);
// The front panel's width in the form.
constexpr int kPanelWidthPx = 412;
// Room around the tracking mode's text inside its indicator.
constexpr int kIndicatorPaddingPx = 4;

// Before the window is shown its children count as hidden, and a change of
// their sizes reaches no layout above them on its own.
void forgetSizeHints(QWidget *from)
{
    for (QWidget *widget = from; widget; widget = widget->parentWidget()) {
        widget->updateGeometry();
        if (QLayout *layout = widget->layout()) {
            layout->invalidate();
            for (QLayout *nested : layout->findChildren<QLayout *>())
                nested->invalidate();
        }
    }
}
} // namespace

void WindowFit::fitPanel(Ui::MainWindow *ui)
{
    // Heights that the form bounds for a small font give way to a larger
    // font's text; the widths are wide enough for the short texts.
    QList<QWidget *> texts;
    for (QAbstractButton *button : ui->frame->findChildren<QAbstractButton *>())
        texts << button;
    for (QLabel *label : ui->frame->findChildren<QLabel *>())
        texts << label;
    for (QWidget *widget : qAsConst(texts))
        widget->setMaximumHeight(std::max(widget->maximumHeight(), widget->sizeHint().height()));
    const QFontMetrics mode(ui->lcdSpMode->font());
    ui->lcdSpMode->setFixedWidth(std::max({ui->lcdSpMode->minimumWidth(),
                                           mode.horizontalAdvance(QStringLiteral("PARA")) + kIndicatorPaddingPx,
                                           mode.horizontalAdvance(QStringLiteral("SER")) + kIndicatorPaddingPx}));

    // The panel keeps a fixed width when the window is resized: its form's
    // width, or what its contents need in a larger font.
    for (QFrame *fixed : {ui->frame, ui->lcd})
        fixed->setMinimumWidth(0), fixed->setMaximumWidth(QWIDGETSIZE_MAX);
    const int width = std::max(kPanelWidthPx, ui->frame->minimumSizeHint().width());
    for (QFrame *fixed : {ui->frame, ui->lcd})
        fixed->setFixedWidth(width);
}

QSize WindowFit::firstSize(QMainWindow *window, Ui::MainWindow *ui)
{
    // A table's size hint is a fixed guess: for the window's hint, the table
    // asks for its columns' room for a moment.
    QTableView *table = ui->tableViewCH1;
    const int tableWidth = table->verticalHeader()->sizeHint().width() + table->horizontalHeader()->length()
                           + table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth();
    // Style sheets, such as the channel tabs' widths, apply at polishing.
    window->ensurePolished();
    const int minimumWidth = table->minimumWidth();
    table->setMinimumWidth(std::max(minimumWidth, tableWidth));
    forgetSizeHints(table);
    QSize size = window->sizeHint().expandedTo(kFormSizePx);
    table->setMinimumWidth(minimumWidth);
    forgetSizeHints(table);
    if (const QScreen *screen = window->screen())
        size = size.boundedTo(screen->availableGeometry().size() - kDecorationPx);
    return size;
}

#include "keyboardaccess.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QTimer>

void KeyboardAccess::install(QMainWindow *window, Ui::MainWindow *ui, QTimer *voltDelay, QTimer *currDelay)
{
    bind(ui->actConnect, QKeySequence(Qt::CTRL | Qt::Key_K));
    bind(ui->actDisconnect, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    bind(ui->actionOptions, QKeySequence(Qt::CTRL | Qt::Key_Comma));
    bind(ui->actionManual, QKeySequence(Qt::Key_F1));
    bind(ui->actionClose, QKeySequence(Qt::CTRL | Qt::Key_Q));
    bind(ui->actionDelete, QKeySequence(Qt::Key_Delete));
    bind(ui->actionExport, QKeySequence(Qt::CTRL | Qt::Key_E));
    bind(ui->actionSaveImage, QKeySequence(Qt::CTRL | Qt::Key_S));
    // The chart picture's only other place is the charts' context menu.
    window->addAction(ui->actionSaveImage);

    // Tool-bar buttons take no focus of their own; these take it from Tab.
    QList<QWidget *> order;
    for (QAction *action : {ui->actConnect, ui->actDisconnect, ui->actionOptions, ui->actionManual, ui->actionClose})
        order << ui->mainToolBar->widgetForAction(action);
    order << ui->btnM1 << ui->btnM2 << ui->btnM3 << ui->btnM4 << ui->btnM5 << ui->btnCh1Sel << ui->btnCh2Sel
          << ui->btnSer << ui->btnOutput << ui->btnPara << ui->btnCh3Sel << ui->spinVolt << ui->sliderVolt
          << ui->spinCurr << ui->sliderCurr;
    for (QAction *action : {ui->actionDelete, ui->actionExport})
        order << ui->toolbarRecord->widgetForAction(action);
    order << ui->tabWidgetCHs << ui->tabWidgetCH1 << ui->tableViewCH1 << ui->tabWidgetCH1Charts << ui->tabWidgetCH2
          << ui->tableViewCH2 << ui->tabWidgetCH2Charts << ui->tabWidgetCH3 << ui->tableViewCH3
          << ui->tabWidgetCH3Charts;
    order.removeAll(nullptr);
    for (QWidget *widget : qAsConst(order)) {
        if (widget->focusPolicy() == Qt::NoFocus)
            widget->setFocusPolicy(Qt::TabFocus);
    }
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));

    // Arrow keys move between the cells; Tab goes on to the next control.
    for (QTableView *table : {ui->tableViewCH1, ui->tableViewCH2, ui->tableViewCH3})
        table->setTabKeyNavigation(false);

    sendOnEnter(ui->spinVolt, voltDelay);
    sendOnEnter(ui->spinCurr, currDelay);
}

void KeyboardAccess::bind(QAction *action, const QKeySequence &shortcut)
{
    action->setShortcut(shortcut);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(action->text(), shortcut.toString(QKeySequence::NativeText)));
}

// The delay lets typing and turning settle; Enter says the value is complete.
// A zero delay sends it at the next turn of the event loop, through the same
// slot as the delay would.
void KeyboardAccess::sendOnEnter(QDoubleSpinBox *spin, QTimer *delay)
{
    auto edit = spin->findChild<QLineEdit *>();
    if (!edit)
        return;
    QObject::connect(edit, &QLineEdit::returnPressed, delay, [delay] {
        if (delay->isActive())
            delay->start(0);
    });
}

#include "statusmessages.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
constexpr int kHistoryWidthPx = 640;
constexpr int kHistoryHeightPx = 360;
} // namespace

StatusMessages::StatusMessages(QStatusBar *bar) : QObject(bar), bar(bar)
{
    bar->installEventFilter(this);
    bar->setCursor(Qt::PointingHandCursor);
    bar->setToolTip(tr("Click to see the last messages."));

    auto messages = new QAction(tr("Messages"), bar->window());
    messages->setObjectName(QStringLiteral("actionMessages"));
    messages->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    bar->window()->addAction(messages);
    connect(messages, &QAction::triggered, this, &StatusMessages::showHistory);
}

void StatusMessages::show(Condition condition, const QString &text)
{
    current.insert(condition, text);
    order.removeAll(condition);
    order << condition;
    entries << Entry{QDateTime::currentDateTime(), text};
    while (entries.size() > kHistorySize)
        entries.removeFirst();
    showNewest();
    if (historyDialog && historyDialog->isVisible())
        fillHistoryList();
}

void StatusMessages::clear(Condition condition)
{
    if (!current.remove(condition))
        return;
    order.removeAll(condition);
    showNewest();
}

QString StatusMessages::text(Condition condition) const
{
    return current.value(condition);
}

const QList<StatusMessages::Entry> &StatusMessages::history() const
{
    return entries;
}

// An older message whose condition still holds comes back when a newer one ends.
void StatusMessages::showNewest()
{
    if (order.isEmpty()) {
        bar->clearMessage();
        bar->setToolTip(tr("Click to see the last messages."));
        return;
    }
    const QString text = current.value(order.last());
    bar->showMessage(text);
    // The bar cuts a long message off; its tool tip has it whole.
    bar->setToolTip(tr("%1\nClick to see the last messages.").arg(text));
}

void StatusMessages::showHistory()
{
    if (!historyDialog) {
        historyDialog = new QDialog(bar->window());
        historyDialog->setObjectName(QStringLiteral("dlgMessageHistory"));
        historyDialog->setWindowTitle(tr("Messages"));
        historyList = new QListWidget(historyDialog);
        historyList->setObjectName(QStringLiteral("lstMessages"));
        historyList->setWordWrap(true);
        historyList->setAccessibleName(tr("The last %1 messages, the newest first").arg(kHistorySize));
        auto buttons = new QDialogButtonBox(QDialogButtonBox::Close, historyDialog);
        connect(buttons, &QDialogButtonBox::rejected, historyDialog, &QDialog::reject);
        auto layout = new QVBoxLayout(historyDialog);
        layout->addWidget(historyList);
        layout->addWidget(buttons);
        historyDialog->resize(kHistoryWidthPx, kHistoryHeightPx);
    }
    fillHistoryList();
    historyDialog->show();
    historyDialog->raise();
    historyDialog->activateWindow();
}

void StatusMessages::fillHistoryList()
{
    historyList->clear();
    if (entries.isEmpty())
        historyList->addItem(tr("No messages yet."));
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry)
        historyList->addItem(tr("%1  %2").arg(entry->time.toString(kTimeFormat), entry->text));
    historyList->setCurrentRow(0);
}

bool StatusMessages::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        showHistory();
    return QObject::eventFilter(watched, event);
}

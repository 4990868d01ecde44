#ifndef STATUSMESSAGES_H
#define STATUSMESSAGES_H

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>

QT_BEGIN_NAMESPACE
class QDialog;
class QListWidget;
class QStatusBar;
QT_END_NAMESPACE

// The status bar's messages, one per condition. A message stays only while
// its condition holds: the code that knows the condition ended clears it, and
// a newer message of the same condition replaces it. The bar shows the
// newest message whose condition still holds. Every message shown is kept,
// with its time, in a history of the last messages, which a click on the bar
// (or the window's "Messages" shortcut) lists.
class StatusMessages : public QObject
{
    Q_OBJECT
public:
    enum class Condition {
        Connection,     // connected, refused, lost
        RecordingLimit, // recording stopped at the sample-point limit
        SessionLog,     // the session log stopped writing
        ChartImage,     // a chart picture was not saved
        Remote,         // the SCPI port could not be opened or its settings stored
        Automation,     // a sequence, timer, stop condition or reconnection
    };

    struct Entry
    {
        QDateTime time;
        QString text;
    };

    static constexpr int kHistorySize = 50;

    // Shows its messages on the bar; the history window belongs to the bar's window.
    explicit StatusMessages(QStatusBar *bar);

    void show(Condition condition, const QString &text);
    void clear(Condition condition);
    QString text(Condition condition) const;
    // Oldest first, at most kHistorySize entries.
    const QList<Entry> &history() const;
    void showHistory();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showNewest();
    void fillHistoryList();

    QStatusBar *bar;
    QHash<Condition, QString> current;
    QList<Condition> order; // conditions holding a message, the newest last
    QList<Entry> entries;
    QDialog *historyDialog = nullptr; // child of the window, made at the first use
    QListWidget *historyList = nullptr;
};

inline uint qHash(StatusMessages::Condition condition, uint seed = 0)
{
    return ::qHash(int(condition), seed);
}

#endif // STATUSMESSAGES_H

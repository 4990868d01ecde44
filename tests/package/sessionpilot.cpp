// Preloaded into the installed program by tst_package (LD_PRELOAD), this
// library works the main window as a user would: Connect, USB, OK; output on;
// waits for a reading in channel 1's record table; closes the window, which
// stores the settings. It prints each step on standard output as "pilot: ...".
// A step that does not come in time, or any message box, ends the program
// with status 1. The program itself knows nothing of it.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kPollMs = 50;
// Connecting takes well under a second and the driver reads once a second.
constexpr int kSessionTimeoutMs = 20000;

void say(const QString &text)
{
    std::printf("pilot: %s\n", qPrintable(text));
    std::fflush(stdout);
}

QMainWindow *mainWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto window = qobject_cast<QMainWindow *>(widget))
            return window;
    }
    return nullptr;
}

class SessionPilot : public QObject
{
public:
    explicit SessionPilot(QObject *parent)
        : QObject(parent)
    {
        connect(&poll, &QTimer::timeout, this, &SessionPilot::step);
        poll.start(kPollMs);
        QTimer::singleShot(kSessionTimeoutMs, this, [this] { fail(QStringLiteral("timed out ") + waitingFor()); });
    }

private:
    enum class Stage { Start, Connecting, Recording, Closing };

    void step()
    {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            answer(modal);
            return;
        }
        QMainWindow *window = mainWindow();
        if (!window || !window->isVisible())
            return;
        auto connectAction = window->findChild<QAction *>(QStringLiteral("actConnect"));
        switch (stage) {
        case Stage::Start:
            say(QStringLiteral("window shown"));
            stage = Stage::Connecting;
            // Queued: the connection dialog then runs its own event loop
            // outside this slot, and the poll goes on answering it.
            QMetaObject::invokeMethod(connectAction, &QAction::trigger, Qt::QueuedConnection);
            break;
        case Stage::Connecting:
            if (dialogAnswered && !connectAction->isEnabled()) {
                say(QStringLiteral("connected"));
                stage = Stage::Recording;
                window->findChild<QPushButton *>(QStringLiteral("btnOutput"))->click();
            }
            break;
        case Stage::Recording: {
            const int rows = window->findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model()->rowCount();
            if (rows > 0) {
                say(QStringLiteral("recorded %1 reading(s)").arg(rows));
                stage = Stage::Closing;
                QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
            }
            break;
        }
        case Stage::Closing:
            break;
        }
    }

    void answer(QWidget *modal)
    {
        if (auto box = qobject_cast<QMessageBox *>(modal)) {
            fail(QStringLiteral("the program said \"%1\"").arg(box->text()));
            box->reject();
            return;
        }
        auto usb = modal->findChild<QRadioButton *>(QStringLiteral("rbUSB"));
        auto buttons = modal->findChild<QDialogButtonBox *>();
        if (stage != Stage::Connecting || dialogAnswered || !usb || !buttons) {
            fail(QStringLiteral("unexpected dialog %1").arg(modal->objectName()));
            return;
        }
        dialogAnswered = true;
        usb->click();
        buttons->button(QDialogButtonBox::Ok)->click();
    }

    QString waitingFor() const
    {
        switch (stage) {
        case Stage::Start:
            return QStringLiteral("waiting for the main window");
        case Stage::Connecting:
            return QStringLiteral("waiting for the connection");
        case Stage::Recording:
            return QStringLiteral("waiting for a recorded reading");
        case Stage::Closing:
            return QStringLiteral("waiting for the window to close");
        }
        return QString();
    }

    void fail(const QString &why)
    {
        say(QStringLiteral("failed: ") + why);
        poll.stop();
        QCoreApplication::exit(1);
    }

    QTimer poll;
    Stage stage = Stage::Start;
    bool dialogAnswered = false;
};

void startPilot()
{
    new SessionPilot(QCoreApplication::instance());
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(startPilot)

#ifndef REMOTEPORT_H
#define REMOTEPORT_H

#include <QObject>
#include <QString>

#include <optional>

QT_BEGIN_NAMESPACE
class QLabel;
class QStatusBar;
QT_END_NAMESPACE

class DialogOptions;
class MainWindow;
class RemotePanel;
class StatusMessages;
class ScpiServer;

// The window's SCPI server: where it listens (the stored settings, or the
// command line's for one run), the status bar's note of it ("lblRemote")
// and the two rows of the options dialog. Off until start() is called.
class RemotePort : public QObject
{
    Q_OBJECT
public:
    // The window must outlive the port; the label goes into the status bar.
    // The label goes on the status bar; messages go through status.
    RemotePort(MainWindow *window, QStatusBar *statusBar, StatusMessages *status);

    // Listens as stored, with the values given here in place of the stored
    // ones for this run. A port that cannot be opened is reported in the
    // status bar; the window goes on without it.
    void start(std::optional<quint16> port, const QString &address);
    void fillOptions(DialogOptions *dialog) const;
    // Stores and applies the dialog's values when they differ from those in use.
    void takeOptions(const DialogOptions *dialog);

    ScpiServer *server() const;

private:
    void listen(quint16 port, const QString &address);
    void showState();

    RemotePanel *panel;
    ScpiServer *scpi;
    StatusMessages *status;
    QLabel *label;
    quint16 port = 0;
    QString address;
};

#endif // REMOTEPORT_H

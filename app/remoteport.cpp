#include "remoteport.h"

#include "statusmessages.h"

#include "dialogoptions.h"
#include "mainwindow.h"
#include "remotepanel.h"
#include "remotesettings.h"
#include "scpiserver.h"

#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>

RemotePort::RemotePort(MainWindow *window, QStatusBar *statusBar, StatusMessages *status)
    : QObject(window),
      panel(new RemotePanel(window)),
      scpi(new ScpiServer(panel, this)),
      status(status),
      label(new QLabel(statusBar)),
      address(RemoteSettings::kDefaultAddress)
{
    label->setObjectName(QStringLiteral("lblRemote"));
    label->setVisible(false);
    statusBar->addPermanentWidget(label);
    connect(panel, &RemotePanel::channelReported, scpi, &ScpiServer::resume);
    connect(scpi, &ScpiServer::clientCountChanged, this, &RemotePort::showState);
}

ScpiServer *RemotePort::server() const
{
    return scpi;
}

void RemotePort::start(std::optional<quint16> port, const QString &address)
{
    const RemoteSettings stored = RemoteSettings::load();
    listen(port.value_or(stored.port), address.isEmpty() ? stored.address : address);
}

void RemotePort::listen(quint16 port, const QString &address)
{
    this->port = port;
    this->address = address;
    scpi->close();
    // A port that listens, or is off by choice, has nothing to report.
    status->clear(StatusMessages::Condition::Remote);
    if (port != RemoteSettings::kOff) {
        const QHostAddress host(address);
        if (host.isNull())
            status->show(StatusMessages::Condition::Remote,
                         tr("The remote port is off: %1 is not an IP address.").arg(address));
        else if (!scpi->listen(host, port))
            status->show(StatusMessages::Condition::Remote,
                         tr("The remote port is off: %1 port %2 cannot be opened (%3).")
                             .arg(address)
                             .arg(port)
                             .arg(scpi->errorString()));
    }
    showState();
}

void RemotePort::showState()
{
    label->setVisible(scpi->isListening());
    if (!scpi->isListening())
        return;
    label->setText(tr("SCPI %1:%2, %n client(s)", nullptr, scpi->clientCount()).arg(scpi->address()).arg(scpi->port()));
    label->setToolTip(tr("Scripts reach the instrument at TCPIP::%1::%2::SOCKET").arg(scpi->address()).arg(scpi->port()));
}

void RemotePort::fillOptions(DialogOptions *dialog) const
{
    dialog->scpiPortSpinBox()->setValue(port);
    dialog->scpiListenEdit()->setText(address);
}

void RemotePort::takeOptions(const DialogOptions *dialog)
{
    RemoteSettings chosen;
    chosen.port = quint16(dialog->scpiPortSpinBox()->value());
    chosen.address = dialog->scpiListenEdit()->text().trimmed();
    if (chosen.address.isEmpty())
        chosen.address = RemoteSettings::kDefaultAddress;
    if (chosen.port == port && chosen.address == address)
        return;
    if (!chosen.save())
        status->show(StatusMessages::Condition::Remote,
                     tr("The remote port's settings cannot be stored; they hold until the program ends."));
    listen(chosen.port, chosen.address);
}

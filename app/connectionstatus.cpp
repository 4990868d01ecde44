#include "connectionstatus.h"

#include "statusmessages.h"

namespace {
constexpr auto kCondition = StatusMessages::Condition::Connection;
// The system's text for EACCES, as the serial and USB transports pass it on.
const QString kPermissionDenied = QStringLiteral("Permission denied");
} // namespace

ConnectionStatus::ConnectionStatus(StatusMessages *messages, const QString &modelName)
    : messages(messages), modelName(modelName)
{
}

void ConnectionStatus::opened()
{
    open = true;
    userClosing = false;
    lastReason.clear();
    messages->show(kCondition, tr("Connected to %1.").arg(modelName));
}

void ConnectionStatus::identified(const QString &version)
{
    if (!open)
        return;
    messages->show(kCondition, version.isEmpty() ? tr("Connected to %1.").arg(modelName)
                                                 : tr("Connected to %1, firmware %2.").arg(modelName, version));
}

void ConnectionStatus::driverSaid(const QString &text)
{
    if (open)
        lastReason = text;
    messages->show(kCondition, withNextStep(text));
}

void ConnectionStatus::closing()
{
    userClosing = open;
}

void ConnectionStatus::closed(const QDateTime &when)
{
    // Closing what never opened ends nothing: a refusal's reason stays.
    if (!open)
        return;
    const bool lost = !userClosing;
    open = false;
    userClosing = false;
    if (!lost) {
        messages->clear(kCondition);
        return;
    }
    const QString reason = lastReason.isEmpty() ? tr("The instrument closed the connection.") : lastReason;
    lastReason.clear();
    messages->show(kCondition, tr("The link to the instrument was lost at %1: %2 The recorded readings are kept, and "
                                  "the program connects again by itself when the instrument answers; press Connect "
                                  "to choose another port.")
                                   .arg(when.toString(QStringLiteral("hh:mm:ss")), withFullStop(reason)));
}

QString ConnectionStatus::withFullStop(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.endsWith(QLatin1Char('.')) || trimmed.endsWith(QLatin1Char('!'))
        || trimmed.endsWith(QLatin1Char('?')))
        return trimmed;
    return trimmed + QLatin1Char('.');
}

QString ConnectionStatus::withNextStep(const QString &text)
{
    if (!text.contains(kPermissionDenied))
        return text;
    return tr("%1 Your user may not use the port: join the group dialout (sudo adduser $USER dialout, then log in "
              "again), or for the instrument on USB install the udev rule 70-luma4200.rules (it comes with the "
              "package; from the sources, copy packaging/70-luma4200.rules to /etc/udev/rules.d/) and plug the "
              "instrument in again.")
        .arg(withFullStop(text));
}

#ifndef CONNECTIONSTATUS_H
#define CONNECTIONSTATUS_H

#include <QCoreApplication>
#include <QDateTime>

class StatusMessages;

// Keeps the status bar's connection message true and says what to do next.
// The driver tells a refusal by message() alone, a lost link by message()
// followed by closed() while open, and the end of a disconnect the user
// asked for by closed() alone.
class ConnectionStatus
{
    Q_DECLARE_TR_FUNCTIONS(ConnectionStatus)

public:
    ConnectionStatus(StatusMessages *messages, const QString &modelName);

    void opened();
    // The instrument's identity as the driver reports it after opening.
    void identified(const QString &version);
    void driverSaid(const QString &text);
    // The user asked to disconnect: the next closed() is no loss.
    void closing();
    void closed(const QDateTime &when = QDateTime::currentDateTime());

    // The driver's text, followed by the next step when one is known.
    static QString withNextStep(const QString &text);

private:
    static QString withFullStop(const QString &text);

    StatusMessages *messages;
    QString modelName;
    bool open = false;
    bool userClosing = false;
    QString lastReason; // what the driver said while open, if anything
};

#endif // CONNECTIONSTATUS_H

#ifndef COMMANDLINEOPTIONS_H
#define COMMANDLINEOPTIONS_H

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line. Parsing neither prints nor exits: the caller
// prints text() and ends for Help, Version and Error, and starts the window
// for Run.
class CommandLineOptions
{
public:
    enum class Action { Run, Help, Version, Error };

    // An instrument to connect to at start, as the connection dialog would.
    struct Connection
    {
        int portType = 0; // 0 USB, 2 RS232
        QString portName; // RS232 only
    };

    // arguments: the program's name first, as QCoreApplication::arguments().
    void parse(const QStringList &arguments);

    Action action() const;
    // The help, the version line or the error, each ending with "\n".
    QString text() const;

    std::optional<quint16> scpiPort() const;
    QString scpiListen() const; // empty when not given
    std::optional<Connection> connection() const;
    // A session log to show in a viewer; empty when not given.
    QString sessionFile() const;

private:
    Action result = Action::Run;
    QString output;
    std::optional<quint16> port;
    QString listen;
    std::optional<Connection> connectTo;
    QString session;
};

#endif // COMMANDLINEOPTIONS_H

#include "commandlineoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

namespace {
constexpr int kPortUsb = 0;
constexpr int kPortRs232 = 2;
constexpr uint kMaxPort = 65535;
// A session log to open in a viewer.
constexpr int kMaxPositionalArguments = 1;
} // namespace

void CommandLineOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLineOptions", "Front panel and data logger of the LUMA4200 three-channel power supply."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("scpi-port"),
        QCoreApplication::translate("CommandLineOptions",
                                    "Serve SCPI commands on this TCP port for this run (0: off). "
                                    "Without it, the port of the options applies (off by default)."),
        QStringLiteral("N"));
    const QCommandLineOption listenOption(
        QStringLiteral("scpi-listen"),
        QCoreApplication::translate("CommandLineOptions",
                                    "The IP address the SCPI port listens on for this run "
                                    "(default: that of the options, 127.0.0.1 unless changed)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption connectOption(
        QStringLiteral("connect"),
        QCoreApplication::translate("CommandLineOptions",
                                    "Connect to the instrument at start: \"usb\", or \"rs232:PORT\" "
                                    "with the serial port's name, as the Connect dialog would."),
        QStringLiteral("usb|rs232:PORT"));
    parser.addOptions({portOption, listenOption, connectOption});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("CommandLineOptions", "A session log (.csv) to open in a viewer of past sessions."),
        QStringLiteral("[FILE]"));

    auto fail = [this](const QString &reason) {
        result = Action::Error;
        output = QCoreApplication::applicationName() + QStringLiteral(": ") + reason + QLatin1Char('\n');
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        result = Action::Help;
        output = parser.helpText();
        return;
    }
    if (parser.isSet(version)) {
        result = Action::Version;
        output = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                 + QLatin1Char('\n');
        return;
    }
    if (parser.positionalArguments().size() > kMaxPositionalArguments)
        return fail(QCoreApplication::translate("CommandLineOptions", "Too many arguments: %1")
                        .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    session = parser.positionalArguments().value(0);

    if (parser.isSet(portOption)) {
        bool ok = false;
        const uint value = parser.value(portOption).toUInt(&ok);
        if (!ok || value > kMaxPort)
            return fail(QCoreApplication::translate("CommandLineOptions", "--scpi-port takes a port from 0 to 65535."));
        port = quint16(value);
    }
    if (parser.isSet(listenOption)) {
        listen = parser.value(listenOption).trimmed();
        if (QHostAddress(listen).isNull())
            return fail(QCoreApplication::translate("CommandLineOptions", "--scpi-listen takes an IP address, not \"%1\".")
                            .arg(listen));
    }
    if (parser.isSet(connectOption)) {
        const QString value = parser.value(connectOption);
        const QString rs232Prefix = QStringLiteral("rs232:");
        if (value.compare(QLatin1String("usb"), Qt::CaseInsensitive) == 0)
            connectTo = Connection{kPortUsb, QString()};
        else if (value.startsWith(rs232Prefix, Qt::CaseInsensitive) && value.size() > rs232Prefix.size())
            connectTo = Connection{kPortRs232, value.mid(rs232Prefix.size())};
        else
            return fail(QCoreApplication::translate("CommandLineOptions",
                                                    "--connect takes \"usb\" or \"rs232:PORT\", not \"%1\".")
                            .arg(value));
    }
}

CommandLineOptions::Action CommandLineOptions::action() const
{
    return result;
}

QString CommandLineOptions::text() const
{
    return output;
}

std::optional<quint16> CommandLineOptions::scpiPort() const
{
    return port;
}

QString CommandLineOptions::scpiListen() const
{
    return listen;
}

QString CommandLineOptions::sessionFile() const
{
    return session;
}

std::optional<CommandLineOptions::Connection> CommandLineOptions::connection() const
{
    return connectTo;
}

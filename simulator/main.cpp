// luma4200-sim: a simulated LUMA4200 on a pseudo-terminal and on the virtual USB bus.
#include "commandinterpreter.h"
#include "faultinjector.h"
#include "instrumentmodel.h"
#include "ptyserver.h"
#include "simulatorconfig.h"
#include "simulatorsession.h"
#include "virtualbus.h"
#include "virtualusbserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kMsPerSecond = 1000;
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop, so the servers close and remove their socket.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool readDouble(const QCommandLineParser &parser, const QString &name, double min, double max, double &out)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || value < min || value > max) {
        QTextStream(stderr) << "luma4200-sim: --" << name << " must be a number from " << min << " to " << max << "\n";
        return false;
    }
    out = value;
    return true;
}

bool readInt(const QCommandLineParser &parser, const QString &name, int min, int &out)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < min) {
        QTextStream(stderr) << "luma4200-sim: --" << name << " must be an integer of at least " << min << "\n";
        return false;
    }
    out = value;
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("luma4200-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated LUMA4200 three-channel power supply.\n"
        "Serves the instrument protocol on a pseudo-terminal (its path is printed as \"PTY <path>\";\n"
        "give it to the RS232 port box) and on the virtual USB bus, a local socket (printed as\n"
        "\"USB <path>\") that the USB transport finds by itself. The socket path is\n"
        "$XDG_RUNTIME_DIR/luma4200-vbus, or /tmp/luma4200-vbus-<uid>; the environment variable\n"
        "LUMA4200_VIRTUAL_BUS replaces it (for tests, so that they do not meet a user's simulator).\n"
        "SIGTERM or SIGINT stops the simulator cleanly."));
    parser.addHelpOption();
    const QList<QCommandLineOption> options = {
        {QStringLiteral("load1"), QStringLiteral("Load on channel 1 in ohms (default 10)."), QStringLiteral("ohms")},
        {QStringLiteral("load2"), QStringLiteral("Load on channel 2 in ohms (default 10)."), QStringLiteral("ohms")},
        {QStringLiteral("load3"), QStringLiteral("Load on channel 3 in ohms (default 10)."), QStringLiteral("ohms")},
        {QStringLiteral("noise"), QStringLiteral("Measurement noise as a fraction of each value, 0 to 0.1 (default 0.001)."), QStringLiteral("fraction")},
        {QStringLiteral("garbage"), QStringLiteral("Chance, 0 to 1, of a junk line before each reply."), QStringLiteral("rate")},
        {QStringLiteral("partial"), QStringLiteral("Chance, 0 to 1, that a reply is cut short without its line end."), QStringLiteral("rate")},
        {QStringLiteral("delay"), QStringLiteral("Answer every query this many milliseconds late."), QStringLiteral("ms")},
        {QStringLiteral("mute-after"), QStringLiteral("Stop answering after this many seconds (the connection stays)."), QStringLiteral("s")},
        {QStringLiteral("drop-after"), QStringLiteral("Drop every connection and exit after this many seconds."), QStringLiteral("s")},
        {QStringLiteral("idn"), QStringLiteral("Reply to *IDN? with this text instead (pretend to be another device)."), QStringLiteral("text")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the noise and fault generators (default 4200)."), QStringLiteral("n")},
        {QStringLiteral("bus"), QStringLiteral("Serve the virtual USB bus on this socket path (refused when anything but a socket is there)."), QStringLiteral("path")},
        {QStringLiteral("no-pty"), QStringLiteral("Do not open a pseudo-terminal.")},
        {QStringLiteral("no-usb"), QStringLiteral("Do not serve the virtual USB bus.")},
    };
    parser.addOptions(options);
    parser.process(app);

    SimulatorConfig config;
    int seed = int(config.seed);
    bool valid = readDouble(parser, QStringLiteral("load1"), 0.01, 1e9, config.loadOhms[0])
        && readDouble(parser, QStringLiteral("load2"), 0.01, 1e9, config.loadOhms[1])
        && readDouble(parser, QStringLiteral("load3"), 0.01, 1e9, config.loadOhms[2])
        && readDouble(parser, QStringLiteral("noise"), 0, 0.1, config.noiseFraction)
        && readDouble(parser, QStringLiteral("garbage"), 0, 1, config.garbageRate)
        && readDouble(parser, QStringLiteral("partial"), 0, 1, config.partialRate)
        && readInt(parser, QStringLiteral("delay"), 0, config.replyDelayMs)
        && readInt(parser, QStringLiteral("mute-after"), 0, config.muteAfterS)
        && readInt(parser, QStringLiteral("drop-after"), 0, config.dropAfterS)
        && readInt(parser, QStringLiteral("seed"), 0, seed);
    if (!valid)
        return 2;
    config.seed = quint32(seed);
    if (parser.isSet(QStringLiteral("idn")))
        config.identity = parser.value(QStringLiteral("idn")).toLatin1();

    InstrumentModel model(config);
    CommandInterpreter interpreter(model);
    FaultInjector faults(config);
    QTextStream out(stdout);

    SimulatorSession ptySession(interpreter, faults);
    PtyServer pty(&ptySession);
    if (!parser.isSet(QStringLiteral("no-pty"))) {
        if (!pty.start())
            return 1;
        out << "PTY " << pty.path() << Qt::endl;
    }
    VirtualUsbServer usb(interpreter, faults);
    if (!parser.isSet(QStringLiteral("no-usb"))) {
        const QString path = parser.isSet(QStringLiteral("bus")) ? parser.value(QStringLiteral("bus"))
                                                                 : VirtualBus::socketPath();
        if (!usb.start(path))
            return 1;
        out << "USB " << usb.path() << Qt::endl;
    }

    quitOnSignals(app);
    if (config.dropAfterS >= 0) {
        QTimer::singleShot(config.dropAfterS * kMsPerSecond, &app, [&] {
            usb.stop();
            pty.stop();
            out << "DROPPED" << Qt::endl;
            app.quit();
        });
    }
    return app.exec();
}

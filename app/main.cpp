#include "commandlineoptions.h"
#include "localtimezone.h"
#include "mainwindow.h"
#include "remoteport.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {
constexpr int kUsageExitCode = 2;

// Help and version are read before any window system is asked for, so
// that they work without a display.
CommandLineOptions readCommandLine(int argc, char *argv[])
{
    QCoreApplication probe(argc, argv);
    CommandLineOptions options;
    options.parse(QCoreApplication::arguments());
    return options;
}

// Exit code, or none to run the window.
std::optional<int> answerCommandLine(const CommandLineOptions &options)
{
    switch (options.action()) {
    case CommandLineOptions::Action::Help:
    case CommandLineOptions::Action::Version:
        std::fputs(qPrintable(options.text()), stdout);
        return 0;
    case CommandLineOptions::Action::Error:
        std::fputs(qPrintable(options.text()), stderr);
        return kUsageExitCode;
    case CommandLineOptions::Action::Run:
        break;
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char *argv[])
{
    LocalTimeZone::keepSystemZone();
    // The user's folders are named after the program, whatever its file is
    // called: ~/.config/luma4200 holds the settings of an installed program.
    QCoreApplication::setApplicationName(QStringLiteral("luma4200"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMA_VERSION));
    // Ties the window to its desktop entry, and so to the menu's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tessel.luma4200"));

    const CommandLineOptions early = readCommandLine(argc, argv);
    if (early.action() == CommandLineOptions::Action::Help || early.action() == CommandLineOptions::Action::Version)
        return *answerCommandLine(early);

    QApplication app(argc, argv);
    // Again without the toolkit's own options (-platform, -style …), which the application object took out.
    CommandLineOptions options;
    options.parse(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = answerCommandLine(options))
        return *exitCode;
    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/image/luma4200.png")));
    window.show();
    window.remotePort()->start(options.scpiPort(), options.scpiListen());
    // Once the event loop runs, so that a failure's message box has a shown window.
    if (const auto connection = options.connection())
        QTimer::singleShot(0, &window, [&window, connection] {
            window.connectAtStart(connection->portType, connection->portName);
        });
    if (!options.sessionFile().isEmpty())
        QTimer::singleShot(0, &window, [&window, &options] { window.openSession(options.sessionFile()); });
    return app.exec();
}

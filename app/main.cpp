#include "localtimezone.h"
#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    LocalTimeZone::keepSystemZone();
    // The user's folders are named after the program, whatever its file is
    // called: ~/.config/luma4200 holds the settings of an installed program.
    QCoreApplication::setApplicationName(QStringLiteral("luma4200"));
    // Ties the window to its desktop entry, and so to the menu's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tessel.luma4200"));
    QApplication app(argc, argv);
    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/image/luma4200.png")));
    window.show();
    return app.exec();
}

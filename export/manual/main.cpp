// Builds "Software User Manual.pdf" from the manual's HTML source.
// Usage: luma_manual_generator SOURCE.html OUTPUT.pdf

#include "manualdocument.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() != 3) {
        err << "usage: " << arguments.value(0) << " SOURCE.html OUTPUT.pdf\n";
        return 2;
    }
    QString error;
    if (!ManualDocument::render(arguments.at(1), arguments.at(2), &error)) {
        err << error << '\n';
        return 1;
    }
    return 0;
}

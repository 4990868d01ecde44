#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window;
    window.setWindowIcon(QIcon(QStringLiteral(":/image/luma4200.png")));
    window.show();
    return app.exec();
}

// The application as tst_sessionkill needs it: the real window with the real
// driver plug-ins records from the simulator, fast, and tells on stdout about
// every row it records ("row N TIME MS": the row count, the reading's time in
// ISO 8601 with milliseconds, the moment it was recorded in ms since the
// epoch), so the test can kill it at any moment and know what the tables held.

#include "datamodel.h"
#include "readingtable.h"
#include "dialogoptions.h"
#include "dmmdata.h"
#include "mainwindow.h"
#include "modalanswerer.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

#include <cstdio>

namespace {
// The driver's fastest pace, twenty readings a second.
constexpr int kSampleRateMs = 50;
constexpr int kStartDelayMs = 100;

void setFastPace(QWidget *modal)
{
    if (auto options = qobject_cast<DialogOptions *>(modal)) {
        options->sampleRateSpinBox()->setValue(kSampleRateMs);
        options->infiniteCheckBox()->setChecked(true);
        options->skipRepeatCheckBox()->setChecked(false);
        options->accept();
    }
}

void connectOverUsb(QWidget *modal)
{
    if (auto box = qobject_cast<QMessageBox *>(modal)) {
        std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
        box->button(QMessageBox::Ok)->click();
        return;
    }
    modal->findChild<QRadioButton *>(QStringLiteral("rbUSB"))->click();
    modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}
} // namespace

int main(int argc, char *argv[])
{
    // The data folder of the program itself: <XDG_DATA_HOME>/luma4200.
    QCoreApplication::setApplicationName(QStringLiteral("luma4200"));
    QApplication app(argc, argv);
    MainWindow window;
    window.show();

    auto table = window.findChild<QTableView *>(QStringLiteral("tableViewCH1"));
    auto model = qobject_cast<DataModel *>(table->model());
    QObject::connect(model, &QAbstractItemModel::rowsInserted, [model](const QModelIndex &, int, int last) {
        std::printf("row %d %s %lld\n", last + 1,
                    qPrintable(QDateTime::fromMSecsSinceEpoch(model->readings().timeMs(last)).toString(Qt::ISODateWithMs)),
                    static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stdout);
    });

    QTimer::singleShot(kStartDelayMs, [&window] {
        {
            ModalAnswerer answerer(setFastPace);
            window.findChild<QAction *>(QStringLiteral("actionOptions"))->trigger();
        }
        ModalAnswerer answerer(connectOverUsb);
        window.findChild<QAction *>(QStringLiteral("actConnect"))->trigger();
    });
    // Output on once connected: the instrument then reports and readings are recorded.
    QTimer outputOn;
    QObject::connect(&outputOn, &QTimer::timeout, [&] {
        auto disconnect = window.findChild<QAction *>(QStringLiteral("actDisconnect"));
        if (!disconnect->isEnabled())
            return;
        outputOn.stop();
        window.findChild<QPushButton *>(QStringLiteral("btnOutput"))->click();
    });
    outputOn.start(kStartDelayMs);
    return app.exec();
}

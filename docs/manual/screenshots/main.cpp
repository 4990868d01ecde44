// luma4200-screenshots: takes the user manual's pictures of the program at
// work. It starts the simulator on a private virtual USB bus, connects the
// main window to it, records readings and grabs the window and its dialogs
// into the directory given on the command line, then opens the session log
// of those readings in the past-session viewer. Meant for the offscreen
// platform (scripts/manual-screenshots); the user's options.xml, settings and
// sessions are left as they were.

#include "dialogoptions.h"
#include "dlgdevchoose.h"
#include "dmmchart.h"
#include "mainwindow.h"
#include "optionsfile.h"
#include "sessionviewer.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
constexpr int kWindowWidthPx = 1280;
constexpr int kWindowHeightPx = 760;
constexpr int kLongestPictureSidePx = 1280;
constexpr int kSimulatorStartTimeoutMs = 10000;
constexpr int kConnectTimeoutMs = 10000;
// The driver reads once a second by default; a reading this late is not coming.
constexpr int kReadingTimeoutMs = 5000;
constexpr int kReadingsBeforeStep = 8;
// Then the output is off for a while: longer than three sampling intervals,
// so the time axis shows the pause as a gap. It comes late in the run, to
// the right of the read-out, which covers the plot's top left corner.
constexpr int kReadingsBeforePause = 26;
constexpr int kPauseMs = 6000;
constexpr int kReadingsShown = 36;
// Below the 1 A reset current limit on the simulator's 10 ohm load: the channel stays in C.V.
constexpr double kStepVolts = 9.0;
constexpr int kModalPollMs = 200;
// The sequence shown running: three steps of a board test, seconds into its first pass.
constexpr double kSequenceSteps[][3] = {{3.3, 0.5, 60}, {5.0, 0.5, 120}, {12.0, 1.0, 60}};
constexpr int kSequenceShownAfterMs = 2500;
constexpr int kSequencePanelWidthPx = 560;
// The hover mark sits on the reading this far along the chart.
constexpr double kHoverFraction = 0.62;
// Tenths of the plot the analysis picture's values move down by, below the
// read-out.
constexpr int kValuePanSteps = 4;
// The cursors of the analysis picture: a few readings in from either end,
// so that the pause and the step lie between them.
constexpr int kCursorInset = 3;
// Loading a few dozen lines takes a moment; this is far beyond it.
constexpr int kViewerLoadTimeoutMs = 10000;
const QString kIllustrationPort = QStringLiteral("ttyUSB0");

// Spins the event loop until done() holds; false when timeoutMs passes first.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// Lets pending layouts and repaints through before a grab.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool savePicture(QWidget *widget, const QDir &dir, const QString &fileName)
{
    QImage image = widget->grab().toImage();
    if (qMax(image.width(), image.height()) > kLongestPictureSidePx)
        image = image.scaled(kLongestPictureSidePx, kLongestPictureSidePx, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    const QString path = dir.filePath(fileName);
    if (!image.save(path)) {
        qCritical("cannot write %s", qPrintable(path));
        return false;
    }
    return true;
}

// Pulls trigger, which runs a modal Dialog, and calls answer with the dialog
// while it is open: the timer is served by the dialog's own event loop. The
// answer must close the dialog.
template<class Dialog>
void answerDialog(QAction *trigger, const std::function<void(Dialog *)> &answer)
{
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&answer] {
        if (auto dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
            answer(dialog);
    });
    timer.start(kModalPollMs);
    trigger->trigger();
}

// The program reports trouble (a failed connection, say) in message boxes.
// Nobody is there to click them: they are logged and closed, and the run fails.
class MessageBoxWatch : public QObject
{
public:
    MessageBoxWatch()
    {
        auto timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (auto box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                qCritical("the program said: %s", qPrintable(box->text()));
                failed = true;
                box->reject();
            }
        });
        timer->start(kModalPollMs);
    }

    bool failed = false;
};

// Keeps the user's options.xml away from the window while it starts, so that
// the pictures show the program's defaults and not the user's geometry or
// settings. The window reads the file only when it is shown.
class OptionsSetAside
{
public:
    OptionsSetAside()
        : path(OptionsFile::defaultPath()),
          asidePath(path + QStringLiteral(".screenshots"))
    {
        moved = QFile::exists(path) && QFile::rename(path, asidePath);
    }
    ~OptionsSetAside() { restore(); }

    void restore()
    {
        if (moved)
            QFile::rename(asidePath, path);
        moved = false;
    }

private:
    QString path;
    QString asidePath; // left on disk if the run dies before restore()
    bool moved = false;
};

// The simulator beside this program, on the virtual USB bus named by
// LUMA4200_VIRTUAL_BUS in the environment it inherits; stopped on destruction.
class Simulator
{
public:
    bool start()
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/luma4200-sim"),
                      {QStringLiteral("--no-pty")});
        // It prints "USB <path>" once the bus is served.
        QByteArray output;
        return waitFor([&] { return output.append(process.readAllStandardOutput()).contains("USB "); },
                       kSimulatorStartTimeoutMs);
    }
    ~Simulator()
    {
        process.terminate();
        if (!process.waitForFinished())
            process.kill();
    }

private:
    QProcess process;
};

int recordedRows(const MainWindow &window)
{
    return window.findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model()->rowCount();
}

bool waitForRows(const MainWindow &window, int rows)
{
    const int timeoutMs = (rows - recordedRows(window) + 1) * kReadingTimeoutMs;
    return waitFor([&] { return recordedRows(window) >= rows; }, timeoutMs);
}

// Shows the Port type dialog with RS232 chosen, as the manual describes it,
// then connects over USB, where the simulator is.
bool connectToSimulator(MainWindow &window, const QDir &dir, const MessageBoxWatch &watch)
{
    auto connectAction = window.findChild<QAction *>(QStringLiteral("actConnect"));
    bool saved = false;
    answerDialog<DlgDevChoose>(connectAction, [&](DlgDevChoose *dialog) {
        dialog->findChild<QRadioButton *>(QStringLiteral("rbRS232"))->click();
        // The list holds this computer's ports; the picture shows a typical one.
        dialog->cbRS232No->clear();
        dialog->cbRS232No->addItem(kIllustrationPort);
        settle();
        saved = savePicture(dialog, dir, QStringLiteral("connect-dialog.png"));
        dialog->findChild<QRadioButton *>(QStringLiteral("rbUSB"))->click();
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    return saved && !watch.failed
        && waitFor([&] { return !connectAction->isEnabled(); }, kConnectTimeoutMs);
}

// Presses OUTPUT and waits until the instrument reports the new state.
bool switchOutput(MainWindow &window, bool on)
{
    auto output = window.findChild<QLabel *>(QStringLiteral("lcdOutput"));
    const QString wanted = on ? QStringLiteral("ON") : QStringLiteral("OFF");
    if (output->text() != wanted)
        window.findChild<QPushButton *>(QStringLiteral("btnOutput"))->click();
    return waitFor([&] { return output->text() == wanted; }, kReadingTimeoutMs);
}

// Output on at the reset set point, a step up, and a pause with the output
// off, so that the charts have something to show.
bool recordReadings(MainWindow &window)
{
    if (!switchOutput(window, true) || !waitForRows(window, kReadingsBeforeStep))
        return false;
    window.findChild<QDoubleSpinBox *>(QStringLiteral("spinVolt"))->setValue(kStepVolts);
    if (!waitForRows(window, kReadingsBeforePause) || !switchOutput(window, false))
        return false;
    QElapsedTimer paused;
    paused.start();
    waitFor([&] { return paused.elapsed() >= kPauseMs; }, kPauseMs * 2);
    return switchOutput(window, true) && waitForRows(window, kReadingsShown);
}

bool saveMainWindow(MainWindow &window, const QDir &dir)
{
    settle();
    return savePicture(&window, dir, QStringLiteral("main-window.png"));
}

// The channel's voltage chart, with the hover mark on one of its readings.
bool saveChart(MainWindow &window, const QDir &dir)
{
    window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1"))->setCurrentIndex(1);
    window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1Charts"))->setCurrentIndex(0);
    settle();
    auto chart = window.findChild<DMMChart *>(QStringLiteral("chartCH1Voltage"));
    const QRect plot = chart->plotArea();
    const QPoint hover(plot.left() + int(plot.width() * kHoverFraction), plot.center().y());
    QMouseEvent move(QEvent::MouseMove, hover, chart->mapToGlobal(hover), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    settle();
    return savePicture(&window, dir, QStringLiteral("charts.png"));
}

// The channel's current chart on the time axis, the pause shaded, its values
// moved down with the keys, with both cursors and their read-out (the charge
// between them). The chart keeps the axis choice in the settings, which are
// this run's own.
bool saveChartAnalysis(MainWindow &window, const QDir &dir)
{
    window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1"))->setCurrentIndex(1);
    window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1Charts"))->setCurrentIndex(1);
    settle();
    auto chart = window.findChild<DMMChart *>(QStringLiteral("chartCH1Current"));
    chart->setTimeAxis(true);
    for (int step = 0; step < kValuePanSteps; ++step) {
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(chart, &up);
    }
    chart->setCursor(0, kCursorInset);
    chart->setCursor(1, recordedRows(window) - 1 - kCursorInset);
    settle();
    const bool saved = savePicture(window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCHs")), dir,
                                   QStringLiteral("chart-analysis.png"));
    // The pictures that follow show the voltage chart again.
    window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1Charts"))->setCurrentIndex(0);
    return saved;
}

bool saveOptions(MainWindow &window, const QDir &dir)
{
    auto optionsAction = window.findChild<QAction *>(QStringLiteral("actionOptions"));
    bool saved = false;
    answerDialog<DialogOptions>(optionsAction, [&](DialogOptions *dialog) {
        settle();
        saved = savePicture(dialog, dir, QStringLiteral("options.png"));
        // Cancel leaves the settings as they were.
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    return saved;
}

// The Sequence dock with a running sequence, the output timer counting down
// and a charge-termination condition; stopped again afterwards.
bool saveSequence(MainWindow &window, const QDir &dir)
{
    window.findChild<QAction *>(QStringLiteral("actionSequence"))->trigger();
    auto dock = window.findChild<QDockWidget *>(QStringLiteral("dockSequence"));
    window.resizeDocks({dock}, {kSequencePanelWidthPx}, Qt::Horizontal);
    auto steps = dock->findChild<QTableWidget *>(QStringLiteral("tableSteps"));
    for (const auto &step : kSequenceSteps) {
        dock->findChild<QPushButton *>(QStringLiteral("btnAddStep"))->click();
        for (int column = 0; column < 3; ++column)
            steps->item(steps->rowCount() - 1, column)->setData(Qt::EditRole, step[column]);
    }
    dock->findChild<QDoubleSpinBox *>(QStringLiteral("spinRamp"))->setValue(10);
    dock->findChild<QSpinBox *>(QStringLiteral("spinRepeats"))->setValue(3);
    dock->findChild<QCheckBox *>(QStringLiteral("chkOutputOffAtEnd"))->setChecked(true);
    dock->findChild<QComboBox *>(QStringLiteral("cbCondQuantity"))->setCurrentIndex(1);
    dock->findChild<QDoubleSpinBox *>(QStringLiteral("spinCondValue"))->setValue(0.05);
    dock->findChild<QDoubleSpinBox *>(QStringLiteral("spinCondHold"))->setValue(30);
    dock->findChild<QPushButton *>(QStringLiteral("btnCondAdd"))->click();
    dock->findChild<QTimeEdit *>(QStringLiteral("timeOutputTimer"))->setTime(QTime(2, 0));
    dock->findChild<QPushButton *>(QStringLiteral("btnTimerStart"))->click();
    dock->findChild<QPushButton *>(QStringLiteral("btnSeqStart"))->click();
    QElapsedTimer shown;
    shown.start();
    waitFor([&] { return shown.elapsed() >= kSequenceShownAfterMs; }, kSequenceShownAfterMs * 2);
    settle();
    const bool saved = savePicture(&window, dir, QStringLiteral("sequence.png"));
    dock->findChild<QPushButton *>(QStringLiteral("btnSeqStop"))->click();
    dock->findChild<QPushButton *>(QStringLiteral("btnTimerStop"))->click();
    return saved;
}

// The run's one session log, in the data folder given to this run; the
// event log beside it is not one.
QString sessionLogPath(const QTemporaryDir &dataHome)
{
    const QDir sessions(dataHome.filePath(QStringLiteral("luma4200/sessions")));
    QStringList logs;
    for (const QString &name : sessions.entryList({QStringLiteral("*.csv")}, QDir::Files))
        if (!name.endsWith(QLatin1String("-events.csv")))
            logs << sessions.filePath(name);
    return logs.size() == 1 ? logs.first() : QString();
}

// Lines in the file; its header line and one per recorded reading once the
// log has written everything.
int lineCount(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
}

// With the output off and every reading on disk, the session log of this run
// in the viewer, on CH1's voltage chart.
bool saveViewer(MainWindow &window, const QDir &dir, const QTemporaryDir &dataHome)
{
    if (!switchOutput(window, false))
        return false;
    const QString path = sessionLogPath(dataHome);
    if (path.isEmpty() || !waitFor([&] { return lineCount(path) == recordedRows(window) + 1; }, kReadingTimeoutMs)) {
        qCritical("the session log does not hold the recorded readings");
        return false;
    }
    auto viewer = SessionViewer::open(path, &window);
    bool shown = false;
    QEventLoop loading;
    QObject::connect(viewer, &SessionViewer::loaded, &loading, [&](bool ok) {
        shown = ok;
        loading.quit();
    });
    QTimer::singleShot(kViewerLoadTimeoutMs, &loading, &QEventLoop::quit);
    loading.exec();
    if (!shown) {
        qCritical("the viewer did not open %s", qPrintable(path));
        return false;
    }
    viewer->findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1"))->setCurrentIndex(1);
    viewer->findChild<QTabWidget *>(QStringLiteral("tabWidgetCH1Charts"))->setCurrentIndex(0);
    settle();
    const bool saved = savePicture(viewer, dir, QStringLiteral("session-viewer.png"));
    viewer->close();
    return saved;
}
} // namespace

int main(int argc, char *argv[])
{
    // The folders of the program itself, as the pictures show them.
    QCoreApplication::setApplicationName(QStringLiteral("luma4200"));
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        qCritical("usage: luma4200-screenshots <output directory>");
        return 2;
    }
    const QDir dir(app.arguments().at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        qCritical("cannot create %s", qPrintable(dir.path()));
        return 1;
    }

    // A private bus: a simulator or instrument of the user's is never met.
    QTemporaryDir busDir;
    qputenv("LUMA4200_VIRTUAL_BUS", busDir.filePath(QStringLiteral("vbus")).toLocal8Bit());
    Simulator simulator;
    if (!busDir.isValid() || !simulator.start()) {
        qCritical("the simulator did not start");
        return 1;
    }

    // The session log of these readings goes to a folder of its own, not
    // among the user's sessions.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    // So do the settings beside options.xml (the charts' axis choice, column
    // widths, the SCPI port): the pictures show their defaults, and the
    // choices made for them do not reach the user's.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());

    MessageBoxWatch watch;
    OptionsSetAside options;
    // Deleted, never closed: closing would write options.xml.
    auto window = std::make_unique<MainWindow>();
    window->resize(kWindowWidthPx, kWindowHeightPx);
    window->show();
    options.restore();

    const bool done = connectToSimulator(*window, dir, watch) && recordReadings(*window)
        && saveMainWindow(*window, dir) && saveChart(*window, dir) && saveChartAnalysis(*window, dir)
        && saveOptions(*window, dir) && saveSequence(*window, dir) && saveViewer(*window, dir, dataHome);
    if (!done || watch.failed)
        qCritical("stopped before all pictures were taken");

    window->findChild<QAction *>(QStringLiteral("actDisconnect"))->trigger();
    window.reset();
    return done && !watch.failed ? 0 : 1;
}

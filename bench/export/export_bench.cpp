// How long the user waits for an export, and how much memory it takes:
// the real window, shown, holding the given number of readings per channel
// (records as the real driver builds them), exports through its Export
// command from the moment the save dialog is answered to the moment the
// "open this file?" question appears. Each size and file type runs in a
// fresh process, several times; the figures are printed, nothing is asserted.
//
//   export_bench                       the table for .xlsx and .csv
//   export_bench --types xls,xlsx      other file types (by suffix)
//   export_bench --child ROWS FILE     one measurement (used by the table)

#include "benchclock.h"
#include "channelrecord.h"
#include "instrumentreading.h"
#include "localtimezone.h"
#include "mainwindow.h"
#include "testdriverhandle.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using BenchClock::processCpuSeconds;
using BenchClock::statusBytes;
constexpr int kSmallRows = 10000;
constexpr int kLargeRows = 100000;
constexpr int kSmallRuns = 5;
constexpr int kLargeRuns = 3;
constexpr double kSmallTargetS = 0.5;
constexpr double kLargeTargetS = 3.0;
constexpr double kPeakTargetMiB = 100.0;
constexpr qint64 kFirstReadingMs = 1733650000000;
constexpr qint64 kReadingPeriodMs = 1000;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;

// From here on VmHWM counts the peak from the current resident size.
void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

QList<DmmData *> readingNumber(int i)
{
    InstrumentReading reading;
    reading.outputOn = true;
    reading.track = quint8(1 + i % 3);
    for (int ch = 0; ch < InstrumentReading::kChannelCount; ++ch) {
        ChannelReading &channel = reading.channels[ch];
        channel.setCentiVolts = 1200;
        channel.setMilliAmps = 1000;
        channel.centiVolts = 1200 + i % 7;
        channel.milliAmps = 500 + i % 5;
        channel.centiWatts = channel.centiVolts * channel.milliAmps / 1000;
        channel.constantCurrent = i % 2;
    }
    QList<DmmData *> records;
    for (int ch = 1; ch <= InstrumentReading::kChannelCount; ++ch)
        records << new ChannelRecord(ch, reading, kFirstReadingMs + i * kReadingPeriodMs);
    return records;
}

// Answers the save dialog with the file name and the question with No,
// taking the time and memory figures at those two moments.
class ExportWatcher : public QObject
{
public:
    explicit ExportWatcher(const QString &fileName) : fileName(fileName) {}

    double wallSeconds = 0;
    double cpuSeconds = 0;
    qint64 extraPeakBytes = 0;
    bool finished = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto dialog = qobject_cast<QFileDialog *>(watched)) {
            QTimer::singleShot(0, dialog, [this, dialog] {
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fileName);
                startRss = statusBytes("VmRSS");
                resetPeakMemory();
                startCpu = processCpuSeconds();
                wall.start();
                QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
            });
        } else if (auto box = qobject_cast<QMessageBox *>(watched)) {
            wallSeconds = wall.nsecsElapsed() / 1e9;
            cpuSeconds = processCpuSeconds() - startCpu;
            extraPeakBytes = statusBytes("VmHWM") - startRss;
            finished = box->text().contains(QStringLiteral("successfully"));
            QTimer::singleShot(0, box, [box] { box->done(QMessageBox::No); });
        }
        return false;
    }

private:
    QString fileName;
    QElapsedTimer wall;
    double startCpu = 0;
    qint64 startRss = 0;
};

int runChild(int rows, const QString &fileName)
{
    // The session log, if any, goes to a place of its own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    TestDriverHandle driver;
    if (!driver.isValid()) {
        std::fprintf(stderr, "no test driver in Lib/\n");
        return 1;
    }
    driver.control->reset();
    driver.control->preset(QStringLiteral("outputOn"), true);
    driver.control->preset(QStringLiteral("infinite"), true);
    // Filled before it is shown: the readings arrive faster than any
    // instrument sends them, and only the export's figures count.
    MainWindow window;
    for (int i = 0; i < rows; ++i)
        QMetaObject::invokeMethod(driver.object, "updateData", Qt::DirectConnection,
                                  Q_ARG(QList<DmmData *>, readingNumber(i)));
    driver.control->clearCalls();
    window.show();
    QCoreApplication::processEvents();

    ExportWatcher watcher(fileName);
    qApp->installEventFilter(&watcher);
    window.findChild<QAction *>(QStringLiteral("actionExport"))->trigger();
    if (!watcher.finished) {
        std::fprintf(stderr, "export failed\n");
        return 1;
    }
    std::printf("%.4f %.4f %lld\n", watcher.wallSeconds, watcher.cpuSeconds,
                static_cast<long long>(watcher.extraPeakBytes));
    return 0;
}

struct Run
{
    double wallSeconds;
    double cpuSeconds;
    double extraPeakMiB;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRow(int rows, const QString &type, int runs)
{
    const QTemporaryDir dir;
    std::vector<double> wall, cpu, peak;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::number(rows),
                     dir.filePath(QStringLiteral("records%1.%2").arg(i).arg(type))});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 3) {
            std::printf("%8d %-5s  failed\n", rows, qPrintable(type));
            return;
        }
        wall.push_back(figures.at(0).toDouble());
        cpu.push_back(figures.at(1).toDouble());
        peak.push_back(figures.at(2).toDouble() / kBytesPerMiB);
    }
    const double target = rows <= kSmallRows ? kSmallTargetS : kLargeTargetS;
    std::printf("%8d %-5s %4d %9.2f %9.2f %6.2f-%-6.2f %11.1f %11.1f   <= %.1f s, <= %.0f MiB\n", rows,
                qPrintable(type), runs, median(wall), median(cpu),
                *std::min_element(cpu.begin(), cpu.end()), *std::max_element(cpu.begin(), cpu.end()),
                median(peak), *std::max_element(peak.begin(), peak.end()), target, kPeakTargetMiB);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The figures are the export's, not those of debug output on the terminal.
    qputenv("QT_LOGGING_RULES", "luma.*.debug=false");
    // As the application does at its start (main.cpp).
    LocalTimeZone::keepSystemZone();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--child"))
        return runChild(arguments.value(2).toInt(), arguments.value(3));

    QStringList types = {QStringLiteral("xlsx"), QStringLiteral("csv")};
    if (arguments.value(1) == QLatin1String("--types"))
        types = arguments.value(2).split(QLatin1Char(','));
    std::printf("export of N readings per channel through the window's Export command\n");
    std::printf("(wall and CPU seconds from the save dialog's answer to the question; extra peak\n");
    std::printf(" resident memory over the memory before the export; one fresh process per run)\n");
    std::printf("%8s %-5s %4s %9s %9s %13s %11s %11s   %s\n", "rows", "type", "runs", "wall med",
                "CPU med", "CPU min-max", "peak MiB", "peak max", "target");
    for (const QString &type : types) {
        printRow(kSmallRows, type, kSmallRuns);
        printRow(kLargeRows, type, kLargeRuns);
    }
    return 0;
}

// How long a user waits for a past session: a session log of N readings,
// written as a recording writes it (SessionLog, from the driver's records of
// instrument-like readings, one a second), is opened with
// SessionViewer::open as the "Open session…" action does, from the call to
// the viewer's loaded(true) and to the first paint of the shown viewer. Beside
// it, the straightforward way: QFile::readLine, QString::split,
// QDateTime::fromString and toDouble per field into plain vectors. The file
// is read from the page cache (it was just written), so the figures are the
// program's, not the disk's.
//
// Each run is a fresh process, so no run reuses the heap of another. Figures:
// wall and CPU seconds (CPU of all threads: the viewer reads on a thread of
// its own), the process's peak resident memory (VmHWM) and its resident
// memory before the opening, in MB of 10^6 bytes. Prints figures; asserts
// nothing.
//
//   sessionopen_bench N [RUNS]          writes a log of N readings and prints
//                                       "measure median low high" lines
//   sessionopen_bench --child WAY FILE  one run: WAY is viewer or plain

#include "benchclock.h"
#include "benchreadings.h"
#include "localtimezone.h"
#include "readingtable.h"
#include "sessionlog.h"
#include "sessionviewer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

using BenchClock::processCpuSeconds;
using BenchClock::statusBytes;
constexpr int kRuns = 5;
constexpr int kLargeRuns = 3;
constexpr int kLargeReadings = 10000000;
constexpr double kBytesPerMB = 1e6;
// The fields after the time that hold numbers: volts, amperes and watts of
// the three channels (channel 3's current and power are empty).
constexpr int kNumberFields = 9;

// The session log of a recording of this many readings, in folder; its path,
// or empty when it could not be written.
QString writeLog(int readings, const QString &folder)
{
    SessionLog log(folder);
    BenchReadings source(true);
    ReadingTable row; // one reading at a time, as the log reads it
    QString path;
    for (int i = 0; i < readings; ++i) {
        const QList<DmmData *> records = source.next();
        row.clear();
        row.append(ReadingTable::fromRecords(*records.at(0), *records.at(1), *records.at(2)));
        qDeleteAll(records);
        log.append(row, 0);
        if (path.isEmpty())
            path = log.fileName();
    }
    log.close();
    return QFile::exists(path) ? path : QString();
}

void printRun(double wallSeconds, double cpuSeconds, double paintedSeconds, qint64 baseBytes)
{
    std::printf("%.4f %.4f %.4f %.1f %.1f\n", wallSeconds, cpuSeconds, paintedSeconds,
                statusBytes("VmHWM") / kBytesPerMB, baseBytes / kBytesPerMB);
}

// Closes any message box at once: a file the viewer refuses must end the
// run, not wait for an answer.
class BoxCloser : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto box = qobject_cast<QMessageBox *>(watched)) {
                std::fprintf(stderr, "%s\n", qPrintable(box->text()));
                QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
            }
        }
        return false;
    }
};

int openInViewer(const QString &fileName)
{
    QWidget parent;
    BoxCloser closer;
    qApp->installEventFilter(&closer);
    QEventLoop loop;
    bool shown = false;
    const qint64 baseBytes = statusBytes("VmRSS");
    const double startCpu = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    SessionViewer *viewer = SessionViewer::open(fileName, &parent);
    QObject::connect(viewer, &SessionViewer::loaded, &loop, [&](bool loaded) {
        shown = loaded;
        loop.quit();
    });
    loop.exec();
    const double loadedSeconds = wall.nsecsElapsed() / 1e9;
    const double cpuSeconds = processCpuSeconds() - startCpu;
    if (!shown)
        return 1;
    // The shown viewer is laid out and painted by the events that follow.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const double paintedSeconds = wall.nsecsElapsed() / 1e9;
    printRun(loadedSeconds, cpuSeconds, paintedSeconds, baseBytes);
    return 0;
}

// The straightforward way, into one vector per field.
int readPlainly(const QString &fileName)
{
    const qint64 baseBytes = statusBytes("VmRSS");
    const double startCpu = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    std::vector<qint64> times;
    std::array<std::vector<double>, kNumberFields> numbers;
    std::vector<int> modes, ch1Flags, ch2Flags;
    file.readLine(); // the header
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char(','));
        if (fields.size() != 1 + kNumberFields + 3)
            return 1;
        times.push_back(QDateTime::fromString(fields.at(0), Qt::ISODateWithMs).toMSecsSinceEpoch());
        for (int i = 0; i < kNumberFields; ++i)
            numbers[i].push_back(fields.at(1 + i).toDouble());
        modes.push_back(fields.at(1 + kNumberFields).toInt());
        ch1Flags.push_back(fields.at(2 + kNumberFields).toInt());
        ch2Flags.push_back(fields.at(3 + kNumberFields).toInt());
    }
    const double seconds = wall.nsecsElapsed() / 1e9;
    printRun(seconds, processCpuSeconds() - startCpu, seconds, baseBytes);
    return times.empty() ? 1 : 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const std::string &measure, const std::vector<double> &samples)
{
    std::printf("%s %.4f %.4f %.4f\n", measure.c_str(), median(samples),
                *std::min_element(samples.begin(), samples.end()), *std::max_element(samples.begin(), samples.end()));
    std::fflush(stdout);
}

// Runs one way in fresh processes and prints its figures as way.measure lines.
void measure(const QString &way, const QString &fileName, int runs)
{
    static const char *const names[] = {"wall", "cpu", "painted", "peak_mb", "base_mb"};
    std::map<std::string, std::vector<double>> figures;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), way, fileName});
        child.waitForFinished(-1);
        const QList<QByteArray> values = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || values.size() != 5) {
            std::printf("%s.failed 1 1 1\n", qPrintable(way));
            return;
        }
        for (int i = 0; i < values.size(); ++i)
            figures[names[i]].push_back(values.at(i).toDouble());
    }
    for (const char *name : names)
        report(way.toStdString() + '.' + name, figures[name]);
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The figures are the opening's, not those of debug output on the terminal.
    qputenv("QT_LOGGING_RULES", "luma.*.debug=false;luma.recording.info=false");
    // Nothing the viewer or the log writes may land in the real home.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    // As the application does at its start (main.cpp).
    LocalTimeZone::keepSystemZone();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--child")) {
        if (arguments.value(2) == QLatin1String("viewer"))
            return openInViewer(arguments.value(3));
        return readPlainly(arguments.value(3));
    }

    const int readings = arguments.value(1).toInt();
    if (readings < 1) {
        std::fprintf(stderr, "usage: %s READINGS [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = arguments.size() > 2 ? std::max(1, arguments.value(2).toInt())
                                          : readings >= kLargeReadings ? kLargeRuns : kRuns;
    const QString fileName = writeLog(readings, home.filePath(QStringLiteral("sessions")));
    if (fileName.isEmpty()) {
        std::fprintf(stderr, "the session log could not be written in %s\n", qPrintable(home.path()));
        return 1;
    }
    report("file.mb", {QFile(fileName).size() / kBytesPerMB});
    measure(QStringLiteral("viewer"), fileName, runs);
    measure(QStringLiteral("plain"), fileName, runs);
    return 0;
}

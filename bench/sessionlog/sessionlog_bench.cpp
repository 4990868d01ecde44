// What the session log adds to each recorded reading: the line's formatting
// and its buffered write (the buffer goes to the system when full, and at the
// latest half a second later by the log's timer: one call more every half
// second at real paces). Beside it, the line's formatting alone, and the
// straightforward ways: the same line written and flushed to the system on
// every reading, and written and synced to the disk on every reading. Each
// way runs in a fresh process, several times; CPU time per reading as median
// and spread, and the wall time. Prints figures; asserts nothing.
//
//   sessionlog_bench                 the table
//   sessionlog_bench --child WAY N   one run (used by the table)

#include "benchclock.h"
#include "channelrecord.h"
#include "instrumentreading.h"
#include "readingrow.h"
#include "readingtable.h"
#include "sessionlog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using BenchClock::processCpuSeconds;
constexpr int kReadings = 20000;
constexpr int kSyncedReadings = 2000; // a sync per reading is slow: fewer of them
constexpr int kRuns = 5;
constexpr qint64 kFirstReadingMs = 1733650000000;

std::vector<std::unique_ptr<DmmData>> readingNumber(int i)
{
    InstrumentReading reading;
    reading.outputOn = true;
    for (int ch = 0; ch < InstrumentReading::kChannelCount; ++ch) {
        ChannelReading &channel = reading.channels[ch];
        channel.centiVolts = 1200 + i % 7;
        channel.milliAmps = 500 + i % 5;
        channel.centiWatts = channel.centiVolts * channel.milliAmps / 1000;
    }
    std::vector<std::unique_ptr<DmmData>> records;
    for (int ch = 1; ch <= InstrumentReading::kChannelCount; ++ch)
        records.emplace_back(new ChannelRecord(ch, reading, kFirstReadingMs + i * 1000LL));
    return records;
}

int runChild(const QString &way, int readings)
{
    QTemporaryDir dir;
    // The recorded rows, as the recorder keeps them.
    ReadingTable table;
    for (int i = 0; i < readings; ++i) {
        const auto records = readingNumber(i);
        table.append(ReadingTable::fromRecords(*records[0], *records[1], *records[2]));
    }

    QFile plain(dir.filePath(QStringLiteral("plain.csv")));
    SessionLog log(dir.path());
    if (!plain.open(QIODevice::WriteOnly))
        return 1;
    qint64 formatted = 0;
    const double startCpu = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int row = 0; row < readings; ++row) {
        if (way == QLatin1String("log")) {
            log.append(table, row);
            continue;
        }
        if (way == QLatin1String("format")) {
            formatted += ReadingRow::line(table, row).size();
            continue;
        }
        plain.write(ReadingRow::line(table, row));
        plain.flush();
        if (way == QLatin1String("sync"))
            fsync(plain.handle());
    }
    log.close();
    if (way == QLatin1String("format") && formatted == 0)
        return 1;
    std::printf("%.3f %.3f\n", (processCpuSeconds() - startCpu) * 1e6 / readings, wall.nsecsElapsed() / 1e3 / readings);
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRow(const QString &way, const char *what, int readings)
{
    std::vector<double> cpu, wall;
    for (int run = 0; run < kRuns; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), way, QString::number(readings)});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 2) {
            std::printf("%-40s failed\n", what);
            return;
        }
        cpu.push_back(figures.at(0).toDouble());
        wall.push_back(figures.at(1).toDouble());
    }
    std::printf("%-40s %9d %4d %10.2f %7.2f-%-7.2f %10.2f\n", what, readings, kRuns, median(cpu),
                *std::min_element(cpu.begin(), cpu.end()), *std::max_element(cpu.begin(), cpu.end()),
                median(wall));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--child"))
        return runChild(arguments.value(2), arguments.value(3).toInt());

    std::printf("session log: cost per recorded reading (three channels, one CSV line)\n");
    std::printf("%-40s %9s %4s %10s %15s %10s\n", "way", "readings", "runs", "CPU us med", "CPU us min-max",
                "wall us med");
    printRow(QStringLiteral("format"), "the line's formatting alone", kReadings);
    printRow(QStringLiteral("log"), "SessionLog::append (buffered)", kReadings);
    printRow(QStringLiteral("flush"), "write and flush every reading", kReadings);
    printRow(QStringLiteral("sync"), "write, flush and fsync every reading", kSyncedReadings);
    return 0;
}

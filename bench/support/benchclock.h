#ifndef BENCHCLOCK_H
#define BENCHCLOCK_H

#include <QByteArray>
#include <QFile>
#include <QString>

#include <ctime>
#include <functional>
#include <vector>

// What the benchmarks measure with: CPU time of the calling thread or of the
// whole process, and the process's memory as /proc/self/status reports it.
namespace BenchClock {

inline double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

inline double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
inline qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

// The mean thread CPU time in ms of one call of work, for each of runCount runs.
inline std::vector<double> runs(int runCount, int callsPerRun, const std::function<void()> &work)
{
    std::vector<double> means;
    for (int run = 0; run < runCount; ++run) {
        const double start = threadCpuMs();
        for (int i = 0; i < callsPerRun; ++i)
            work();
        means.push_back((threadCpuMs() - start) / callsPerRun);
    }
    return means;
}

} // namespace BenchClock

#endif // BENCHCLOCK_H

#include "outputtimer.h"

#include "imydmm.h"

namespace {
constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 3600;
} // namespace

OutputTimer::OutputTimer(IMyDmm *commands, QObject *parent) : QObject(parent), commands(commands)
{
    expiry.setSingleShot(true);
    expiry.setTimerType(Qt::PreciseTimer);
    connect(&expiry, &QTimer::timeout, this, &OutputTimer::expire);
}

void OutputTimer::start(qint64 ms)
{
    durationMs = qBound<qint64>(0, ms, kMaxDurationMs);
    clock.start();
    expiry.start(int(durationMs));
}

void OutputTimer::stop(const QString &reason)
{
    if (!expiry.isActive())
        return;
    expiry.stop();
    emit stopped(reason);
}

qint64 OutputTimer::remainingMs() const
{
    return expiry.isActive() ? qMax<qint64>(0, durationMs - clock.elapsed()) : 0;
}

QString OutputTimer::format(qint64 ms)
{
    const qint64 seconds = (qMax<qint64>(0, ms) + kMsPerSecond - 1) / kMsPerSecond;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / kSecondsPerHour, 2, 10, QLatin1Char('0'))
        .arg(seconds % kSecondsPerHour / kSecondsPerMinute, 2, 10, QLatin1Char('0'))
        .arg(seconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
}

void OutputTimer::expire()
{
    commands->setOutput(false);
    emit expired();
}

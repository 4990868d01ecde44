#include "charttimeticks.h"

#include <QDateTime>

#include <cmath>

namespace {

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;
constexpr qint64 kSteps[] = {kSecond,      2 * kSecond,  5 * kSecond,  10 * kSecond, 15 * kSecond,
                             30 * kSecond, kMinute,      2 * kMinute,  5 * kMinute,  10 * kMinute,
                             15 * kMinute, 30 * kMinute, kHour,        2 * kHour,    3 * kHour,
                             6 * kHour,    12 * kHour,   kDay,         2 * kDay,     7 * kDay};
// More ticks than pixels could never be told apart.
constexpr int kMaxTicks = 10000;

} // namespace

ChartTimeTicks::Ticks ChartTimeTicks::compute(double startMs, double msScale, int plotWidth, double minPixels)
{
    Ticks ticks;
    if (!(msScale > 0) || !std::isfinite(startMs) || plotWidth <= 0)
        return ticks;
    qint64 step = 0;
    for (qint64 candidate : kSteps) {
        if (candidate * msScale >= minPixels) {
            step = candidate;
            break;
        }
    }
    if (step == 0)
        step = qint64(std::ceil(minPixels / msScale / kDay)) * kDay;

    const double endMs = startMs + plotWidth / msScale;
    // Round steps of local time: count from a local midnight.
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(qint64(std::floor(startMs)));
    const qint64 offset = qint64(start.offsetFromUtc()) * kSecond;
    const qint64 local = qint64(std::floor(startMs)) + offset;
    qint64 tick = (local / step + (local % step > 0 ? 1 : 0)) * step - offset;
    QDate previousDay;
    for (int count = 0; tick <= endMs && count < kMaxTicks; tick += step, ++count) {
        const QDateTime time = QDateTime::fromMSecsSinceEpoch(tick);
        ticks.x.append(int(std::lround((tick - startMs) * msScale)));
        ticks.times << time.toString(QStringLiteral("hh:mm:ss"));
        ticks.dates << (time.date() != previousDay ? time.toString(QStringLiteral("yyyy-MM-dd")) : QString());
        previousDay = time.date();
    }
    return ticks;
}

QString ChartTimeTicks::duration(qint64 ms)
{
    const qint64 seconds = (ms + kSecond / 2) / kSecond;
    if (ms < kMinute)
        return QStringLiteral("%1 s").arg(seconds);
    if (ms < kHour)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    if (ms < kDay)
        return QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds / 60 % 60);
    return QStringLiteral("%1 d %2 h").arg(seconds / 86400).arg(seconds / 3600 % 24);
}

#include "chartreadout.h"
#include "chartpointsource.h"
#include "charttimeline.h"
#include "valuecolumn.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMsPerHour = 3600000.0;
constexpr int kSignificantDigits = 6;
constexpr int kAverageExtraDecimals = 2;

QString tr(const char *text)
{
    return QCoreApplication::translate("DMMChart", text);
}

QString unitOf(ChartReadout::Quantity quantity)
{
    switch (quantity) {
    case ChartReadout::Quantity::Voltage:
        return QStringLiteral("V");
    case ChartReadout::Quantity::Current:
        return QStringLiteral("A");
    case ChartReadout::Quantity::Power:
        return QStringLiteral("W");
    case ChartReadout::Quantity::Other:
        break;
    }
    return QString();
}

// Value-hours in the unit or its thousandth, "1.234 mAh".
QString hoursText(double valueHours, const QString &unit)
{
    if (std::abs(valueHours) < 1)
        return QStringLiteral("%1 m%2h").arg(valueHours * 1000, 0, 'g', kSignificantDigits).arg(unit);
    return QStringLiteral("%1 %2h").arg(valueHours, 0, 'g', kSignificantDigits).arg(unit);
}

} // namespace

ChartReadout::Quantity ChartReadout::quantityOf(const QString &chartName)
{
    if (chartName.endsWith(QLatin1String("Voltage")))
        return Quantity::Voltage;
    if (chartName.endsWith(QLatin1String("Current")))
        return Quantity::Current;
    if (chartName.endsWith(QLatin1String("Power")))
        return Quantity::Power;
    return Quantity::Other;
}

QString ChartReadout::valueText(double value, Quantity quantity, int decimals)
{
    const QString unit = unitOf(quantity);
    const QString number = !std::isfinite(value) ? QStringLiteral("-")
        : decimals >= 0                          ? QString::number(value, 'f', decimals)
                                                 : QString::number(value, 'g', kSignificantDigits);
    return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
}

QString ChartReadout::durationText(qint64 ms)
{
    const QString sign = ms < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = std::abs(ms);
    return sign
        + QStringLiteral("%1:%2:%3.%4")
              .arg(magnitude / 3600000)
              .arg(magnitude / 60000 % 60, 2, 10, QLatin1Char('0'))
              .arg(magnitude / 1000 % 60, 2, 10, QLatin1Char('0'))
              .arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

QStringList ChartReadout::lines(const ChartPointSource &source, const ChartTimeline &timeline, const Input &input)
{
    QStringList result;
    const int count = std::min(source.values().count(), timeline.count());
    int shown[2] = {-1, -1};
    for (int c = 0; c < 2; ++c) {
        const int index = input.cursors[c];
        if (index < 0 || index >= count)
            continue;
        shown[c] = index;
        const QDateTime time = source.time(index);
        result << tr("Cursor %1: %2  %3")
                      .arg(c + 1)
                      .arg(time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) : tr("no time"))
                      .arg(valueText(source.values().at(index), input.quantity, input.decimals));
    }
    int first = input.first;
    int last = input.last;
    if (shown[0] >= 0 && shown[1] >= 0) {
        const qint64 t0 = source.timeMs(shown[0]);
        const qint64 t1 = source.timeMs(shown[1]);
        const QString dt = t0 == ChartPointSource::kNoTime || t1 == ChartPointSource::kNoTime
                               ? tr("no time")
                               : durationText(t1 - t0);
        result << tr("\u0394t %1  \u0394value %2")
                      .arg(dt)
                      .arg(valueText(source.values().at(shown[1]) - source.values().at(shown[0]), input.quantity,
                                     input.decimals));
        first = std::min(shown[0], shown[1]);
        last = std::max(shown[0], shown[1]);
    }
    const ChartTimeline::Statistics statistics = timeline.statistics(source, first, last);
    result << tr("Readings %1  min %2  max %3")
                  .arg(statistics.count)
                  .arg(valueText(statistics.min, input.quantity, input.decimals))
                  .arg(valueText(statistics.max, input.quantity, input.decimals));
    // An average resolves finer than the readings it is taken of.
    const int averageDecimals = input.decimals >= 0 ? input.decimals + kAverageExtraDecimals : -1;
    result << tr("Mean %1  RMS %2")
                  .arg(valueText(statistics.mean, input.quantity, averageDecimals))
                  .arg(valueText(statistics.rms, input.quantity, averageDecimals));
    if (input.quantity == Quantity::Current)
        result << tr("Charge %1").arg(hoursText(statistics.area / kMsPerHour, QStringLiteral("A")));
    else if (input.quantity == Quantity::Power)
        result << tr("Energy %1").arg(hoursText(statistics.area / kMsPerHour, QStringLiteral("W")));
    return result;
}

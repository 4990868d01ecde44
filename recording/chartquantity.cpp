#include "chartquantity.h"

#include "readingtime.h"

#include <QCoreApplication>

namespace {
const QString kChartPrefix = QStringLiteral("chartCH");
} // namespace

const ChartQuantity *ChartQuantity::forChart(const QString &chartName)
{
    static const ChartQuantity quantities[] = {
        {QStringLiteral("Voltage"), QStringLiteral("V"), ReadingTable::Voltage,
         QT_TRANSLATE_NOOP("MainWindow", "Voltage"), 2},
        {QStringLiteral("Current"), QStringLiteral("A"), ReadingTable::Current,
         QT_TRANSLATE_NOOP("MainWindow", "Current"), 3},
        {QStringLiteral("Power"), QStringLiteral("W"), ReadingTable::Power,
         QT_TRANSLATE_NOOP("MainWindow", "Power"), 2},
    };
    for (const ChartQuantity &quantity : quantities) {
        if (chartName.endsWith(quantity.name))
            return &quantity;
    }
    return nullptr;
}

int ChartQuantity::channelOf(const QString &chartName)
{
    if (!chartName.startsWith(kChartPrefix))
        return 0;
    return chartName.mid(kChartPrefix.size(), 1).toInt();
}

QString ChartQuantity::label(qint64 timeMs, const QString &text) const
{
    return QStringLiteral("%1: %2%3").arg(ReadingTime::text(timeMs), text, unit);
}

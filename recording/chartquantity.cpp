#include "chartquantity.h"

#include "chartpoint.h"
#include "dmmdata.h"

#include <QCoreApplication>

namespace {
const QString kChartPrefix = QStringLiteral("chartCH");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
} // namespace

const ChartQuantity *ChartQuantity::forChart(const QString &chartName)
{
    static const ChartQuantity quantities[] = {
        {QStringLiteral("Voltage"), QStringLiteral("V"), &DmmData::voltage, &DmmData::voltageText,
         QT_TRANSLATE_NOOP("MainWindow", "Voltage"), 2},
        {QStringLiteral("Current"), QStringLiteral("A"), &DmmData::current, &DmmData::currentText,
         QT_TRANSLATE_NOOP("MainWindow", "Current"), 3},
        {QStringLiteral("Power"), QStringLiteral("W"), &DmmData::power, &DmmData::powerText,
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

ChartPoint *ChartQuantity::makePoint(const DmmData &record) const
{
    auto point = new ChartPoint;
    point->value = (record.*value)();
    return point;
}

QString ChartQuantity::label(const DmmData &record) const
{
    return QStringLiteral("%1: %2%3").arg(record.dateTime().toString(kTimeFormat), (record.*text)(), unit);
}

// How much time and memory a day of logging costs: readings as the driver
// builds them go into the three record models and the seven charts, as the
// window's pipeline puts them there. Prints figures; asserts nothing.

#include "channelrecord.h"
#include "chartquantity.h"
#include "columninfo.h"
#include "datamodel.h"
#include "dmmchart.h"
#include "instrumentreading.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {
const QStringList kChartNames = {"chartCH1Voltage", "chartCH1Current", "chartCH1Power", "chartCH2Voltage",
                                 "chartCH2Current", "chartCH2Power", "chartCH3Voltage"};

// Resident memory of this process, in bytes.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

InstrumentReading readingNumber(int i)
{
    InstrumentReading reading;
    reading.outputOn = true;
    for (int ch = 0; ch < InstrumentReading::kChannelCount; ++ch) {
        ChannelReading &channel = reading.channels[ch];
        channel.setCentiVolts = 1200;
        channel.setMilliAmps = ch < 2 ? 1000 : 0;
        channel.centiVolts = 1200 + i % 7;
        channel.milliAmps = ch < 2 ? 500 + i % 5 : 0;
        channel.centiWatts = channel.centiVolts * channel.milliAmps / 1000;
    }
    return reading;
}

void run(int readings)
{
    QList<ColumnInfo *> columns;
    for (int i = 0; i < 7; ++i)
        columns << new ColumnInfo{QStringLiteral("column"), 2};
    std::vector<std::unique_ptr<DataModel>> models;
    for (quint8 ch = 1; ch <= 3; ++ch)
        models.emplace_back(new DataModel(columns, ch));
    std::vector<std::unique_ptr<DMMChart>> charts;
    for (const QString &name : kChartNames) {
        charts.emplace_back(new DMMChart);
        charts.back()->setObjectName(name);
    }

    const qint64 before = residentBytes();
    const qint64 startMs = 1733650000000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < readings; ++i) {
        const InstrumentReading reading = readingNumber(i);
        QList<DmmData *> records;
        for (int ch = 1; ch <= 3; ++ch)
            records << new ChannelRecord(ch, reading, startMs + i * 1000LL);
        for (int ch = 0; ch < 3; ++ch)
            models[ch]->append(records.at(ch));
        for (const auto &chart : charts) {
            const ChartQuantity *quantity = ChartQuantity::forChart(chart->objectName());
            const int channel = ChartQuantity::channelOf(chart->objectName());
            chart->addPoint(quantity->makePoint(*records.at(channel - 1)), 0);
        }
    }
    const double perReadingUs = timer.nsecsElapsed() / 1000.0 / readings;
    const double perReadingBytes = double(residentBytes() - before) / readings;
    std::printf("%10d %18.2f %20.0f %18.1f\n", readings, perReadingUs, perReadingBytes,
                perReadingBytes * 86400 / (1024.0 * 1024.0));
    charts.clear();
    models.clear();
    qDeleteAll(columns);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::printf("recording into 3 models and 7 charts (no painting)\n");
    std::printf("%10s %18s %20s %18s\n", "readings", "us per reading", "bytes per reading", "MiB per day at 1Hz");
    for (int readings : {10000, 100000, 500000})
        run(readings);
    return 0;
}

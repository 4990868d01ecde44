#include "readingrow.h"

#include "readingtable.h"

#include <QDateTime>
#include <QLocale>

namespace {
// The shortest text that reads back as the same double: 12.01, not 12.0099999.
void appendNumber(QByteArray &line, double value)
{
    line += ',';
    line += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}
} // namespace

QByteArray ReadingRow::header()
{
    return QByteArrayLiteral("Time,CH1 Voltage(V),CH1 Current(A),CH1 Power(W),"
                             "CH2 Voltage(V),CH2 Current(A),CH2 Power(W),"
                             "CH3 Voltage(V),CH3 Current(A),CH3 Power(W),"
                             "Tracking mode,CH1 Flag,CH2 Flag\n");
}

QByteArray ReadingRow::line(const ReadingTable &table, int row)
{
    return line(table, table, table, row);
}

QByteArray ReadingRow::line(const ReadingTable &channel1, const ReadingTable &channel2,
                            const ReadingTable &channel3, int row)
{
    QByteArray line = QDateTime::fromMSecsSinceEpoch(channel1.timeMs(row)).toString(Qt::ISODateWithMs).toLatin1();
    for (int series = ReadingTable::Ch1Voltage; series <= ReadingTable::Ch1Power; ++series)
        appendNumber(line, channel1.value(row, series));
    for (int series = ReadingTable::Ch2Voltage; series <= ReadingTable::Ch2Power; ++series)
        appendNumber(line, channel2.value(row, series));
    appendNumber(line, channel3.value(row, ReadingTable::Ch3Voltage));
    line += ",,," + QByteArray::number(channel1.trackMode(row));
    line += channel1.constantCurrent(row, 1) ? ",1" : ",0";
    line += channel1.constantCurrent(row, 2) ? ",1\n" : ",0\n";
    return line;
}

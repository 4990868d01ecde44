#include "readingrow.h"

#include "dmmdata.h"

#include <QDateTime>
#include <QLocale>

namespace {
// The shortest text that reads back as the same double: 12.01, not 12.0099999.
void appendNumber(QByteArray &line, double value)
{
    line += ',';
    line += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

void appendMeasurements(QByteArray &line, const DmmData &record)
{
    appendNumber(line, record.voltage());
    appendNumber(line, record.current());
    appendNumber(line, record.power());
}
} // namespace

QByteArray ReadingRow::header()
{
    return QByteArrayLiteral("Time,CH1 Voltage(V),CH1 Current(A),CH1 Power(W),"
                             "CH2 Voltage(V),CH2 Current(A),CH2 Power(W),"
                             "CH3 Voltage(V),CH3 Current(A),CH3 Power(W),"
                             "Tracking mode,CH1 Flag,CH2 Flag\n");
}

QByteArray ReadingRow::line(const DmmData &channel1, const DmmData &channel2, const DmmData &channel3)
{
    QByteArray line = channel1.dateTime().toString(Qt::ISODateWithMs).toLatin1();
    appendMeasurements(line, channel1);
    appendMeasurements(line, channel2);
    appendMeasurements(line, channel3);
    line += ',' + QByteArray::number(channel1.trackMode());
    line += channel1.ch1Flag() != 0 ? ",1" : ",0";
    line += channel1.ch2Flag() != 0 ? ",1\n" : ",0\n";
    return line;
}

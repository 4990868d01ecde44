#include "sequencecsv.h"

#include <QLocale>
#include <QStringList>

namespace {
constexpr int kFieldCount = 3;
const QString kHeader = QStringLiteral("voltage,current,seconds");

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}
} // namespace

bool SequenceCsv::read(const QByteArray &text, QList<SequenceStep> *steps, QString *error)
{
    QList<SequenceStep> found;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    bool headerSeen = false;
    for (int index = 0; index < lines.size(); ++index) {
        const QString line = lines.at(index).trimmed();
        const QString where = tr("Line %1: ").arg(index + 1);
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            headerSeen = true;
            const QString header = QString(line).remove(QLatin1Char(' ')).replace(QLatin1Char(';'), QLatin1Char(','));
            if (header.compare(kHeader, Qt::CaseInsensitive) == 0)
                continue;
            *error = where + tr("the header \"%1\" is missing.").arg(kHeader);
            return false;
        }
        const bool semicolons = line.contains(QLatin1Char(';'));
        const QStringList fields = line.split(semicolons ? QLatin1Char(';') : QLatin1Char(','));
        if (fields.size() != kFieldCount) {
            *error = where + tr("%1 values expected (voltage, current, seconds), found %2.")
                                 .arg(kFieldCount)
                                 .arg(fields.size());
            return false;
        }
        double values[kFieldCount];
        for (int field = 0; field < kFieldCount; ++field) {
            QString cell = fields.at(field).trimmed();
            if (semicolons)
                cell.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            values[field] = cell.toDouble(&ok);
            if (!ok) {
                *error = where + tr("\"%1\" is not a number.").arg(fields.at(field).trimmed());
                return false;
            }
        }
        found << SequenceStep{values[0], values[1], values[2]};
    }
    if (found.isEmpty()) {
        *error = tr("The file holds no steps.");
        return false;
    }
    *steps = found;
    return true;
}

QByteArray SequenceCsv::write(const QList<SequenceStep> &steps)
{
    QByteArray text = kHeader.toLatin1() + '\n';
    for (const SequenceStep &step : steps)
        text += number(step.volts) + ',' + number(step.amps) + ',' + number(step.seconds) + '\n';
    return text;
}

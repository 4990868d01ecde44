#include "replyparser.h"

#include <QList>

#include <cmath>

namespace {
constexpr int kIdentityFieldCount = 4;
constexpr int kMaxIdentityFieldChars = 64;
// Limits of plausible readings; a field beyond them marks a garbled line.
constexpr double kMaxVolts = 100.0;
constexpr double kMaxAmps = 1000.0;
constexpr double kMaxWatts = 100000.0;

// A plain decimal number: digits with at most one point, no sign or exponent.
std::optional<qint32> fixedPoint(const QByteArray &field, double scale, double max)
{
    if (field.isEmpty() || field.size() > 12)
        return std::nullopt;
    int points = 0;
    for (const char c : field) {
        if (c == '.')
            ++points;
        else if (c < '0' || c > '9')
            return std::nullopt;
    }
    if (points > 1 || field == ".")
        return std::nullopt;
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value > max)
        return std::nullopt;
    return qint32(std::lround(value * scale));
}

std::optional<bool> flag(const QByteArray &field)
{
    if (field == "CV")
        return false;
    if (field == "CC")
        return true;
    return std::nullopt;
}
} // namespace

std::optional<InstrumentIdentity> ReplyParser::parseIdentity(const QByteArray &line)
{
    const QList<QByteArray> fields = line.trimmed().split(',');
    if (fields.size() != kIdentityFieldCount)
        return std::nullopt;
    for (const QByteArray &field : fields) {
        if (field.trimmed().isEmpty() || field.size() > kMaxIdentityFieldChars)
            return std::nullopt;
        for (const char c : field) {
            if (c < ' ' || c > '~')
                return std::nullopt;
        }
    }
    return InstrumentIdentity{QString::fromLatin1(fields[0].trimmed()), QString::fromLatin1(fields[1].trimmed()),
                              QString::fromLatin1(fields[2].trimmed()), QString::fromLatin1(fields[3].trimmed())};
}

std::optional<InstrumentReading> ReplyParser::parseReading(const QByteArray &line)
{
    const QList<QByteArray> f = line.trimmed().split(',');
    if (f.size() != kReadingFieldCount)
        return std::nullopt;

    InstrumentReading reading;
    // Measured voltage, current and power of channels 1, 2, 3.
    for (int ch = 0; ch < InstrumentReading::kChannelCount; ++ch) {
        const auto volts = fixedPoint(f[ch * 3], 100, kMaxVolts);
        const auto amps = fixedPoint(f[ch * 3 + 1], 1000, kMaxAmps);
        const auto watts = fixedPoint(f[ch * 3 + 2], 100, kMaxWatts);
        if (!volts || !amps || !watts)
            return std::nullopt;
        reading.channels[ch].centiVolts = *volts;
        reading.channels[ch].milliAmps = *amps;
        reading.channels[ch].centiWatts = *watts;
    }
    // Set points: voltage and current of channels 1 and 2, voltage of channel 3.
    const auto setV1 = fixedPoint(f[9], 100, kMaxVolts);
    const auto setI1 = fixedPoint(f[10], 1000, kMaxAmps);
    const auto setV2 = fixedPoint(f[11], 100, kMaxVolts);
    const auto setI2 = fixedPoint(f[12], 1000, kMaxAmps);
    const auto setV3 = fixedPoint(f[13], 100, kMaxVolts);
    const auto cc1 = flag(f[14]);
    const auto cc2 = flag(f[15]);
    if (!setV1 || !setI1 || !setV2 || !setI2 || !setV3 || !cc1 || !cc2)
        return std::nullopt;
    reading.channels[0].setCentiVolts = *setV1;
    reading.channels[0].setMilliAmps = *setI1;
    reading.channels[1].setCentiVolts = *setV2;
    reading.channels[1].setMilliAmps = *setI2;
    reading.channels[2].setCentiVolts = *setV3;
    reading.channels[0].constantCurrent = *cc1;
    reading.channels[1].constantCurrent = *cc2;

    if (f[16] == "1")
        reading.outputOn = true;
    else if (f[16] != "0")
        return std::nullopt;

    if (f[17] == "IND")
        reading.track = InstrumentReading::Independent;
    else if (f[17] == "SER")
        reading.track = InstrumentReading::Series;
    else if (f[17] == "PAR")
        reading.track = InstrumentReading::Parallel;
    else
        return std::nullopt;

    if (f[18] != "1" && f[18] != "2" && f[18] != "3")
        return std::nullopt;
    reading.selectedChannel = quint8(f[18].toInt());
    return reading;
}

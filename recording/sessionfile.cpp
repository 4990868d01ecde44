#include "sessionfile.h"

#include "displaytext.h"
#include "readingrow.h"
#include "readingtable.h"

#include <QDateTime>
#include <QFile>

#include <array>
#include <charconv>
#include <limits>

namespace {
constexpr qint64 kChunkBytes = 1 << 20;
// Cancelling and progress are looked at every so many lines.
constexpr int kLinesPerPoll = 16384;
constexpr int kShownLineChars = 80;
// Room is made for the rows at once, counted as if every line were this
// short; room that is never filled costs address space only.
constexpr qint64 kShortestLineBytes = 40;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kSecondsPerHour = 3600;
// "2026-12-08T10:15:30.123", the log's local time with milliseconds.
constexpr int kTimeChars = 23;
// The series of the fields after the time: volts, amperes and watts of
// channels 1 and 2, then channel 3's volts; channel 3's current and power
// (fields 8 and 9) are not kept.
constexpr int kValueFields = ReadingTable::SeriesCount;
constexpr int kModeField = 10;
constexpr int kCh1FlagField = 11;
constexpr int kCh2FlagField = 12;

using Field = std::pair<const char *, const char *>;

bool toInt(const Field &field, int *value)
{
    const auto [end, error] = std::from_chars(field.first, field.second, *value);
    return error == std::errc() && end == field.second;
}

bool toDouble(const Field &field, double *value)
{
    if (field.first == field.second)
        return false;
    const auto [end, error] = std::from_chars(field.first, field.second, *value);
    return error == std::errc() && end == field.second;
}

// Local wall-clock time to milliseconds since the epoch. The zone's offset
// is looked up once per hour of the log rather than for every line.
class LocalClock
{
public:
    bool toEpochMs(const Field &field, qint64 *ms)
    {
        int parts[7];
        static constexpr int kStart[7] = {0, 5, 8, 11, 14, 17, 20};
        static constexpr int kLength[7] = {4, 2, 2, 2, 2, 2, 3};
        static constexpr char kSeparators[] = "--T::.";
        if (field.second - field.first != kTimeChars)
            return fallback(field, ms);
        for (int i = 0; i < 6; ++i) {
            if (field.first[kStart[i] + kLength[i]] != kSeparators[i])
                return fallback(field, ms);
        }
        for (int i = 0; i < 7; ++i) {
            const Field digits{field.first + kStart[i], field.first + kStart[i] + kLength[i]};
            if (!toInt(digits, &parts[i]) || *digits.first == '-' || *digits.first == '+')
                return false;
        }
        const QDate date(parts[0], parts[1], parts[2]);
        if (!date.isValid() || parts[3] > 23 || parts[4] > 59 || parts[5] > 59)
            return false;
        const qint64 hour = (date.toJulianDay() - kEpochJulianDay) * 24 + parts[3];
        if (hour != cachedHour) {
            cachedHour = hour;
            cachedOffsetMs = qint64(QDateTime(date, QTime(parts[3], 0), Qt::LocalTime).offsetFromUtc()) * kMsPerSecond;
        }
        *ms = (hour * kSecondsPerHour + parts[4] * 60 + parts[5]) * kMsPerSecond + parts[6] - cachedOffsetMs;
        return true;
    }

private:
    // Other ISO 8601 forms, such as a time with its zone.
    static bool fallback(const Field &field, qint64 *ms)
    {
        const QDateTime time = QDateTime::fromString(
            QString::fromLatin1(field.first, int(field.second - field.first)), Qt::ISODateWithMs);
        if (!time.isValid())
            return false;
        *ms = time.toMSecsSinceEpoch();
        return true;
    }

    qint64 cachedHour = std::numeric_limits<qint64>::min();
    qint64 cachedOffsetMs = 0;
};

// The text an instrument's display shows for the value: volts of channels
// 1 and 2 and watts with two decimals and two digits before the point,
// amperes with three decimals, channel 3's volts with one decimal rounded
// half up from the hundredths it measures.
quint32 displayCode(int series, double value)
{
    using Rounding = DisplayText::Rounding;
    static const quint8 volts = DisplayText::form(2, 2, Rounding::Nearest);
    static const quint8 amperes = DisplayText::form(3, 1, Rounding::Nearest);
    static const quint8 channel3Volts = DisplayText::form(1, 1, Rounding::HundredthsHalfUp);
    if (series == ReadingTable::Ch3Voltage)
        return DisplayText::fromForm(channel3Volts, value);
    return DisplayText::fromForm(series % 3 == ReadingTable::Current ? amperes : volts, value);
}

class LineParser
{
public:
    bool parse(const char *begin, const char *end, ReadingTable::Row *row)
    {
        std::array<Field, ReadingRow::kFieldCount> fields;
        int count = 0;
        const char *start = begin;
        for (const char *p = begin;; ++p) {
            if (p == end || *p == ',') {
                if (count == ReadingRow::kFieldCount)
                    return false;
                fields[count++] = {start, p};
                if (p == end)
                    break;
                start = p + 1;
            }
        }
        if (count != ReadingRow::kFieldCount || !clock.toEpochMs(fields[0], &row->timeMs))
            return false;
        for (int series = 0; series < kValueFields; ++series) {
            const Field &field = fields[1 + series];
            if (!toDouble(field, &row->values[series]))
                return false;
            row->texts[series] = displayCode(series, row->values[series]);
            if (row->texts[series] == DisplayText::kUnpacked)
                row->otherTexts[series] = QString::fromLatin1(field.first, int(field.second - field.first));
        }
        double ignored;
        for (int field = 1 + kValueFields; field < kModeField; ++field) {
            if (fields[field].first != fields[field].second && !toDouble(fields[field], &ignored))
                return false;
        }
        int mode = 0;
        int flag1 = 0;
        int flag2 = 0;
        if (!toInt(fields[kModeField], &mode) || mode < 0 || mode > 255 || !toInt(fields[kCh1FlagField], &flag1)
            || !toInt(fields[kCh2FlagField], &flag2))
            return false;
        row->trackMode = quint8(mode);
        row->ch1ConstantCurrent = flag1 != 0;
        row->ch2ConstantCurrent = flag2 != 0;
        return true;
    }

private:
    LocalClock clock;
};

QString shown(const QByteArray &line)
{
    const QString text = QString::fromUtf8(line).trimmed();
    return text.size() > kShownLineChars ? text.left(kShownLineChars) + QStringLiteral("…") : text;
}

SessionFile::Result failure(const QString &error)
{
    SessionFile::Result result;
    result.error = error;
    return result;
}
} // namespace

SessionFile::Result SessionFile::read(const QString &path, ReadingTable *table, const std::atomic<bool> &cancel,
                                      const Progress &progress)
{
    table->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(tr("%1 cannot be read: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    const QByteArray header = ReadingRow::header().trimmed();
    QByteArray firstLine = file.readLine();
    if (firstLine.trimmed() != header)
        return failure(firstLine.isEmpty() ? tr("%1 is empty: a session log starts with its header line.").arg(path)
                                           : tr("Line 1 does not fit a session log: \"%1\".").arg(shown(firstLine)));
    if (firstLine.size() > 0 && size > firstLine.size())
        table->reserve(int(std::min<qint64>(size / kShortestLineBytes + 1, std::numeric_limits<int>::max() / 2)));

    LineParser parser;
    ReadingTable::Row row;
    QByteArray carry; // the start of a line that the chunk did not finish
    QByteArray chunk;
    int lineNumber = 1;
    int sincePoll = 0;
    for (;;) {
        chunk = file.read(kChunkBytes);
        if (chunk.isEmpty())
            break;
        const char *data = chunk.constData();
        const char *end = data + chunk.size();
        const char *lineStart = data;
        for (const char *p = lineStart; p < end; ++p) {
            if (*p != '\n')
                continue;
            ++lineNumber;
            const char *first = lineStart;
            const char *last = p;
            if (!carry.isEmpty()) {
                carry.append(lineStart, int(p - lineStart));
                first = carry.constData();
                last = first + carry.size();
            }
            if (last > first && last[-1] == '\r')
                --last;
            if (!parser.parse(first, last, &row))
                return failure(tr("Line %1 does not fit a session log: \"%2\".")
                                   .arg(lineNumber)
                                   .arg(shown(QByteArray(first, int(last - first)))));
            table->append(row);
            carry.clear();
            lineStart = p + 1;
            if (++sincePoll == kLinesPerPoll) {
                sincePoll = 0;
                if (cancel.load(std::memory_order_relaxed)) {
                    Result cancelled;
                    cancelled.status = Result::Cancelled;
                    return cancelled;
                }
                if (size > 0)
                    progress(int(file.pos() * 1000 / size));
            }
        }
        carry.append(lineStart, int(end - lineStart));
    }
    if (file.error() != QFileDevice::NoError)
        return failure(tr("%1 cannot be read: %2").arg(path, file.errorString()));
    Result result;
    result.status = Result::Read;
    if (!carry.isEmpty())
        result.tornLine = lineNumber + 1;
    return result;
}

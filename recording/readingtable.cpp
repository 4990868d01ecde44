#include "readingtable.h"

#include "displaytext.h"
#include "dmmdata.h"

namespace {
constexpr quint8 kCh1ConstantCurrent = 1;
constexpr quint8 kCh2ConstantCurrent = 2;

void takeText(ReadingTable::Row &row, int series, const QString &text)
{
    row.texts[series] = DisplayText::pack(text);
    if (row.texts[series] == DisplayText::kUnpacked)
        row.otherTexts[series] = text;
}

void takeChannel(ReadingTable::Row &row, int channel, const DmmData &record)
{
    const int voltage = ReadingTable::series(channel, ReadingTable::Voltage);
    row.values[voltage] = record.voltage();
    takeText(row, voltage, record.voltageText());
    const int current = ReadingTable::series(channel, ReadingTable::Current);
    if (current < 0)
        return;
    row.values[current] = record.current();
    takeText(row, current, record.currentText());
    const int power = ReadingTable::series(channel, ReadingTable::Power);
    row.values[power] = record.power();
    takeText(row, power, record.powerText());
}
} // namespace

int ReadingTable::series(int channel, Quantity quantity)
{
    if (channel == 3)
        return quantity == Voltage ? Ch3Voltage : -1;
    if (channel < 1 || channel > 2)
        return -1;
    return (channel - 1) * 3 + quantity;
}

ReadingTable::Row ReadingTable::fromRecords(const DmmData &channel1, const DmmData &channel2,
                                            const DmmData &channel3)
{
    Row row;
    row.timeMs = channel1.dateTime().toMSecsSinceEpoch();
    takeChannel(row, 1, channel1);
    takeChannel(row, 2, channel2);
    takeChannel(row, 3, channel3);
    row.trackMode = channel1.trackMode();
    row.ch1ConstantCurrent = channel1.ch1Flag() != 0;
    row.ch2ConstantCurrent = channel1.ch2Flag() != 0;
    return row;
}

void ReadingTable::append(const Row &row)
{
    const qint64 index = times.size();
    times.append(row.timeMs);
    for (int series = 0; series < SeriesCount; ++series) {
        const double value = row.values[series];
        const quint32 text = row.texts[series];
        const quint8 form = DisplayText::form(text, value);
        columns[series].append(value);
        textForms[series].append(form);
        if (form == DisplayText::kNoForm)
            otherTexts.insert(index * SeriesCount + series,
                              text == DisplayText::kUnpacked ? row.otherTexts[series] : DisplayText::unpack(text));
    }
    modes.append(row.trackMode);
    flags.append(quint8((row.ch1ConstantCurrent ? kCh1ConstantCurrent : 0)
                        | (row.ch2ConstantCurrent ? kCh2ConstantCurrent : 0)));
}

void ReadingTable::clear()
{
    times.clear();
    for (int series = 0; series < SeriesCount; ++series) {
        columns[series].clear();
        textForms[series].clear();
    }
    otherTexts.clear();
    modes.clear();
    flags.clear();
}

void ReadingTable::reserve(int rows)
{
    times.reserve(rows);
    for (int series = 0; series < SeriesCount; ++series) {
        columns[series].reserve(rows);
        textForms[series].reserve(rows);
    }
    modes.reserve(rows);
    flags.reserve(rows);
}

QString ReadingTable::text(int row, int series) const
{
    const quint8 form = textForms[series][row];
    if (form == DisplayText::kNoForm)
        return otherTexts.value(qint64(row) * SeriesCount + series);
    return DisplayText::unpack(DisplayText::fromForm(form, columns[series].at(row)));
}

bool ReadingTable::constantCurrent(int row, int channel) const
{
    const quint8 bit = channel == 1 ? kCh1ConstantCurrent : channel == 2 ? kCh2ConstantCurrent : 0;
    return (flags[row] & bit) != 0;
}

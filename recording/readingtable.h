#ifndef READINGTABLE_H
#define READINGTABLE_H

#include "valuecolumn.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <array>

class DmmData;

// The recorded readings of the three channels, one row per reading, in
// columns: the time, each plotted value (with its block extremes, which the
// charts read) and the form of its display text in one byte (the text's
// digits follow from the value, see DisplayText::form), the tracking mode
// and the two regulation flags. About 90 bytes a reading, whatever the
// driver's records weigh; the driver's records are not kept. A text whose
// digits do not follow from its value is kept whole, aside.
//
// Channel 3 has a voltage only: its current and power are neither shown
// nor kept.
class ReadingTable
{
public:
    enum Series { Ch1Voltage, Ch1Current, Ch1Power, Ch2Voltage, Ch2Current, Ch2Power, Ch3Voltage, SeriesCount };
    enum Quantity { Voltage, Current, Power };
    static constexpr int kChannelCount = 3;

    // The series of a channel's quantity; -1 for channel 3's current and power.
    static int series(int channel, Quantity quantity);

    // One reading as it is appended.
    struct Row
    {
        qint64 timeMs = 0; // since the epoch
        std::array<double, SeriesCount> values{};
        std::array<quint32, SeriesCount> texts{}; // DisplayText codes
        std::array<QString, SeriesCount> otherTexts; // the texts whose code is DisplayText::kUnpacked
        quint8 trackMode = 0; // as the driver reports it: 1 independent, 2 parallel, 3 series
        bool ch1ConstantCurrent = false;
        bool ch2ConstantCurrent = false;
    };
    // The records of one delivery, channel 1 first; the time, mode and flags
    // are channel 1's, as every record of a delivery carries them.
    static Row fromRecords(const DmmData &channel1, const DmmData &channel2, const DmmData &channel3);

    void append(const Row &row);
    void clear();
    // Room for this many rows without moving the columns again.
    void reserve(int rows);

    int count() const { return int(times.size()); }
    qint64 timeMs(int row) const { return times[row]; }
    double value(int row, int series) const { return columns[series].at(row); }
    QString text(int row, int series) const;
    quint8 trackMode(int row) const { return modes[row]; }
    bool constantCurrent(int row, int channel) const;
    // A series' values with their block extremes, as the charts draw them.
    const ValueColumn &values(int series) const { return columns[series]; }

private:
    QVector<qint64> times;
    std::array<ValueColumn, SeriesCount> columns;
    std::array<QVector<quint8>, SeriesCount> textForms;
    QHash<qint64, QString> otherTexts; // the texts without a form, by row * SeriesCount + series
    QVector<quint8> modes;
    QVector<quint8> flags; // bit 0: channel 1 in constant current, bit 1: channel 2
};

#endif // READINGTABLE_H

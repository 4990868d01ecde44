#ifndef INSTRUMENTMODEL_H
#define INSTRUMENTMODEL_H

#include "simulatorconfig.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <random>

// The simulated LUMA4200: three outputs, each driving a resistive load.
// Channels 1 and 2 regulate voltage until the current reaches its set point,
// then current; channel 3 regulates voltage only. Setters return 0 or the
// error number for the error queue; they never change state on an error.
class InstrumentModel
{
public:
    enum Track { Independent, Series, Parallel };
    static constexpr int kChannelCount = 3;
    static constexpr int kMemoryCount = 5;
    static constexpr int kErrorQueueSize = 16;
    static constexpr double kMaxVolts = 32.0;
    static constexpr double kMaxAmps = 3.2;
    static constexpr double kMaxChannel3Volts = 6.0;
    static constexpr double kMinLoadOhms = 0.01; // a dead short still has its leads

    // Error numbers of the error queue.
    static constexpr int kErrInvalidCharacter = -101;
    static constexpr int kErrSyntax = -102;
    static constexpr int kErrDataType = -104;
    static constexpr int kErrParameterNotAllowed = -108;
    static constexpr int kErrMissingParameter = -109;
    static constexpr int kErrUndefinedHeader = -113;
    static constexpr int kErrSuffixOutOfRange = -114;
    static constexpr int kErrSettingsConflict = -221;
    static constexpr int kErrOutOfRange = -222;
    static constexpr int kErrIllegalValue = -224;
    static constexpr int kErrQueueOverflow = -350;

    struct Measurement
    {
        double volts = 0;
        double amps = 0;
        double watts = 0;
        bool constantCurrent = false;
    };

    explicit InstrumentModel(const SimulatorConfig &config = SimulatorConfig());

    void reset();
    QByteArray identity() const { return m_identity; }

    int setVoltage(int channel, double volts);
    int setCurrent(int channel, double amps);
    int selectChannel(int channel);
    void setOutput(bool on) { m_outputOn = on; }
    void setTrack(Track track);
    int store(int memory);
    int recall(int memory);
    void setLoad(int channel, double ohms);
    void setNoise(double fraction) { m_noiseFraction = fraction; }

    double voltageSetting(int channel) const { return m_setVolts[index(channel)]; }
    double currentSetting(int channel) const { return m_setAmps[index(channel)]; }
    bool isOutputOn() const { return m_outputOn; }
    Track track() const { return m_track; }
    int selectedChannel() const { return m_selected; }

    // One measurement of all channels, with fresh noise.
    std::array<Measurement, kChannelCount> measure();

    void pushError(int code);
    // "code,"message"", or 0,"No error" when the queue is empty.
    QByteArray popError();
    void clearErrors() { m_errors.clear(); }
    int errorCount() const { return m_errors.size(); }

private:
    static int index(int channel) { return qBound(1, channel, kChannelCount) - 1; }
    void tieChannel2();
    Measurement regulate(double setVolts, double setAmps, double ohms) const;
    Measurement withNoise(Measurement m);

    struct Memory
    {
        std::array<double, kChannelCount> volts;
        std::array<double, kChannelCount> amps;
    };

    std::array<double, kChannelCount> m_setVolts{};
    std::array<double, kChannelCount> m_setAmps{};
    std::array<double, kChannelCount> m_loadOhms{};
    std::array<Memory, kMemoryCount> m_memories{};
    bool m_outputOn = false;
    Track m_track = Independent;
    int m_selected = 1;
    double m_noiseFraction;
    QByteArray m_identity;
    QList<int> m_errors;
    std::mt19937 m_random;
};

#endif // INSTRUMENTMODEL_H

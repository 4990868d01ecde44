#ifndef LUMA4200DRIVER_H
#define LUMA4200DRIVER_H

#include "dmmdata.h"
#include "idmm.h"
#include "imydmm.h"
#include "instrumentreading.h"
#include "replyparser.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>

class ILineDevice;
class QEventLoop;
class QTimer;

// The LUMA4200 driver: identifies the instrument, polls a whole reading every
// sample period, reports what changed and delivers one record per channel.
// Lives on the GUI thread and emits everything there. Commands go out at once,
// in call order, without waiting for a poll in flight.
class Luma4200Driver : public QObject, public IDmm, public IMyDmm
{
    Q_OBJECT
    Q_INTERFACES(IDmm IMyDmm)
    // Beside the fixed interfaces, for the program's *IDN? answer: the
    // connected instrument's serial number, empty while none is connected.
    Q_PROPERTY(QString instrumentSerial READ instrumentSerial)
    // When set, open() accepts only the instrument with this serial number,
    // so that reconnecting after a lost link finds the same instrument.
    Q_PROPERTY(QString requiredSerial READ requiredSerial WRITE setRequiredSerial)

public:
    static constexpr int kDefaultSampleRateMs = 1000;
    static constexpr int kDefaultSamplePoints = 10000;
    static constexpr int kMinSampleRateMs = 50;     // a faster setting polls at this period
    static constexpr int kIdentifyTimeoutMs = 2000; // the whole handshake
    static constexpr int kIdentifyRetryMs = 500;    // *IDN? is asked again after this silence
    static constexpr int kReplyTimeoutMs = 1000;    // one poll's answer
    static constexpr int kMaxMissedReplies = 3;     // consecutive time-outs that end the connection
    static constexpr int kPortTypeUsb = 0;

    explicit Luma4200Driver(QObject *parent = nullptr);
    ~Luma4200Driver() override;

    // IDmm, and the object of IMyDmm's users
    QObject *object() override { return this; }
    bool open(ISerialDev *device) override;
    void close() override;

    // IMyDmm
    bool skipRepeat() override { return m_skipRepeat; }
    void setSkipRepeat(bool skip) override { m_skipRepeat = skip; }
    int sampleRate() override { return m_sampleRateMs; }
    void setSampleRate(int periodMs) override;
    int samplePoints() override { return m_samplePoints; }
    void setSamplePoints(int points) override { m_samplePoints = points; }
    bool isInfinite() override { return m_infinite; }
    void setInfinite(bool infinite) override { m_infinite = infinite; }
    void selectChannel(quint8 channel) override;
    void setOutput(bool on) override;
    void setSPMode(quint8 mode) override;
    void setCurrent(double amperes) override;
    void setVoltage(double volts) override;
    void memoryLongPress(int memory) override;
    void memoryShortPress(int memory) override;
    bool isOutputOn() override;
    quint8 currentChannel() override { return m_selectedChannel; }
    QString serialPortNum() override { return m_serialPortNum; }
    void setSerialPortNum(const QString &name) override { m_serialPortNum = name; }
    int portType() override { return m_portType; }
    void setPortType(int type) override { m_portType = type; }

    bool isOpen() const { return m_open; }
    QString instrumentSerial() const { return m_open && m_identity ? m_identity->serial : QString(); }
    QString requiredSerial() const { return m_requiredSerial; }
    void setRequiredSerial(const QString &serial) { m_requiredSerial = serial; }

signals:
    void opened();
    void closed();
    void message(QString text);
    void updateInstrument(quint8 channel);
    void updateVersion(const QString &version);
    void updateOutput(bool on);
    void updateOutputTrack(quint8 mode);
    void updateCx(quint8 channel, quint8 flag);
    void updateSPMode(quint8 mode);
    void updateSource(quint8 channel, quint8 kind, QString value);
    void updateData(QList<DmmData *> records);

private slots:
    // Connected by name: the transport is another plug-in's class.
    void onLine(const QByteArray &line);
    void onLost(const QString &reason);

private:
    bool refuse(const QString &reason);
    bool attach(ILineDevice *device, QObject *deviceObject);
    void detach();
    std::optional<InstrumentIdentity> identify();
    bool send(const QByteArray &line);
    void poll();
    void onReplyTimeout();
    void handleReading(const InstrumentReading &reading);
    void emitReports(const InstrumentReading &reading, const std::optional<InstrumentReading> &previous);
    void shutdown(const QString &reason);
    int targetChannel() const;

    ILineDevice *m_device = nullptr;
    QPointer<QObject> m_deviceObject;
    QTimer *m_pollTimer;
    QTimer *m_replyTimer;
    QEventLoop *m_identifyLoop = nullptr;
    std::optional<InstrumentIdentity> m_identity;
    QString m_requiredSerial; // empty: any LUMA4200
    std::optional<InstrumentReading> m_last;
    bool m_open = false;
    bool m_pollPending = false;
    int m_missedReplies = 0;
    quint8 m_selectedChannel = 1;

    bool m_skipRepeat = false;
    int m_sampleRateMs = kDefaultSampleRateMs;
    int m_samplePoints = kDefaultSamplePoints;
    bool m_infinite = false;
    int m_portType = kPortTypeUsb;
    QString m_serialPortNum;
};

#endif // LUMA4200DRIVER_H

#ifndef RECONNECTOR_H
#define RECONNECTOR_H

#include <QObject>
#include <QTimer>

class IDmm;
class ISerialDev;

// After a lost link, opens the driver again every kRetryMs on the transport
// it last used (the same port type and port), until it succeeds or stop() is
// called. Opening only asks the instrument who it is and reads its state;
// nothing is set. Success shows as the driver's opened(), emitted while an
// attempt is in progress (isActive() still true). Neither the driver nor the transport is owned.
class Reconnector : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRetryMs = 2000;

    explicit Reconnector(IDmm *dmm, QObject *parent = nullptr);

    // The instrument connected now: a reconnection accepts only this one
    // (by its serial number, which the driver checks before it connects).
    void rememberInstrument();
    void start(ISerialDev *device);
    void stop();
    bool isActive() const { return retry.isActive() || trying; }
    int attempts() const { return attemptCount; }

signals:
    // An attempt failed; another follows after kRetryMs.
    void attemptFailed(int attempt);

private:
    void attempt();
    void requireSerial(const QString &serial);

    IDmm *dmm;
    ISerialDev *device = nullptr;
    QString serial; // of the instrument last connected
    QTimer retry;
    int attemptCount = 0;
    bool trying = false;
};

#endif // RECONNECTOR_H

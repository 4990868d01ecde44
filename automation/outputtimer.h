#ifndef OUTPUTTIMER_H
#define OUTPUTTIMER_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class IMyDmm;

// Switches the output off once a set time has passed, through IMyDmm like the
// front panel's OUTPUT button. The commands interface is not owned.
class OutputTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxDurationMs = 24 * 3600 * 1000 - 1; // below a day: hh:mm:ss

    explicit OutputTimer(IMyDmm *commands, QObject *parent = nullptr);

    void start(qint64 durationMs);
    // Ends the countdown at once; nothing is sent.
    void stop(const QString &reason);
    bool isRunning() const { return expiry.isActive(); }
    qint64 remainingMs() const;

    // "hh:mm:ss", rounded up to the second, so the
    // display reaches 00:00:00 only when the output goes off.
    static QString format(qint64 ms);

signals:
    void expired();
    void stopped(const QString &reason);

private:
    void expire();

    IMyDmm *commands;
    QTimer expiry;
    QElapsedTimer clock;
    qint64 durationMs = 0;
};

#endif // OUTPUTTIMER_H

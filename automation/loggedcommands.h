#ifndef LOGGEDCOMMANDS_H
#define LOGGEDCOMMANDS_H

#include "eventlog.h"
#include "imydmm.h"

#include <functional>

// The driver's IMyDmm as one origin uses it: every call goes to the driver
// unchanged, and each command to the instrument (channel, output, tracking,
// set points, memories) is written to the event log with its value, under
// that origin, and then announced through sent. The driver's settings and
// getters pass through unlogged. Neither the driver nor the log is owned.
class LoggedCommands : public IMyDmm
{
public:
    // channel tells which channel the instrument reports as selected, the one
    // the driver addresses set points to; asking the driver would add calls.
    LoggedCommands(IMyDmm *driver, EventLog *log, EventLog::Origin origin, std::function<quint8()> channel);

    // Called after each command the driver was given.
    void setSentHandler(std::function<void()> handler) { sent = std::move(handler); }

    bool skipRepeat() override { return driver->skipRepeat(); }
    void setSkipRepeat(bool skip) override { driver->setSkipRepeat(skip); }
    int sampleRate() override { return driver->sampleRate(); }
    void setSampleRate(int periodMs) override { driver->setSampleRate(periodMs); }
    int samplePoints() override { return driver->samplePoints(); }
    void setSamplePoints(int points) override { driver->setSamplePoints(points); }
    bool isInfinite() override { return driver->isInfinite(); }
    void setInfinite(bool infinite) override { driver->setInfinite(infinite); }
    void selectChannel(quint8 channel) override;
    void setOutput(bool on) override;
    void setSPMode(quint8 mode) override;
    void setCurrent(double amperes) override;
    void setVoltage(double volts) override;
    void memoryLongPress(int memory) override;
    void memoryShortPress(int memory) override;
    bool isOutputOn() override { return driver->isOutputOn(); }
    quint8 currentChannel() override { return driver->currentChannel(); }
    QString serialPortNum() override { return driver->serialPortNum(); }
    void setSerialPortNum(const QString &name) override { driver->setSerialPortNum(name); }
    int portType() override { return driver->portType(); }
    void setPortType(int type) override { driver->setPortType(type); }

private:
    void logged(const QString &event);

    IMyDmm *driver;
    EventLog *log;
    EventLog::Origin origin;
    std::function<quint8()> channel;
    std::function<void()> sent;
};

#endif // LOGGEDCOMMANDS_H

#ifndef IMYDMM_H
#define IMYDMM_H

#include <QString>
#include <QtPlugin>

// Commands to the instrument and the settings the driver holds.
class IMyDmm
{
public:
    virtual ~IMyDmm() = default;

    virtual bool skipRepeat() = 0;
    virtual void setSkipRepeat(bool skip) = 0;
    virtual int sampleRate() = 0;                      // sampling period in milliseconds
    virtual void setSampleRate(int periodMs) = 0;
    virtual int samplePoints() = 0;
    virtual void setSamplePoints(int points) = 0;
    virtual bool isInfinite() = 0;
    virtual void setInfinite(bool infinite) = 0;
    virtual void selectChannel(quint8 channel) = 0;    // 1 to 3
    virtual void setOutput(bool on) = 0;
    virtual void setSPMode(quint8 mode) = 0;           // 0 independent, 1 series, 2 parallel
    virtual void setCurrent(double amperes) = 0;
    virtual void setVoltage(double volts) = 0;
    virtual void memoryLongPress(int memory) = 0;      // 1 to 5: store
    virtual void memoryShortPress(int memory) = 0;     // 1 to 5: recall
    virtual bool isOutputOn() = 0;
    virtual quint8 currentChannel() = 0;
    virtual QString serialPortNum() = 0;
    virtual void setSerialPortNum(const QString &name) = 0;
    virtual int portType() = 0;                        // 0 USB, 1 LAN, 2 RS232
    virtual void setPortType(int type) = 0;
};

#define IMyDmm_iid "com.tessel.LUMA4200.IMyDmm"
Q_DECLARE_INTERFACE(IMyDmm, IMyDmm_iid)

#endif // IMYDMM_H

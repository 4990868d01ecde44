#ifndef TESTDRIVER_H
#define TESTDRIVER_H

#include "idmm.h"
#include "imydmm.h"
#include "iserialdev.h"
#include "ivisaserial.h"
#include "ivisausb.h"
#include "testdrivercontrol.h"

#include <QList>
#include <QObject>

class DmmData;

// A driver and both transports in one plug-in, for the application's tests:
// it records every call and holds the settings a test gives it; it talks to
// no instrument.
class TestDriver : public QObject,
                   public IDmm,
                   public IMyDmm,
                   public ISerialDev,
                   public IVISAUSB,
                   public IVISASerial,
                   public TestDriverControl
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDmm_iid FILE "testdriver.json")
    Q_INTERFACES(IDmm IMyDmm ISerialDev IVISAUSB IVISASerial TestDriverControl)

public:
    TestDriver();

    // IDmm, ISerialDev, IVISAUSB, IVISASerial
    QObject *object() override;
    bool open(ISerialDev *device) override;
    void close() override;
    void setPortName(QString name) override;

    // IMyDmm
    bool skipRepeat() override;
    void setSkipRepeat(bool skip) override;
    int sampleRate() override;
    void setSampleRate(int periodMs) override;
    int samplePoints() override;
    void setSamplePoints(int points) override;
    bool isInfinite() override;
    void setInfinite(bool infinite) override;
    void selectChannel(quint8 channel) override;
    void setOutput(bool on) override;
    void setSPMode(quint8 mode) override;
    void setCurrent(double amperes) override;
    void setVoltage(double volts) override;
    void memoryLongPress(int memory) override;
    void memoryShortPress(int memory) override;
    bool isOutputOn() override;
    quint8 currentChannel() override;
    QString serialPortNum() override;
    void setSerialPortNum(const QString &name) override;
    int portType() override;
    void setPortType(int type) override;

    // TestDriverControl
    QStringList calls() const override;
    void clearCalls() override;
    void reset() override;
    void preset(const QString &key, const QVariant &value) override;

signals:
    void opened();
    void closed();
    void message(QString text);
    void updateInstrument(quint8 channel);
    void updateVersion(const QString &version);
    void updateOutput(bool on);
    void updateOutputTrack(quint8 track);
    void updateCx(quint8 channel, quint8 flag);
    void updateSPMode(quint8 mode);
    void updateSource(quint8 channel, quint8 kind, QString value);
    void updateData(QList<DmmData *> records);
    void usbRefreshed(int count);

private:
    void record(const QString &name, const QVariant &argument = QVariant());

    QStringList callLog;
    bool skip;
    int rate;
    int points;
    bool infinite;
    bool outputOn;
    quint8 channel;
    QString portName;
    int type;
    bool openResult;
};

#endif // TESTDRIVER_H

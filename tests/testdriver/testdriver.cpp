#include "testdriver.h"

namespace {
// The real driver's defaults.
constexpr int kDefaultSampleRateMs = 1000;
constexpr int kDefaultSamplePoints = 10000;
} // namespace

TestDriver::TestDriver()
{
    reset();
}

void TestDriver::record(const QString &name, const QVariant &argument)
{
    callLog << (argument.isValid() ? QStringLiteral("%1(%2)").arg(name, argument.toString())
                                   : name + QStringLiteral("()"));
}

QObject *TestDriver::object() { return this; }

bool TestDriver::open(ISerialDev *device)
{
    record(QStringLiteral("open"), device ? QStringLiteral("device") : QStringLiteral("null"));
    return openResult && device;
}

void TestDriver::close() { record(QStringLiteral("close")); }
void TestDriver::setPortName(QString name) { record(QStringLiteral("setPortName"), name); }

bool TestDriver::skipRepeat() { record(QStringLiteral("skipRepeat")); return skip; }
void TestDriver::setSkipRepeat(bool value) { record(QStringLiteral("setSkipRepeat"), value); skip = value; }
int TestDriver::sampleRate() { record(QStringLiteral("sampleRate")); return rate; }
void TestDriver::setSampleRate(int value) { record(QStringLiteral("setSampleRate"), value); rate = value; }
int TestDriver::samplePoints() { record(QStringLiteral("samplePoints")); return points; }
void TestDriver::setSamplePoints(int value) { record(QStringLiteral("setSamplePoints"), value); points = value; }
bool TestDriver::isInfinite() { record(QStringLiteral("isInfinite")); return infinite; }
void TestDriver::setInfinite(bool value) { record(QStringLiteral("setInfinite"), value); infinite = value; }
void TestDriver::selectChannel(quint8 value) { record(QStringLiteral("selectChannel"), int(value)); }
void TestDriver::setOutput(bool on) { record(QStringLiteral("setOutput"), on); }
void TestDriver::setSPMode(quint8 mode) { record(QStringLiteral("setSPMode"), int(mode)); }
void TestDriver::setCurrent(double amperes) { record(QStringLiteral("setCurrent"), amperes); }
void TestDriver::setVoltage(double volts) { record(QStringLiteral("setVoltage"), volts); }
void TestDriver::memoryLongPress(int memory) { record(QStringLiteral("memoryLongPress"), memory); }
void TestDriver::memoryShortPress(int memory) { record(QStringLiteral("memoryShortPress"), memory); }
bool TestDriver::isOutputOn() { record(QStringLiteral("isOutputOn")); return outputOn; }
quint8 TestDriver::currentChannel() { record(QStringLiteral("currentChannel")); return channel; }
QString TestDriver::serialPortNum() { record(QStringLiteral("serialPortNum")); return portName; }
void TestDriver::setSerialPortNum(const QString &name) { record(QStringLiteral("setSerialPortNum"), name); portName = name; }
int TestDriver::portType() { record(QStringLiteral("portType")); return type; }
void TestDriver::setPortType(int value) { record(QStringLiteral("setPortType"), value); type = value; }

QStringList TestDriver::calls() const { return callLog; }
void TestDriver::clearCalls() { callLog.clear(); }

void TestDriver::reset()
{
    callLog.clear();
    skip = false;
    rate = kDefaultSampleRateMs;
    points = kDefaultSamplePoints;
    infinite = false;
    outputOn = false;
    channel = 1;
    portName.clear();
    type = 0;
    openResult = true;
}

void TestDriver::preset(const QString &key, const QVariant &value)
{
    if (key == QLatin1String("skipRepeat"))
        skip = value.toBool();
    else if (key == QLatin1String("sampleRate"))
        rate = value.toInt();
    else if (key == QLatin1String("samplePoints"))
        points = value.toInt();
    else if (key == QLatin1String("infinite"))
        infinite = value.toBool();
    else if (key == QLatin1String("outputOn"))
        outputOn = value.toBool();
    else if (key == QLatin1String("currentChannel"))
        channel = quint8(value.toUInt());
    else if (key == QLatin1String("serialPortNum"))
        portName = value.toString();
    else if (key == QLatin1String("portType"))
        type = value.toInt();
    else if (key == QLatin1String("openResult"))
        openResult = value.toBool();
    else
        qFatal("TestDriver::preset: unknown key %s", qPrintable(key));
}

#include "luma4200driver.h"

#include "channelrecord.h"
#include "commandformatter.h"
#include "ilinedevice.h"
#include "iserialdev.h"

#include <QDateTime>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QTimer>

Q_LOGGING_CATEGORY(lcDriver, "luma.driver", QtInfoMsg)

namespace {
const QString kModel = QStringLiteral("LUMA4200");
constexpr quint8 kKindVoltage = 0;
constexpr quint8 kKindCurrent = 1;
} // namespace

Luma4200Driver::Luma4200Driver(QObject *parent)
    : QObject(parent)
    , m_pollTimer(new QTimer(this))
    , m_replyTimer(new QTimer(this))
{
    m_replyTimer->setSingleShot(true);
    connect(m_pollTimer, &QTimer::timeout, this, &Luma4200Driver::poll);
    connect(m_replyTimer, &QTimer::timeout, this, &Luma4200Driver::onReplyTimeout);
}

Luma4200Driver::~Luma4200Driver()
{
    detach();
}

bool Luma4200Driver::open(ISerialDev *device)
{
    close();
    QObject *deviceObject = device ? device->object() : nullptr;
    auto line = qobject_cast<ILineDevice *>(deviceObject);
    if (!line)
        return refuse(tr("No transport is available for the chosen port."));
    if (!line->openDevice()) {
        const QString reason = line->openError();
        return refuse(reason.isEmpty() ? tr("The port cannot be opened.") : reason);
    }
    const QString deviceName = line->deviceName();
    if (!attach(line, deviceObject)) {
        line->closeDevice();
        return refuse(tr("The transport of %1 delivers no lines.").arg(deviceName));
    }

    const std::optional<InstrumentIdentity> identity = identify();
    if (!identity || identity->model != kModel) {
        detach();
        if (!identity)
            return refuse(tr("No instrument answered *IDN? on %1.").arg(deviceName));
        return refuse(tr("The device on %1 is not a %2: it answered *IDN? as %3 %4.")
                          .arg(deviceName, kModel, identity->manufacturer, identity->model));
    }
    if (!m_requiredSerial.isEmpty() && identity->serial != m_requiredSerial) {
        detach();
        return refuse(tr("The %1 on %2 is not the one that was connected: serial number %3, not %4.")
                          .arg(kModel, deviceName, identity->serial, m_requiredSerial));
    }

    m_open = true;
    m_missedReplies = 0;
    m_pollPending = false;
    m_last.reset();
    qCInfo(lcDriver) << "connected to" << identity->model << identity->serial << identity->firmware;
    emit opened();
    if (!m_open)
        return true;
    emit updateVersion(identity->firmware);
    send(CommandFormatter::clearStatus());
    // The first reading reports every state once; later ones only what changed.
    poll();
    m_pollTimer->start(qMax(m_sampleRateMs, kMinSampleRateMs));
    return true;
}

// Every refusal says why first: message() reaches the window before open() returns.
bool Luma4200Driver::refuse(const QString &reason)
{
    qCInfo(lcDriver) << "refused:" << reason;
    emit message(reason);
    return false;
}

void Luma4200Driver::close()
{
    if (!m_open) {
        detach();
        return;
    }
    m_open = false;
    detach();
    emit closed();
}

bool Luma4200Driver::attach(ILineDevice *device, QObject *deviceObject)
{
    m_device = device;
    m_deviceObject = deviceObject;
    const bool lines = connect(deviceObject, SIGNAL(lineReceived(QByteArray)), this, SLOT(onLine(QByteArray)));
    const bool loss = connect(deviceObject, SIGNAL(lost(QString)), this, SLOT(onLost(QString)));
    if (!lines || !loss) {
        qCWarning(lcDriver) << "the transport lacks the line signals";
        detach();
        return false;
    }
    return true;
}

void Luma4200Driver::detach()
{
    m_pollTimer->stop();
    m_replyTimer->stop();
    m_pollPending = false;
    m_last.reset();
    if (m_deviceObject) {
        disconnect(m_deviceObject, nullptr, this, nullptr);
        m_device->closeDevice();
    }
    m_device = nullptr;
    m_deviceObject.clear();
}

std::optional<InstrumentIdentity> Luma4200Driver::identify()
{
    QEventLoop loop;
    QTimer retry;
    connect(&retry, &QTimer::timeout, this, [this] { send(CommandFormatter::identify()); });
    QTimer::singleShot(kIdentifyTimeoutMs, &loop, &QEventLoop::quit);
    m_identity.reset();
    m_identifyLoop = &loop;
    if (send(CommandFormatter::identify())) {
        retry.start(kIdentifyRetryMs);
        // User input waits: the window must not start another connection meanwhile.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_identifyLoop = nullptr;
    return m_identity;
}

bool Luma4200Driver::send(const QByteArray &line)
{
    if (line.isEmpty() || !m_deviceObject)
        return false;
    qCDebug(lcDriver) << "->" << line;
    return m_device->writeLine(line);
}

void Luma4200Driver::onLine(const QByteArray &line)
{
    qCDebug(lcDriver) << "<-" << line;
    if (m_identifyLoop) {
        m_identity = ReplyParser::parseIdentity(line);
        if (m_identity)
            m_identifyLoop->quit();
        return;
    }
    if (!m_open || !m_pollPending)
        return;
    const std::optional<InstrumentReading> reading = ReplyParser::parseReading(line);
    if (!reading) {
        qCInfo(lcDriver) << "ignored a garbled line" << line.left(80);
        return;
    }
    m_pollPending = false;
    m_replyTimer->stop();
    m_missedReplies = 0;
    handleReading(*reading);
}

void Luma4200Driver::onLost(const QString &reason)
{
    if (m_identifyLoop) {
        m_identifyLoop->quit();
        return;
    }
    shutdown(reason);
}

void Luma4200Driver::poll()
{
    if (!m_open || m_pollPending)
        return;
    if (!send(CommandFormatter::readAll())) {
        shutdown(tr("The instrument cannot be written to."));
        return;
    }
    m_pollPending = true;
    m_replyTimer->start(kReplyTimeoutMs);
}

void Luma4200Driver::onReplyTimeout()
{
    m_pollPending = false;
    ++m_missedReplies;
    qCInfo(lcDriver) << "no reply" << m_missedReplies << "time(s) in a row";
    if (m_missedReplies >= kMaxMissedReplies)
        shutdown(tr("The instrument stopped answering."));
}

void Luma4200Driver::handleReading(const InstrumentReading &reading)
{
    const std::optional<InstrumentReading> previous = m_last;
    m_last = reading;
    m_selectedChannel = reading.selectedChannel;
    emitReports(reading, previous);
    // A receiver may have closed the connection while handling a report.
    if (!m_open)
        return;
    if (m_skipRepeat && previous && *previous == reading)
        return;
    // Records belong to the receiver; with nobody listening they would leak.
    if (!isSignalConnected(QMetaMethod::fromSignal(&Luma4200Driver::updateData)))
        return;
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    QList<DmmData *> records;
    for (int channel = 1; channel <= InstrumentReading::kChannelCount; ++channel)
        records.append(new ChannelRecord(channel, reading, nowMs));
    emit updateData(records);
}

void Luma4200Driver::emitReports(const InstrumentReading &reading, const std::optional<InstrumentReading> &previous)
{
    const bool all = !previous;
    const bool channelChanged = all || previous->selectedChannel != reading.selectedChannel;
    if (channelChanged)
        emit updateInstrument(reading.selectedChannel);
    if (all || previous->outputOn != reading.outputOn)
        emit updateOutput(reading.outputOn);
    if (all || previous->track != reading.track) {
        emit updateSPMode(reading.track);
        emit updateOutputTrack(reading.track);
    }
    // The panel shows the flags only while the output is on, so a change of
    // the output state reports them again.
    const bool outputChanged = all || previous->outputOn != reading.outputOn;
    for (int index = 0; index < 2; ++index) {
        const bool cc = reading.channels[index].constantCurrent;
        if (outputChanged || previous->channels[index].constantCurrent != cc)
            emit updateCx(quint8(index + 1), cc ? 1 : 0);
    }
    // The panel shows only the selected channel's set points, so a newly
    // selected channel reports its own whether they changed or not.
    for (int index = 0; index < InstrumentReading::kChannelCount; ++index) {
        const quint8 channel = quint8(index + 1);
        const ChannelReading &now = reading.channels[index];
        const bool fresh = all || (channelChanged && channel == reading.selectedChannel);
        if (fresh || previous->channels[index].setCentiVolts != now.setCentiVolts)
            emit updateSource(channel, kKindVoltage, ChannelRecord::voltsText(channel, now.setCentiVolts));
        if (channel < 3 && (fresh || previous->channels[index].setMilliAmps != now.setMilliAmps))
            emit updateSource(channel, kKindCurrent, ChannelRecord::ampsText(now.setMilliAmps));
    }
}

void Luma4200Driver::shutdown(const QString &reason)
{
    if (!m_open)
        return;
    qCInfo(lcDriver) << "connection ended:" << reason;
    m_open = false;
    detach();
    emit message(reason);
    emit closed();
}

int Luma4200Driver::targetChannel() const
{
    // While tracking, channel 2 follows channel 1: its set points are channel 1's.
    const bool tracking = m_last && m_last->track != InstrumentReading::Independent;
    return tracking && m_selectedChannel == 2 ? 1 : m_selectedChannel;
}

void Luma4200Driver::setSampleRate(int periodMs)
{
    m_sampleRateMs = periodMs;
    if (m_pollTimer->isActive())
        m_pollTimer->setInterval(qMax(periodMs, kMinSampleRateMs));
}

void Luma4200Driver::selectChannel(quint8 channel)
{
    send(CommandFormatter::selectChannel(channel));
}

void Luma4200Driver::setOutput(bool on)
{
    send(CommandFormatter::output(on));
}

void Luma4200Driver::setSPMode(quint8 mode)
{
    send(CommandFormatter::tracking(mode));
}

void Luma4200Driver::setCurrent(double amperes)
{
    send(CommandFormatter::current(targetChannel(), amperes));
}

void Luma4200Driver::setVoltage(double volts)
{
    send(CommandFormatter::voltage(targetChannel(), volts));
}

void Luma4200Driver::memoryLongPress(int memory)
{
    send(CommandFormatter::store(memory));
}

void Luma4200Driver::memoryShortPress(int memory)
{
    send(CommandFormatter::recall(memory));
}

bool Luma4200Driver::isOutputOn()
{
    return m_open && m_last && m_last->outputOn;
}

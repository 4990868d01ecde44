#include "automation.h"

#include "dmmdata.h"
#include "idmm.h"
#include "imydmm.h"
#include "loggedcommands.h"
#include "outputtimer.h"
#include "readingtable.h"
#include "reconnector.h"
#include "sequence.h"
#include "sequencerunner.h"

namespace {

QString trackingName(int mode)
{
    switch (mode) {
    case ReportedTracking::Independent:
        return QStringLiteral("independent");
    case ReportedTracking::Parallel:
        return QStringLiteral("parallel");
    case ReportedTracking::Series:
        return QStringLiteral("series");
    default:
        return QString::number(mode);
    }
}
} // namespace

Automation::Automation(IDmm *dmm, IMyDmm *myDmm, QObject *parent)
    : QObject(parent), events(new EventLog(this))
{
    if (myDmm) {
        const auto channel = [this] { return selectedChannel; };
        panel = std::make_unique<LoggedCommands>(myDmm, events, EventLog::Origin::Panel, channel);
        sequenceCommands = std::make_unique<LoggedCommands>(myDmm, events, EventLog::Origin::Sequence, channel);
        timerCommands = std::make_unique<LoggedCommands>(myDmm, events, EventLog::Origin::Timer, channel);
        conditionCommands = std::make_unique<LoggedCommands>(myDmm, events, EventLog::Origin::Condition, channel);
        remote = std::make_unique<LoggedCommands>(myDmm, events, EventLog::Origin::Remote, channel);
        panel->setSentHandler([this] { stopAll(tr("a command from the front panel")); });
        remote->setSentHandler([this] { stopAll(tr("a command from a script")); });
    }
    sequenceRunner = new SequenceRunner(sequenceCommands.get(), this);
    timer = new OutputTimer(timerCommands.get(), this);
    reconnector = new Reconnector(dmm, this);

    connect(sequenceRunner, &SequenceRunner::stepBegan, this, [this](int step, int pass) {
        const SequenceStep &values = sequenceRunner->sequence().steps.at(step);
        events->add(EventLog::Origin::Sequence, tr("step %1 of %2, pass %3: %4 V, %5 A for %6 s")
                                                    .arg(step + 1)
                                                    .arg(sequenceRunner->sequence().steps.size())
                                                    .arg(pass)
                                                    .arg(values.volts)
                                                    .arg(values.amps)
                                                    .arg(values.seconds));
    });
    connect(sequenceRunner, &SequenceRunner::stopped, this, [this](const QString &reason, bool finished) {
        const QString text = finished ? tr("Sequence finished.") : tr("Sequence stopped: %1.").arg(reason);
        events->add(EventLog::Origin::Sequence, text);
        emit statusMessage(text);
    });
    connect(timer, &OutputTimer::expired, this, [this] {
        events->add(EventLog::Origin::Timer, tr("Output timer ran out: output off."));
        emit statusMessage(tr("Output timer ran out: output off."));
    });
    connect(timer, &OutputTimer::stopped, this, [this](const QString &reason) {
        const QString text = tr("Output timer stopped: %1.").arg(reason);
        events->add(EventLog::Origin::Timer, text);
        emit statusMessage(text);
    });
    connect(reconnector, &Reconnector::attemptFailed, this, [this](int attempt) {
        emit connectionMessage(tr("The link to the instrument is lost (%1). Trying again every %2 s: attempt %3 failed.")
                               .arg(lastDriverMessage)
                               .arg(Reconnector::kRetryMs / 1000)
                               .arg(attempt));
    });
    connect(events, &EventLog::failed, this, [this](const QString &where, const QString &reason) {
        emit statusMessage(tr("The event log stopped (%1: %2).").arg(where, reason));
    });

    if (dmm && dmm->object()) {
        QObject *driver = dmm->object();
        connect(driver, SIGNAL(updateInstrument(quint8)), this, SLOT(onSelectedChannel(quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateOutput(bool)), this, SLOT(onOutput(bool)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateCx(quint8,quint8)), this, SLOT(onRegulation(quint8,quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(updateSPMode(quint8)), this, SLOT(onTrackingMode(quint8)), Qt::DirectConnection);
        connect(driver, SIGNAL(message(QString)), this, SLOT(onDriverMessage(QString)));
    }
}

Automation::~Automation() = default;

IMyDmm *Automation::panelCommands() const
{
    return panel.get();
}

IMyDmm *Automation::remoteCommands() const
{
    return remote.get();
}

bool Automation::isSequenceRunning() const
{
    return sequenceRunner->isRunning();
}

bool Automation::isReconnecting() const
{
    return reconnector->isActive();
}

// ---- Reports of the instrument ----

void Automation::onSelectedChannel(quint8 channel)
{
    selectedChannel = channel;
}

void Automation::onOutput(bool on)
{
    if (reportedOutput == int(on))
        return;
    reportedOutput = on;
    events->add(EventLog::Origin::Program, on ? tr("output on") : tr("output off"));
}

void Automation::onRegulation(quint8 channel, quint8 flag)
{
    if (channel < 1 || channel > 2)
        return;
    const int cc = flag != 0;
    if (reportedFlags[channel - 1] == cc)
        return;
    reportedFlags[channel - 1] = cc;
    events->add(EventLog::Origin::Program, tr("CH%1 %2").arg(channel).arg(cc ? QStringLiteral("C.C") : QStringLiteral("C.V")));
}

void Automation::onTrackingMode(quint8 mode)
{
    if (reportedTracking == mode)
        return;
    reportedTracking = mode;
    events->add(EventLog::Origin::Program, tr("tracking %1").arg(trackingName(mode)));
}

void Automation::onDriverMessage(const QString &text)
{
    lastDriverMessage = text;
}

void Automation::forgetReportedState()
{
    reportedOutput = reportedTracking = -1;
    reportedFlags[0] = reportedFlags[1] = -1;
}

// ---- Readings and recording ----

void Automation::readingArrived(const QList<DmmData *> &records)
{
    bool armed = false;
    for (const StopCondition &condition : qAsConst(stopConditions))
        armed = armed || !condition.hasFired();
    // Measured values mean something only while the output is on.
    if (!armed || !panel || !panel->isOutputOn())
        return;
    for (int index = 0; index < stopConditions.size(); ++index) {
        StopCondition &condition = stopConditions[index];
        if (condition.channel >= 1 && condition.channel <= records.size()
            && condition.observe(*records.at(condition.channel - 1)))
            fire(condition);
    }
}

void Automation::fire(StopCondition &condition)
{
    const QString what = condition.describe();
    events->add(EventLog::Origin::Condition, tr("condition met: %1").arg(what));
    emit statusMessage(tr("Stop condition met: %1").arg(what));
    if (condition.actions & StopCondition::StopSequence)
        sequenceRunner->stop(tr("stop condition met"));
    if ((condition.actions & StopCondition::OutputOff) && conditionCommands)
        conditionCommands->setOutput(false);
    if ((condition.actions & StopCondition::StopRecording) && !recordingStopped) {
        recordingStopped = true;
        events->add(EventLog::Origin::Condition, tr("recording stopped"));
        emit recordingStoppedChanged(true);
    }
    if (condition.actions & StopCondition::Message)
        emit conditionMessage(tr("Stop condition met: %1").arg(what));
    emit conditionsChanged();
}

void Automation::resumeRecording()
{
    if (!recordingStopped)
        return;
    recordingStopped = false;
    events->add(EventLog::Origin::Panel, tr("recording resumed"));
    emit recordingStoppedChanged(false);
}

void Automation::sessionFileChanged(const QString &path)
{
    events->setSessionFile(path);
}

void Automation::sampleLimitReached(int samplePoints)
{
    events->add(EventLog::Origin::Program, tr("sample limit of %1 reached: recording stopped").arg(samplePoints));
}

// ---- Connection ----

// Connect is offered only while no link is open, so opening closes nothing.
void Automation::connectRequested()
{
    reconnector->stop();
}

void Automation::disconnectRequested()
{
    userClosing = true;
    if (reconnector->isActive()) {
        reconnector->stop();
        events->add(EventLog::Origin::Panel, tr("reconnecting given up: Disconnect"));
        emit connectionMessage(tr("Reconnecting given up."));
    }
    stopAll(tr("Disconnect"));
}

void Automation::windowClosing()
{
    userClosing = true;
    reconnector->stop();
    stopAll(tr("the window was closed"));
}

void Automation::connectionOpened()
{
    if (reconnector->isActive()) {
        const int attempts = reconnector->attempts();
        events->add(EventLog::Origin::Program, tr("link reconnected after %n attempt(s)", nullptr, attempts));
        emit connectionMessage(tr("Reconnected to the instrument; recording goes on in the same session."));
    } else {
        events->add(EventLog::Origin::Program, tr("connected"));
    }
    reconnector->stop();
    reconnector->rememberInstrument();
    userClosing = false;
}

void Automation::connectionClosed(ISerialDev *device)
{
    forgetReportedState();
    if (userClosing) {
        userClosing = false;
        events->add(EventLog::Origin::Program, tr("disconnected"));
        return;
    }
    // Nothing may be sent now: the runner and the timer stop before anything else runs.
    const bool automated = sequenceRunner->isRunning() || timer->isRunning();
    stopAll(tr("the link to the instrument was lost"));
    events->add(EventLog::Origin::Program, lastDriverMessage.isEmpty()
                                               ? tr("link lost")
                                               : tr("link lost: %1").arg(lastDriverMessage));
    reconnector->start(device);
    // The connection's own message says that the link was lost and why.
    if (automated)
        emit statusMessage(tr("The link to the instrument was lost: the sequence and the output timer stopped. "
                              "Trying to connect again every %1 s.")
                               .arg(Reconnector::kRetryMs / 1000));
}

// ---- Sequence, timer, conditions ----

bool Automation::startSequence(const Sequence &sequence, QString *error)
{
    if (!sequenceCommands) {
        *error = tr("No driver is loaded.");
        return false;
    }
    const bool tracking =
        reportedTracking == ReportedTracking::Parallel || reportedTracking == ReportedTracking::Series;
    if (sequence.channel == 2 && tracking) {
        *error = tr("CH2 follows CH1 while the outputs track; switch tracking off or run the sequence on CH1.");
        return false;
    }
    if (!sequenceRunner->start(sequence, error))
        return false;
    const QString repeats = sequence.repeats == Sequence::kForever ? tr("forever") : QString::number(sequence.repeats);
    events->add(EventLog::Origin::Sequence, tr("sequence started on CH%1: %2 steps, ramp %3 s, passes %4")
                                                .arg(sequence.channel)
                                                .arg(sequence.steps.size())
                                                .arg(sequence.rampSeconds)
                                                .arg(repeats));
    emit statusMessage(tr("Sequence started on CH%1.").arg(sequence.channel));
    return true;
}

void Automation::startOutputTimer(qint64 durationMs)
{
    if (!timerCommands)
        return;
    timer->start(durationMs);
    events->add(EventLog::Origin::Timer, tr("output timer started: %1").arg(OutputTimer::format(durationMs)));
}

void Automation::addCondition(const StopCondition &condition)
{
    if (condition.channel < 1 || condition.channel > ReadingTable::kChannelCount)
        return;
    stopConditions << condition;
    events->add(EventLog::Origin::Panel, tr("condition armed: %1").arg(condition.describe()));
    emit conditionsChanged();
}

void Automation::removeCondition(int index)
{
    if (index < 0 || index >= stopConditions.size())
        return;
    events->add(EventLog::Origin::Panel, tr("condition removed: %1").arg(stopConditions.at(index).describe()));
    stopConditions.removeAt(index);
    emit conditionsChanged();
}

void Automation::stopAll(const QString &reason)
{
    sequenceRunner->stop(reason);
    timer->stop(reason);
}

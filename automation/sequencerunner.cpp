#include "sequencerunner.h"

#include "imydmm.h"

SequenceRunner::SequenceRunner(IMyDmm *commands, QObject *parent) : QObject(parent), commands(commands)
{
    actionTimer.setSingleShot(true);
    connect(&actionTimer, &QTimer::timeout, this, &SequenceRunner::act);
}

bool SequenceRunner::start(const Sequence &sequence, QString *error)
{
    if (running) {
        *error = tr("A sequence is running already.");
        return false;
    }
    *error = sequence.check();
    if (!error->isEmpty())
        return false;
    current = sequence;
    plan = SequencePlan::pass(current, true);
    next = 0;
    pass = 1;
    passStartMs = pausedMs = 0;
    selectAskedMs = -1;
    running = true;
    paused = false;
    clock.start();
    schedule();
    return true;
}

void SequenceRunner::pause()
{
    if (!running || paused)
        return;
    paused = true;
    pauseBeganMs = clock.elapsed();
    actionTimer.stop();
}

void SequenceRunner::resume()
{
    if (!running || !paused)
        return;
    paused = false;
    pausedMs += clock.elapsed() - pauseBeganMs;
    schedule();
}

void SequenceRunner::stop(const QString &reason)
{
    if (!running)
        return;
    running = paused = false;
    actionTimer.stop();
    emit stopped(reason, false);
}

qint64 SequenceRunner::runMs() const
{
    return (paused ? pauseBeganMs : clock.elapsed()) - pausedMs;
}

qint64 SequenceRunner::passElapsedMs() const
{
    return qBound<qint64>(0, runMs() - passStartMs, current.passMs());
}

int SequenceRunner::currentStep() const
{
    if (!running)
        return -1;
    qint64 endMs = 0;
    const qint64 elapsed = passElapsedMs();
    for (int index = 0; index < current.steps.size(); ++index) {
        endMs += qRound64(current.steps.at(index).seconds * 1000);
        if (elapsed < endMs)
            return index;
    }
    return current.steps.size() - 1;
}

qint64 SequenceRunner::stepRemainingMs() const
{
    const int step = currentStep();
    if (step < 0)
        return 0;
    qint64 endMs = 0;
    for (int index = 0; index <= step; ++index)
        endMs += qRound64(current.steps.at(index).seconds * 1000);
    return endMs - passElapsedMs();
}

qint64 SequenceRunner::totalRemainingMs() const
{
    if (!running)
        return 0;
    if (current.repeats == Sequence::kForever)
        return -1;
    return current.passMs() * (current.repeats - pass) + current.passMs() - passElapsedMs();
}

void SequenceRunner::schedule()
{
    if (!running || paused)
        return;
    const qint64 dueMs = next < plan.size() ? plan.at(next).atMs : current.passMs();
    actionTimer.start(int(qMax<qint64>(0, passStartMs + dueMs - runMs())));
}

// One action at a time, so a stop or pause between two (a handler of a
// report, a user command) takes effect before the next is sent.
void SequenceRunner::act()
{
    if (!running || paused)
        return;
    if (next >= plan.size()) {
        if (current.repeats != Sequence::kForever && pass >= current.repeats) {
            finish();
            return;
        }
        ++pass;
        passStartMs += current.passMs();
        plan = SequencePlan::pass(current, false);
        next = 0;
        schedule();
        return;
    }
    const SequenceAction action = plan.at(next);
    if (action.atMs + passStartMs > runMs()) {
        schedule();
        return;
    }
    switch (action.kind) {
    case SequenceAction::StepBegins:
        ++next;
        emit stepBegan(int(action.value), pass);
        break;
    case SequenceAction::Voltage:
    case SequenceAction::Current:
        if (!channelReady())
            return;
        ++next;
        if (action.kind == SequenceAction::Voltage)
            commands->setVoltage(action.value);
        else
            commands->setCurrent(action.value);
        break;
    case SequenceAction::OutputOn:
        ++next;
        commands->setOutput(true);
        break;
    }
    schedule();
}

// True when the instrument has the sequence's channel selected; otherwise
// asks for it once and looks again shortly, giving up after kSelectTimeoutMs.
bool SequenceRunner::channelReady()
{
    if (commands->currentChannel() == current.channel) {
        selectAskedMs = -1;
        return true;
    }
    if (selectAskedMs < 0) {
        selectAskedMs = clock.elapsed();
        commands->selectChannel(quint8(current.channel));
    } else if (clock.elapsed() - selectAskedMs > kSelectTimeoutMs) {
        stop(tr("the instrument did not select CH%1").arg(current.channel));
        return false;
    }
    actionTimer.start(kSelectPollMs);
    return false;
}

void SequenceRunner::finish()
{
    running = paused = false;
    if (current.outputOffAtEnd)
        commands->setOutput(false);
    emit stopped(tr("finished"), true);
}

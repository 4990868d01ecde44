#include "simulatorsession.h"

#include "commandinterpreter.h"
#include "faultinjector.h"

#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcSimulator, "luma.simulator", QtInfoMsg)

SimulatorSession::SimulatorSession(CommandInterpreter &interpreter, FaultInjector &faults, QObject *parent)
    : QObject(parent)
    , m_interpreter(interpreter)
    , m_faults(faults)
{
    m_clock.start();
}

void SimulatorSession::receive(const QByteArray &bytes)
{
    const QList<QByteArray> lines = m_buffer.append(bytes, m_clock.elapsed());
    for (const QByteArray &line : lines) {
        if (m_faults.isMuted())
            continue;
        qCDebug(lcSimulator) << "<-" << line;
        const std::optional<QByteArray> reply = m_interpreter.execute(line);
        if (!reply)
            continue;
        const QByteArray out = m_faults.shape(*reply);
        const int delayMs = m_faults.replyDelayMs();
        if (delayMs > 0)
            QTimer::singleShot(delayMs, this, [this, out] { emit transmit(out); });
        else
            emit transmit(out);
    }
}

#ifndef SIMULATORSESSION_H
#define SIMULATORSESSION_H

#include "linebuffer.h"

#include <QElapsedTimer>
#include <QObject>

class CommandInterpreter;
class FaultInjector;

// One client's conversation with the instrument: bytes in, replies out, with
// the injector's faults applied. Sessions share the interpreter (one instrument).
class SimulatorSession : public QObject
{
    Q_OBJECT

public:
    SimulatorSession(CommandInterpreter &interpreter, FaultInjector &faults, QObject *parent = nullptr);

    void receive(const QByteArray &bytes);

signals:
    void transmit(const QByteArray &bytes);

private:
    CommandInterpreter &m_interpreter;
    FaultInjector &m_faults;
    LineBuffer m_buffer;
    QElapsedTimer m_clock;
};

#endif // SIMULATORSESSION_H

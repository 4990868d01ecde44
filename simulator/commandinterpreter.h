#ifndef COMMANDINTERPRETER_H
#define COMMANDINTERPRETER_H

#include <QByteArray>
#include <QList>

#include <optional>

class InstrumentModel;

// Carries out one protocol line on the model. Queries give their reply line
// (without terminator); commands and bad lines give none, a bad line leaving
// its error number in the model's error queue.
class CommandInterpreter
{
public:
    explicit CommandInterpreter(InstrumentModel &model);

    std::optional<QByteArray> execute(const QByteArray &line);
    QByteArray readingReply();

private:
    struct Node
    {
        QByteArray name; // upper case
        int suffix;      // -1 when the node carries none
    };

    std::optional<QByteArray> common(const QByteArray &header, bool query, const QByteArray &parameter);
    std::optional<QByteArray> subsystem(const QList<Node> &nodes, bool query, const QByteArray &parameter);
    std::optional<QByteArray> source(int channel, bool voltage, bool query, const QByteArray &parameter);
    std::optional<int> integerParameter(const QByteArray &parameter);
    std::optional<double> numberParameter(const QByteArray &parameter);
    std::optional<QByteArray> fail(int code);

    InstrumentModel &m_model;
};

#endif // COMMANDINTERPRETER_H

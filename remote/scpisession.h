#ifndef SCPISESSION_H
#define SCPISESSION_H

#include "scpierrorqueue.h"

#include <QByteArray>

class RemoteInstrument;
struct ScpiCommand;

// One client's conversation: the channel its commands address and its error
// queue. Lines are carried out on the instrument; errors go to the queue and
// never answer. No sockets: the server hands lines in and answers out.
class ScpiSession
{
public:
    static constexpr int kMaxReadCount = 10000; // lines of one DATA:READ?

    struct Result
    {
        enum Kind {
            Done,    // answered, or failed into the error queue
            Applied, // a command that changed the instrument
            Waiting, // the instrument has not yet switched to this client's channel
        };
        Kind kind = Done;
        QByteArray answer; // with its "\n"; empty when the line does not answer
    };

    explicit ScpiSession(RemoteInstrument &instrument);

    // A line without its terminator. After Waiting, the caller hands the same
    // line in again once the instrument reported a channel, or calls giveUp().
    Result execute(const QByteArray &line);
    // The command that waited is dropped with an error.
    void giveUp();
    // The rest of a line over the length limit was dropped.
    void lineTooLong();

    int channel() const;
    ScpiErrorQueue &errors();

private:
    Result run(const ScpiCommand &command);
    Result select(const ScpiCommand &command, bool byNumber);
    Result setPoint(const ScpiCommand &command, bool voltage);
    Result output(const ScpiCommand &command);
    Result tracking(const ScpiCommand &command);
    Result measure(const ScpiCommand &command);
    Result readData(const ScpiCommand &command);
    bool needsInstrument();
    bool oneParameter(const ScpiCommand &command);
    Result fail(int code, const QByteArray &detail = QByteArray());

    RemoteInstrument &instrument;
    ScpiErrorQueue queue;
    int addressed = 1;          // the channel this client's commands address
    bool switchPressed = false; // the channel key was pressed for the waiting command
};

#endif // SCPISESSION_H

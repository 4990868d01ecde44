#ifndef SCPICLIENT_H
#define SCPICLIENT_H

#include "scpilinereader.h"
#include "scpisession.h"

#include <QObject>

QT_BEGIN_NAMESPACE
class QTcpSocket;
QT_END_NAMESPACE

// One connection of the SCPI server: its socket (a child), the lines read
// from it and its session. The server decides when to read and what to do.
class ScpiClient : public QObject
{
    Q_OBJECT
public:
    ScpiClient(QTcpSocket *socket, RemoteInstrument &instrument, QObject *parent);

    QTcpSocket *socket() const;
    ScpiSession &session();
    ScpiLineReader &reader();
    // Lines read from the socket and not yet carried out.
    int queued = 0;

private:
    QTcpSocket *tcpSocket;
    ScpiSession scpi;
    ScpiLineReader lineReader;
};

#endif // SCPICLIENT_H

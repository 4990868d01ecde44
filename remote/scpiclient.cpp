#include "scpiclient.h"

#include <QTcpSocket>

ScpiClient::ScpiClient(QTcpSocket *socket, RemoteInstrument &instrument, QObject *parent)
    : QObject(parent), tcpSocket(socket), scpi(instrument)
{
    socket->setParent(this);
}

QTcpSocket *ScpiClient::socket() const
{
    return tcpSocket;
}

ScpiSession &ScpiClient::session()
{
    return scpi;
}

ScpiLineReader &ScpiClient::reader()
{
    return lineReader;
}

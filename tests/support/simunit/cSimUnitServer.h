#pragma once

#include <QTcpServer>

class cNetworkConnection;

// Hands every accepted connection to the network connection, which runs it on a transport thread of its own.
class cSimUnitServer : public QTcpServer
{
public:
    explicit cSimUnitServer(cNetworkConnection* network);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    cNetworkConnection* const mNetwork;
};

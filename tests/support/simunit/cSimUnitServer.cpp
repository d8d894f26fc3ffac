#include "cSimUnitServer.h"

#include "ZRNet/Qt/cNetworkConnection.h"

cSimUnitServer::cSimUnitServer(cNetworkConnection* network)
    : mNetwork(network)
{
}

void cSimUnitServer::incomingConnection(qintptr socketDescriptor)
{
    mNetwork->AdoptConnection(socketDescriptor);
}

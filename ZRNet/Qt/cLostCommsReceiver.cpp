#include "cLostCommsReceiver.h"

#include "cNetworkConnection.h"

cLostCommsReceiver::cLostCommsReceiver(cNetworkConnection* connection)
    : cPeriodicThread(QStringLiteral("LostCommsReceiver"), 1000, QThread::LowestPriority), mConnection(connection)
{
}

cLostCommsReceiver::~cLostCommsReceiver()
{
    Stop();
}

void cLostCommsReceiver::Period()
{
    mConnection->AgeConnections();
}

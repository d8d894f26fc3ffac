#pragma once

#include "cPeriodicThread.h"

class cNetworkConnection;

// Once a second has the network connection age every connection by one second of silence.
class cLostCommsReceiver : public cPeriodicThread
{
public:
    explicit cLostCommsReceiver(cNetworkConnection* connection);
    ~cLostCommsReceiver() override;

protected:
    void Period() override;

private:
    cNetworkConnection* const mConnection;
};

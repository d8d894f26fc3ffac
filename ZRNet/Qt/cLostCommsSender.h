#pragma once

#include "cPeriodicThread.h"

class cNetworkConnection;

// Once a second has the network connection send a heartbeat on every connection.
// Runs at high priority and then tries round-robin real-time priority 60.
class cLostCommsSender : public cPeriodicThread
{
public:
    static constexpr int kRealTimePriority = 60;

    explicit cLostCommsSender(cNetworkConnection* connection);
    ~cLostCommsSender() override;

protected:
    void ThreadStarted() override;
    void Period() override;

private:
    cNetworkConnection* const mConnection;
};

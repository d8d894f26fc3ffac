#include "cLostCommsSender.h"

#include "ZRNet/Core/DebugTrace.h"
#include "cNetworkConnection.h"

#include <atomic>
#include <pthread.h>
#include <sched.h>

cLostCommsSender::cLostCommsSender(cNetworkConnection* connection)
    : cPeriodicThread(QStringLiteral("LostCommsSender"), 1000, QThread::HighPriority), mConnection(connection)
{
}

cLostCommsSender::~cLostCommsSender()
{
    Stop();
}

void cLostCommsSender::ThreadStarted()
{
    sched_param parameter{};
    parameter.sched_priority = kRealTimePriority;
    // Without the privilege the heartbeat still runs, only at high priority; said once per run.
    static std::atomic<bool> told{false};
    if (pthread_setschedparam(pthread_self(), SCHED_RR, &parameter) != 0 && !told.exchange(true))
        ZR_NOTIFY("Heartbeat sender keeps its normal scheduling");
}

void cLostCommsSender::Period()
{
    mConnection->SendHeartbeats();
}

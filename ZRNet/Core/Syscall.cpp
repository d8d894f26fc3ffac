#include "Syscall.h"

#include "DebugTrace.h"
#include "cNetworkHook.h"
#include "cRegistryRouter.h"
#include "cSystemBuilder.h"
#include "cZRNetMessage.h"

#include <atomic>
#include <mutex>

namespace
{
std::atomic<cRegistryRouter*> gRouter{nullptr};
std::atomic<cSystemBuilder*> gBuilder{nullptr};
std::atomic<cNetworkHook*> gNetworkHook{nullptr};

std::recursive_mutex& PollLock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::mutex gTicksMutex;
bool gTicksStarted = false;
}

void InitialiseSyscall(eConnectionTerminatedBehaviour behaviour, bool createSystemBuilder)
{
    if (gRouter.load())
    {
        ZR_ERROR("Messaging core already initialised");
        return;
    }
    gRouter = new cRegistryRouter;
    if (createSystemBuilder)
        gBuilder = new cSystemBuilder(behaviour);
}

void UninitialiseSyscall()
{
    delete gBuilder.exchange(nullptr);
    delete gRouter.exchange(nullptr);
}

cRegistryRouter* SyscallRegistryRouter()
{
    return gRouter.load();
}

cSystemBuilder* SyscallSystemBuilder()
{
    return gBuilder.load();
}

void SyscallMessagesPollLock()
{
    PollLock().lock();
}

void SyscallMessagesPollUnLock()
{
    PollLock().unlock();
}

bool SyscallPostMessage(const cZRNetMessage& message)
{
    cRegistryRouter* router = gRouter.load();
    if (!router)
    {
        ZR_ERROR("No registry for message %u to %u", message.Method(), message.Destination());
        return false;
    }
    return router->Post(message);
}

bool SyscallSendMessage(const cZRNetMessage& message)
{
    if (message.ConnectionId() == kZRNetLocalConnection)
        return SyscallPostMessage(message);
    cNetworkHook* hook = gNetworkHook.load();
    if (!hook)
    {
        ZR_ERROR("No connection %u for message %u to %u", message.ConnectionId(), message.Method(),
                 message.Destination());
        return false;
    }
    return hook->SendToUnit(message);
}

void SyscallSetNetworkHook(cNetworkHook* hook)
{
    SyscallMessagesPollLock();
    gNetworkHook = hook;
    SyscallMessagesPollUnLock();
}

cNetworkHook* SyscallNetworkHook()
{
    return gNetworkHook.load();
}

size_t SyscallQueuedMessageCount()
{
    cRegistryRouter* router = gRouter.load();
    return router ? router->QueuedCount() : 0;
}

sQueueLoad SyscallQueueLoad()
{
    cRegistryRouter* router = gRouter.load();
    return router ? router->Load() : sQueueLoad();
}

void SyscallSetStartTicks(bool on)
{
    std::lock_guard<std::mutex> lock(gTicksMutex);
    gTicksStarted = on;
}

bool SyscallTicksStarted()
{
    std::lock_guard<std::mutex> lock(gTicksMutex);
    return gTicksStarted;
}

bool SyscallPostTick()
{
    cRegistryRouter* router = gRouter.load();
    return router && SyscallTicksStarted() && router->PostTick();
}

void SyscallConnectionTerminated(UWORD connectionId)
{
    if (cSystemBuilder* builder = gBuilder.load())
        builder->ConnectionTerminated(connectionId);
    if (cRegistryRouter* router = gRouter.load())
        router->ConnectionEnded(connectionId);
}

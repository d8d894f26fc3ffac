#include "cRegistryRouter.h"

#include "DebugTrace.h"
#include "Syscall.h"
#include "UnitPath.h"
#include "cNetObject.h"
#include "cNetworkHook.h"

#include <algorithm>
#include <cstring>

cRegistryRouter::cRegistryRouter()
    : mObjects(kZRNetNoHandle, nullptr)
{
}

UWORD cRegistryRouter::Register(cNetObject* object, const char* name)
{
    if (!name || !*name)
    {
        ZR_ERROR("Net object name is empty");
        return kZRNetNoHandle;
    }
    if (std::strlen(name) > kZRNetMaxNameLength)
    {
        ZR_ERROR("Net object name too long: %s", name);
        return kZRNetNoHandle;
    }
    std::lock_guard<std::mutex> lock(mTableMutex);
    if (mHandlesByName.count(name))
    {
        ZR_ERROR("Net object name already registered: %s", name);
        return kZRNetNoHandle;
    }
    // Handles are handed out round the table so that a freed handle is reused as late as
    // possible and messages still queued for a deleted object find no new owner.
    for (UWORD tried = 1; tried < kZRNetNoHandle; ++tried)
    {
        const UWORD handle = mNextHandle;
        mNextHandle = mNextHandle + 1 == kZRNetNoHandle ? 1 : mNextHandle + 1;
        if (!mObjects[handle])
        {
            mObjects[handle] = object;
            mHandlesByName.emplace(name, handle);
            return handle;
        }
    }
    ZR_ERROR("Registry full: %s", name);
    return kZRNetNoHandle;
}

void cRegistryRouter::Unregister(UWORD handle, const cNetObject* object)
{
    std::unique_lock<std::mutex> lock(mTableMutex);
    if (handle == kZRNetRegistryHandle || handle >= kZRNetNoHandle || mObjects[handle] != object)
        return;
    const std::thread::id self = std::this_thread::get_id();
    mTableCondition.wait(lock, [&] {
        return std::none_of(mInUse.begin(), mInUse.end(), [&](const std::pair<UWORD, std::thread::id>& use) {
            return use.first == handle && use.second != self;
        });
    });
    mObjects[handle] = nullptr;
    mTickObjects.erase(handle);
    mConnectionWatchers.erase(handle);
    for (auto it = mHandlesByName.begin(); it != mHandlesByName.end(); ++it)
    {
        if (it->second == handle)
        {
            mHandlesByName.erase(it);
            break;
        }
    }
}

UWORD cRegistryRouter::FindHandle(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    const auto it = mHandlesByName.find(name);
    return it == mHandlesByName.end() ? kZRNetNoHandle : it->second;
}

void cRegistryRouter::SetTicksRequired(UWORD handle, bool required)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    if (handle >= kZRNetNoHandle || !mObjects[handle])
        return;
    if (required)
        mTickObjects.insert(handle);
    else
        mTickObjects.erase(handle);
}

void cRegistryRouter::SetWatchesConnections(UWORD handle, bool watches)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    if (handle >= kZRNetNoHandle || !mObjects[handle])
        return;
    if (watches)
        mConnectionWatchers.insert(handle);
    else
        mConnectionWatchers.erase(handle);
}

void cRegistryRouter::ConnectionEnded(UWORD connectionId)
{
    std::vector<UWORD> watchers;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        watchers.assign(mConnectionWatchers.begin(), mConnectionWatchers.end());
    }
    for (UWORD handle : watchers)
    {
        cZRNetMessage news(kZRNetLocalConnection, handle, kZRNetRegistryHandle, eMethodConnectionEnded);
        news.AppendUWord(connectionId);
        Post(news);
    }
}

bool cRegistryRouter::Post(const cZRNetMessage& message)
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        mQueue.push_back(message);
        mQueuedBytes += message.Length();
    }
    mQueueCondition.notify_all();
    return true;
}

size_t cRegistryRouter::QueuedCount() const
{
    std::lock_guard<std::mutex> lock(mQueueMutex);
    return mQueue.size();
}

sQueueLoad cRegistryRouter::Load() const
{
    std::lock_guard<std::mutex> lock(mQueueMutex);
    return {mQueue.size(), mQueuedBytes};
}

bool cRegistryRouter::PostTick()
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        if (mOutstandingTicks >= kMaxOutstandingTicks || mQueue.size() >= kTickQueueLimit)
            return false;
        ++mOutstandingTicks;
        mQueue.emplace_back(kZRNetLocalConnection, kZRNetRegistryHandle, kZRNetRegistryHandle, eMethodTick);
    }
    mQueueCondition.notify_all();
    return true;
}

size_t cRegistryRouter::OutstandingTicks() const
{
    std::lock_guard<std::mutex> lock(mQueueMutex);
    return mOutstandingTicks;
}

bool cRegistryRouter::WaitForMessage(cZRNetMessage& message)
{
    std::unique_lock<std::mutex> lock(mQueueMutex);
    mQueueCondition.wait(lock, [this] { return !mPollingAllowed || !mQueue.empty(); });
    if (!mPollingAllowed)
        return false;
    message = std::move(mQueue.front());
    mQueue.pop_front();
    mQueuedBytes -= message.Length();
    return true;
}

void cRegistryRouter::SetPollingAllowed(bool allowed)
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        mPollingAllowed = allowed;
    }
    mQueueCondition.notify_all();
}

void cRegistryRouter::Deliver(const cZRNetMessage& message)
{
    if (message.Destination() == kZRNetRegistryHandle)
    {
        DeliverToRegistry(message);
        return;
    }
    cNetObject* object = Acquire(message.Destination());
    if (!object)
    {
        DebugDiagnosticTrace(__FILE__, __LINE__, __PRETTY_FUNCTION__, "Message %u for missing object %u dropped",
                             message.Method(), message.Destination());
        return;
    }
    object->EntrypointMessage(message);
    Release(message.Destination());
}

void cRegistryRouter::DeliverToRegistry(const cZRNetMessage& message)
{
    const bool tickOrTock = message.Method() == eMethodTick || message.Method() == eMethodTock;
    if (tickOrTock && (message.ConnectionId() != kZRNetLocalConnection || message.Source() != kZRNetRegistryHandle))
    {
        // Only the local tick driver paces periodic work; a peer could otherwise drive it past its limit.
        ZR_ERROR("Tick or tock not from the local tick driver dropped: method %u, connection %u, source %u",
                 message.Method(), message.ConnectionId(), message.Source());
        return;
    }
    switch (message.Method())
    {
    case eMethodFindObject:
        AnswerFindObject(message);
        break;
    case eMethodTick:
        RunTickObjects(true);
        // Queued behind whatever the tick's work posted, so the tock comes after all of it.
        Post(cZRNetMessage(kZRNetLocalConnection, kZRNetRegistryHandle, kZRNetRegistryHandle, eMethodTock));
        break;
    case eMethodTock:
        {
            std::lock_guard<std::mutex> lock(mQueueMutex);
            if (mOutstandingTicks > 0)
                --mOutstandingTicks;
        }
        RunTickObjects(false);
        break;
    default:
        ZR_ERROR("Registry cannot handle method %u", message.Method());
        break;
    }
}

// A path that names a unit is forwarded to that unit's registry, without the
// address, on the connection to it (opened first when there is none); the unit
// answers the seeker directly. Everything else is looked up here.
// A path over the limit is dropped unanswered: the answer would echo it.
void cRegistryRouter::AnswerFindObject(const cZRNetMessage& message)
{
    const std::string path = message.GetString(0);
    if (path.size() > kZRNetMaxPathLength)
    {
        ZR_ERROR("Find of a path of %zu characters from connection %u dropped: the limit is %zu", path.size(),
                 message.ConnectionId(), kZRNetMaxPathLength);
        return;
    }
    std::string host;
    std::string objectPath;
    if (message.ConnectionId() == kZRNetLocalConnection && SplitUnitPath(path, host, objectPath))
    {
        cNetworkHook* hook = SyscallNetworkHook();
        const UWORD connectionId = hook ? hook->ConnectToUnit(host) : kZRNetNoConnection;
        if (connectionId != kZRNetNoConnection)
        {
            // Queued before the unit can answer, so that the seeker knows which
            // connection its answer depends on before that connection can end.
            cZRNetMessage forwarded(kZRNetLocalConnection, message.Source(), kZRNetRegistryHandle,
                                    eMethodFindForwarded);
            forwarded.AppendUWord(connectionId);
            forwarded.AppendString(path.c_str());
            Post(forwarded);
            cZRNetMessage find(connectionId, kZRNetRegistryHandle, message.Source(), eMethodFindObject);
            find.AppendString(objectPath.c_str());
            if (hook->SendToUnit(find))
                return;
        }
        ZR_ERROR("Cannot reach unit %s to find %s", host.c_str(), objectPath.c_str());
    }
    cZRNetMessage reply(message.ConnectionId(), message.Source(), kZRNetRegistryHandle, eMethodFoundObject);
    reply.AppendUWord(FindHandle(path));
    reply.AppendUWord(kZRNetLocalConnection);
    reply.AppendString(path.c_str());
    SyscallSendMessage(reply);
}

void cRegistryRouter::RunTickObjects(bool tick)
{
    std::vector<UWORD> handles;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        handles.assign(mTickObjects.begin(), mTickObjects.end());
    }
    for (UWORD handle : handles)
    {
        cNetObject* object = Acquire(handle);
        if (!object)
            continue;
        if (tick)
            object->EntrypointTick();
        else
            object->EntrypointTock();
        Release(handle);
    }
}

cNetObject* cRegistryRouter::Acquire(UWORD handle)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    if (handle >= kZRNetNoHandle || !mObjects[handle])
        return nullptr;
    mInUse.emplace_back(handle, std::this_thread::get_id());
    return mObjects[handle];
}

void cRegistryRouter::Release(UWORD handle)
{
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        const auto it = std::find(mInUse.begin(), mInUse.end(), std::make_pair(handle, std::this_thread::get_id()));
        if (it != mInUse.end())
            mInUse.erase(it);
    }
    mTableCondition.notify_all();
}

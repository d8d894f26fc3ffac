#include "cSeekObject.h"

#include "DebugTrace.h"
#include "Syscall.h"
#include "UnitPath.h"
#include "cNetworkHook.h"
#include "cRegistryRouter.h"

#include <cstring>

cSeekObject::cSeekObject(const char* name, size_t cacheCapacity)
    : cNetObject(name), mCache(cacheCapacity)
{
    if (cRegistryRouter* router = SyscallRegistryRouter())
        router->SetWatchesConnections(Handle(), true);
}

void cSeekObject::SeekStarted()
{
}

void cSeekObject::EntrypointConnectionEnded(UWORD)
{
}

void cSeekObject::EntrypointSeekLost(UWORD)
{
    EntrypointFoundObject(kZRNetNoConnection, kZRNetNoHandle);
}

bool cSeekObject::SeekObject(const char* path)
{
    std::string text = path ? path : "";
    if (Handle() == kZRNetNoHandle)
    {
        ZR_ERROR("Unregistered object %s cannot seek %s", Name().c_str(), text.c_str());
        return false;
    }
    UWORD connectionId = kZRNetNoConnection;
    UWORD handle = kZRNetNoHandle;
    bool cached = false;
    {
        std::lock_guard<std::mutex> lock(mSeekMutex);
        if (mSeeking)
            return true;
        mSeeking = true;
        mSeekPath = text;
        mSeekConnection = kZRNetNoConnection;
        if (text.size() > kZRNetMaxPathLength)
            ZR_ERROR("Seek path too long: %s", text.c_str());
        else
            cached = CachedAndStillValid(text, connectionId, handle);
    }
    SeekStarted();
    if (text.size() > kZRNetMaxPathLength || cached)
    {
        PostAnswerToSelf(text, connectionId, handle);
        return false;
    }
    cZRNetMessage find(kZRNetLocalConnection, kZRNetRegistryHandle, Handle(), eMethodFindObject);
    find.AppendString(text.c_str());
    if (!SyscallSendMessage(find))
        PostAnswerToSelf(text, kZRNetNoConnection, kZRNetNoHandle);
    return false;
}

// A local object may have gone since it was cached, a remote one with its connection.
bool cSeekObject::CachedAndStillValid(const std::string& path, UWORD& connectionId, UWORD& handle)
{
    if (!mCache.Lookup(path, connectionId, handle))
        return false;
    if (connectionId != kZRNetLocalConnection)
    {
        const cNetworkHook* hook = SyscallNetworkHook();
        if (hook && hook->IsConnected(connectionId))
            return true;
        mCache.Evict(path);
        return false;
    }
    cRegistryRouter* router = SyscallRegistryRouter();
    if (router && router->FindHandle(path) == handle)
        return true;
    mCache.Evict(path);
    return false;
}

void cSeekObject::PostAnswerToSelf(const std::string& path, UWORD connectionId, UWORD handle)
{
    cZRNetMessage answer(kZRNetLocalConnection, Handle(), kZRNetRegistryHandle, eMethodFoundObject);
    answer.AppendUWord(handle);
    answer.AppendUWord(connectionId);
    answer.AppendString(path.c_str());
    if (!SyscallPostMessage(answer))
        CancelSeek();
}

bool cSeekObject::IsSeeking() const
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    return mSeeking;
}

void cSeekObject::CancelSeek()
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    mSeeking = false;
}

std::string cSeekObject::SeekPath() const
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    return mSeekPath;
}

UWORD cSeekObject::FoundConnection() const
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    return mFoundConnection;
}

UWORD cSeekObject::FoundHandle() const
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    return mFoundHandle;
}

void cSeekObject::ForgetConnection(UWORD connectionId)
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    mCache.EvictConnection(connectionId);
}

size_t cSeekObject::CachedPathCount() const
{
    std::lock_guard<std::mutex> lock(mSeekMutex);
    return mCache.Count();
}

void cSeekObject::EntrypointMessage(const cZRNetMessage& message)
{
    if (message.Method() == eMethodConnectionEnded)
    {
        // Only the local registry knows that a connection ended; a peer could otherwise end another's transfer.
        if (message.ConnectionId() != kZRNetLocalConnection || message.Source() != kZRNetRegistryHandle)
        {
            ZR_ERROR("%s: connection end not from the registry dropped: connection %u, source %u", Name().c_str(),
                     message.ConnectionId(), message.Source());
            return;
        }
        const UWORD connectionId = message.GetUWord(0);
        bool lost = false;
        {
            std::lock_guard<std::mutex> lock(mSeekMutex);
            mCache.EvictConnection(connectionId);
            lost = mSeeking && mSeekConnection == connectionId;
            if (lost)
                mSeeking = false;
        }
        if (lost)
        {
            ZR_ERROR("%s: connection %u ended while seeking", Name().c_str(), connectionId);
            EntrypointSeekLost(connectionId);
        }
        EntrypointConnectionEnded(connectionId);
        return;
    }
    // Only the local registry says where a find went; a unit's frames carry their connection id.
    if (message.Method() == eMethodFindForwarded)
    {
        if (message.ConnectionId() != kZRNetLocalConnection || message.Source() != kZRNetRegistryHandle)
            return;
        std::lock_guard<std::mutex> lock(mSeekMutex);
        if (mSeeking && message.GetString(2) == mSeekPath)
            mSeekConnection = message.GetUWord(0);
        return;
    }
    if (message.Method() != eMethodFoundObject)
    {
        cNetObject::EntrypointMessage(message);
        return;
    }
    // A unit answers with its own view: the path without its address, and the
    // connection the answer came on stands for the unit. Only the unit the find
    // went to may answer it: another could take the log-in meant for it.
    const bool remote = message.ConnectionId() != kZRNetLocalConnection;
    const UWORD handle = message.GetUWord(0);
    const UWORD connectionId =
        handle == kZRNetNoHandle ? kZRNetNoConnection : remote ? message.ConnectionId() : message.GetUWord(2);
    {
        std::lock_guard<std::mutex> lock(mSeekMutex);
        std::string expected = mSeekPath;
        std::string host;
        if (remote && !SplitUnitPath(mSeekPath, host, expected))
            return;
        if (!mSeeking || message.GetString(4) != expected || (remote && message.ConnectionId() != mSeekConnection))
            return;
        mSeeking = false;
        mFoundConnection = connectionId;
        mFoundHandle = handle;
        if (handle != kZRNetNoHandle)
            mCache.Store(mSeekPath, connectionId, handle);
    }
    EntrypointFoundObject(connectionId, handle);
}

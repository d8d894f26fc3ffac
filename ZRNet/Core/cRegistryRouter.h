#pragma once

#include "ZRNetTypes.h"
#include "cZRNetMessage.h"
#include "sQueueLoad.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

class cNetObject;

// The registry: gives every net object a handle (0 is the registry itself) under
// a unique name, and holds the one message queue that the poll thread drains.
// Delivery runs under the poll lock (SyscallMessagesPollLock); the object table
// has its own mutex so that objects can unregister without the poll lock.
class cRegistryRouter
{
public:
    static constexpr size_t kMaxOutstandingTicks = 2;
    static constexpr size_t kTickQueueLimit = 5000;

    cRegistryRouter();
    cRegistryRouter(const cRegistryRouter&) = delete;
    cRegistryRouter& operator=(const cRegistryRouter&) = delete;

    // 65535 (traced) for an empty, too long or taken name, or a full table.
    UWORD Register(cNetObject* object, const char* name);
    // Waits while another thread is delivering to the object, so that it may be destroyed after.
    void Unregister(UWORD handle, const cNetObject* object);
    UWORD FindHandle(const std::string& name) const;
    void SetTicksRequired(UWORD handle, bool required);
    // Watchers are told of every connection that ends, by a queued message.
    void SetWatchesConnections(UWORD handle, bool watches);
    void ConnectionEnded(UWORD connectionId);

    bool Post(const cZRNetMessage& message);
    size_t QueuedCount() const;
    sQueueLoad Load() const;
    // Posts a tick unless two are outstanding or the queue holds 5000 or more messages.
    bool PostTick();
    size_t OutstandingTicks() const;

    // Blocks until a message is queued (true) or polling is not allowed (false).
    bool WaitForMessage(cZRNetMessage& message);
    void SetPollingAllowed(bool allowed);
    // The caller holds the poll lock.
    void Deliver(const cZRNetMessage& message);

private:
    void DeliverToRegistry(const cZRNetMessage& message);
    void AnswerFindObject(const cZRNetMessage& message);
    void RunTickObjects(bool tick);
    cNetObject* Acquire(UWORD handle);
    void Release(UWORD handle);

    mutable std::mutex mTableMutex;
    std::condition_variable mTableCondition;
    std::vector<cNetObject*> mObjects;
    std::unordered_map<std::string, UWORD> mHandlesByName;
    std::set<UWORD> mTickObjects;
    std::set<UWORD> mConnectionWatchers;
    std::vector<std::pair<UWORD, std::thread::id>> mInUse;
    UWORD mNextHandle = 1;

    mutable std::mutex mQueueMutex;
    std::condition_variable mQueueCondition;
    std::deque<cZRNetMessage> mQueue;
    size_t mQueuedBytes = 0;
    size_t mOutstandingTicks = 0;
    bool mPollingAllowed = true;
};

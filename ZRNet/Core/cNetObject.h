#pragma once

#include "ZRNetTypes.h"
#include "cZRNetMessage.h"
#include "sInformTarget.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The base of every addressable object. It registers under a unique name of at
// most 63 characters (handle 65535 when that fails), receives its messages on
// the poll thread and keeps per-parameter inform lists and a delete list: the
// objects told of its deletion so that they drop it from their own lists.
//
// Registration happens in this constructor, before a subclass is complete, so
// while the poll thread runs create net objects under SyscallMessagesPollLock.
// A subclass whose EntrypointMessage uses its own members calls Unregister()
// first in its destructor, so that no delivery reaches a half-destroyed object.
class cNetObject
{
public:
    explicit cNetObject(const char* name);
    virtual ~cNetObject();
    cNetObject(const cNetObject&) = delete;
    cNetObject& operator=(const cNetObject&) = delete;

    UWORD Handle() const { return mHandle; }
    const std::string& Name() const { return mName; }

    // Runs on the poll thread under the poll lock. The base handles the linking
    // protocol; subclasses pass on what they do not handle themselves.
    virtual void EntrypointMessage(const cZRNetMessage& message);
    // Periodic work on the poll thread, for objects that asked for ticks.
    virtual void EntrypointTick();
    virtual void EntrypointTock();
    void RequestTicks(bool required);

    void AddInform(UWORD parameter, const sInformTarget& target);
    std::vector<sInformTarget> InformList(UWORD parameter) const;
    void AddToDeleteList(UWORD handle);
    std::vector<UWORD> DeleteList() const;
    // Sends the value to every target of the parameter's inform list; returns how many were sent.
    int InformParameter(UWORD parameter, const void* data, size_t length);

protected:
    // Leaves the registry (waiting for a delivery in progress on another thread)
    // and tells the delete list; later calls do nothing.
    void Unregister();

private:
    void ForgetObject(UWORD connectionId, UWORD handle);

    const std::string mName;
    std::atomic<UWORD> mHandle;
    mutable std::mutex mLinksMutex;
    std::map<UWORD, std::vector<sInformTarget>> mInformLists;
    std::vector<UWORD> mDeleteList;
};

#include "cHandleCache.h"

cHandleCache::cHandleCache(size_t capacity)
    : mCapacity(capacity)
{
}

bool cHandleCache::Lookup(const std::string& path, UWORD& connectionId, UWORD& handle)
{
    for (auto it = mEntries.begin(); it != mEntries.end(); ++it)
    {
        if (it->mPath != path)
            continue;
        mEntries.splice(mEntries.begin(), mEntries, it);
        connectionId = it->mConnectionId;
        handle = it->mHandle;
        return true;
    }
    return false;
}

void cHandleCache::Store(const std::string& path, UWORD connectionId, UWORD handle)
{
    if (mCapacity == 0)
        return;
    Evict(path);
    if (mEntries.size() >= mCapacity)
        mEntries.pop_back();
    mEntries.push_front({path, connectionId, handle});
}

void cHandleCache::Evict(const std::string& path)
{
    mEntries.remove_if([&](const sEntry& entry) { return entry.mPath == path; });
}

void cHandleCache::EvictConnection(UWORD connectionId)
{
    mEntries.remove_if([&](const sEntry& entry) { return entry.mConnectionId == connectionId; });
}

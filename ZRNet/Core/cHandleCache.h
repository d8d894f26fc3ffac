#pragma once

#include "ZRNetTypes.h"

#include <list>
#include <string>

// Remembers where paths were found, keeping the most recently used entries up to
// a fixed capacity. Not locked: its owner guards it.
class cHandleCache
{
public:
    explicit cHandleCache(size_t capacity);

    bool Lookup(const std::string& path, UWORD& connectionId, UWORD& handle);
    void Store(const std::string& path, UWORD connectionId, UWORD handle);
    void Evict(const std::string& path);
    void EvictConnection(UWORD connectionId);
    size_t Count() const { return mEntries.size(); }

private:
    struct sEntry
    {
        std::string mPath;
        UWORD mConnectionId;
        UWORD mHandle;
    };

    const size_t mCapacity;
    std::list<sEntry> mEntries; // most recently used first
};

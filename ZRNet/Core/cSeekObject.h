#pragma once

#include "cHandleCache.h"
#include "cNetObject.h"

#include <mutex>
#include <string>

// A net object that finds other objects by path, asynchronously: the outcome
// reaches EntrypointFoundObject on the poll thread, handle 65535 meaning not found.
// A path that names a unit is sought on that unit. It watches connections, so
// that paths behind an ended connection leave the cache and a seek whose
// connection ends fails at once.
class cSeekObject : public cNetObject
{
public:
    static constexpr size_t kDefaultCacheSize = 8;

    explicit cSeekObject(const char* name, size_t cacheCapacity = kDefaultCacheSize);

    // True (and nothing else) while a seek is under way; otherwise starts the
    // seek of path and returns false. A path longer than 127 characters is traced
    // and answered "not found" like any other failed seek.
    bool SeekObject(const char* path);
    bool IsSeeking() const;
    // Forgets the seek under way; a late answer to it is ignored.
    void CancelSeek();
    std::string SeekPath() const;
    UWORD FoundConnection() const;
    UWORD FoundHandle() const;
    // Drops the cached paths that lie behind a connection.
    void ForgetConnection(UWORD connectionId);
    size_t CachedPathCount() const;

    void EntrypointMessage(const cZRNetMessage& message) override;

protected:
    virtual void EntrypointFoundObject(UWORD connectionId, UWORD handle) = 0;
    // A seek has been started (not for the call that finds one under way).
    virtual void SeekStarted();
    // On the poll thread, after the cache has dropped the connection's paths.
    virtual void EntrypointConnectionEnded(UWORD connectionId);
    // The connection that the seek under way was sent on has ended before the
    // unit answered; by default the seek ends as "not found".
    virtual void EntrypointSeekLost(UWORD connectionId);

private:
    bool CachedAndStillValid(const std::string& path, UWORD& connectionId, UWORD& handle);
    void PostAnswerToSelf(const std::string& path, UWORD connectionId, UWORD handle);

    mutable std::mutex mSeekMutex;
    bool mSeeking = false;
    std::string mSeekPath;
    UWORD mSeekConnection = kZRNetNoConnection;
    UWORD mFoundConnection = kZRNetNoConnection;
    UWORD mFoundHandle = kZRNetNoHandle;
    cHandleCache mCache;
};

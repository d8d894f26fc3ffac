#pragma once

#include "ZRNet/Core/cSeekObject.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// Records each outcome of its seeks and lets a test wait for them.
class cRecordingSeekObject : public cSeekObject
{
public:
    struct sOutcome
    {
        UWORD mConnectionId;
        UWORD mHandle;
        std::thread::id mThread;
    };

    explicit cRecordingSeekObject(const char* name) : cSeekObject(name) {}
    ~cRecordingSeekObject() override { Unregister(); }

    bool WaitForOutcomes(size_t count, int timeoutMs = 3000)
    {
        std::unique_lock<std::mutex> lock(mMutex);
        return mCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return mOutcomes.size() >= count; });
    }
    std::vector<sOutcome> Outcomes()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mOutcomes;
    }

protected:
    void EntrypointFoundObject(UWORD connectionId, UWORD handle) override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mOutcomes.push_back({connectionId, handle, std::this_thread::get_id()});
        mCondition.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    std::vector<sOutcome> mOutcomes;
};

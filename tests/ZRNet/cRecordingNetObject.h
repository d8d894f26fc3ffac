#pragma once

#include "ZRNet/Core/cNetObject.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Records every message, tick and tock that reaches it (protocol messages still go to the base).
class cRecordingNetObject : public cNetObject
{
public:
    struct sReceived
    {
        UWORD mMethod;
        UWORD mSource;
        std::vector<UBYTE> mPayload;
        std::thread::id mThread;
    };

    explicit cRecordingNetObject(const char* name, bool recordProtocol = false)
        : cNetObject(name), mRecordProtocol(recordProtocol)
    {
    }
    ~cRecordingNetObject() override { Unregister(); }

    void EntrypointMessage(const cZRNetMessage& message) override
    {
        const UWORD method = message.Method();
        const bool protocol =
            method == eMethodAddInform || method == eMethodAddDeleteNotify || method == eMethodObjectDeleted;
        if (protocol)
            cNetObject::EntrypointMessage(message);
        if (protocol && !mRecordProtocol)
            return;
        std::lock_guard<std::mutex> lock(mMutex);
        mReceived.push_back({method, message.Source(),
                             std::vector<UBYTE>(message.Payload(), message.Payload() + message.Length()),
                             std::this_thread::get_id()});
        mEvents.push_back("m" + std::to_string(method));
        mCondition.notify_all();
    }
    void EntrypointTick() override { Record("tick"); }
    void EntrypointTock() override { Record("tock"); }

    bool WaitForEvents(size_t count, int timeoutMs = 3000)
    {
        std::unique_lock<std::mutex> lock(mMutex);
        return mCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return mEvents.size() >= count; });
    }
    std::vector<sReceived> Received()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mReceived;
    }
    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mEvents;
    }
    size_t EventCount() { return Events().size(); }

private:
    void Record(const char* event)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mEvents.push_back(event);
        mCondition.notify_all();
    }

    const bool mRecordProtocol;
    std::mutex mMutex;
    std::condition_variable mCondition;
    std::vector<sReceived> mReceived;
    std::vector<std::string> mEvents;
};

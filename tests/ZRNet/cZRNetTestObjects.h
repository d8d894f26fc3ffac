#pragma once

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSeekObject.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QVector>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What other threads hand to a test, kept under a mutex; the test waits for a count of it.
template <typename T>
class cRecorder
{
public:
    void Add(T item)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mItems.push_back(std::move(item));
        mCondition.notify_all();
    }
    bool WaitFor(size_t count, int timeoutMs = 10000)
    {
        std::unique_lock<std::mutex> lock(mMutex);
        return mCondition.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return mItems.size() >= count; });
    }
    std::vector<T> Items()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mItems;
    }

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    std::vector<T> mItems;
};

struct sReceived
{
    UWORD mMethod;
    ULONG mValue; // the payload's first long, 0 without one
};

// Records the messages ("m<method>") and ticks ("tick", "tock") that reach it; the protocol's own go to the base.
class cRecordingNetObject : public cNetObject
{
public:
    explicit cRecordingNetObject(const char* name) : cNetObject(name) {}
    ~cRecordingNetObject() override { Unregister(); }

    void EntrypointMessage(const cZRNetMessage& message) override
    {
        const UWORD method = message.Method();
        if (method == eMethodAddInform || method == eMethodAddDeleteNotify || method == eMethodObjectDeleted)
            return cNetObject::EntrypointMessage(message);
        mReceived.Add({method, message.Length() >= 4 ? message.GetULong(0) : 0});
        mEvents.Add("m" + std::to_string(method));
    }
    void EntrypointTick() override
    {
        mEvents.Add("tick");
        if (mPostOnTick)
            SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, Handle(), kZRNetNoHandle, mPostOnTick));
    }
    void EntrypointTock() override { mEvents.Add("tock"); }
    cRecorder<sReceived> mReceived;
    cRecorder<std::string> mEvents;
    UWORD mPostOnTick = 0; // a method to post to itself from each tick
};

// Holds up the poll thread in the delivery of any message to it, as a busy object would, until opened.
class cBlockingNetObject : public cNetObject
{
public:
    explicit cBlockingNetObject(const char* name) : cNetObject(name) {}
    ~cBlockingNetObject() override
    {
        Open();
        Unregister();
    }
    void EntrypointMessage(const cZRNetMessage&) override
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mCondition.wait(lock, [this] { return mOpen; });
    }
    void Open()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mOpen = true;
        }
        mCondition.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    bool mOpen = false;
};

struct sOutcome
{
    UWORD mConnectionId;
    UWORD mHandle;
    std::thread::id mThread;
};

class cRecordingSeekObject : public cSeekObject
{
public:
    explicit cRecordingSeekObject(const char* name) : cSeekObject(name) {}
    ~cRecordingSeekObject() override { Unregister(); }
    cRecorder<sOutcome> mOutcomes;
    cRecorder<UWORD> mEndedConnections;

protected:
    void EntrypointFoundObject(UWORD connectionId, UWORD handle) override
    {
        mOutcomes.Add({connectionId, handle, std::this_thread::get_id()});
    }
    void EntrypointConnectionEnded(UWORD connectionId) override { mEndedConnections.Add(connectionId); }
};

// The connection ids a signal of the network side carries, recorded on the main thread whichever thread emits it.
class cIdRecorder : public QObject
{
public:
    template <typename Signal>
    cIdRecorder(cNetworkConnection* network, Signal signal)
    {
        connect(network, signal, this, [this](UWORD id) { mIds.append(id); });
    }
    QVector<UWORD> mIds;
};

// Holds the poll lock, as the main thread does while it makes a net object, until released; a test
// that fails while holding it lets go on its way out.
class cHeldPollLock
{
public:
    cHeldPollLock() { SyscallMessagesPollLock(); }
    ~cHeldPollLock() { Release(); }
    cHeldPollLock(const cHeldPollLock&) = delete;
    cHeldPollLock& operator=(const cHeldPollLock&) = delete;
    void Release()
    {
        if (mHeld)
            SyscallMessagesPollUnLock();
        mHeld = false;
    }

private:
    bool mHeld = true;
};

// Brings the messaging core up for one test and down again in the editor's order.
class cRunningMessagingCore
{
public:
    cRunningMessagingCore()
    {
        InitialiseSyscall(eAbortAllLinksOnTermination, true);
        mPollThread.StartSyscall();
    }
    ~cRunningMessagingCore()
    {
        SyscallSetStartTicks(false);
        mPollThread.QuitSyscallAndWait();
        UninitialiseSyscall();
    }

    cSyscallThread mPollThread;
};

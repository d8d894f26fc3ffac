#include "cPeriodicThread.h"

#include <algorithm>
#include <chrono>

cPeriodicThread::cPeriodicThread(const QString& name, int intervalMs, QThread::Priority priority)
    : mIntervalMs(intervalMs), mPriority(priority)
{
    setObjectName(name);
}

cPeriodicThread::~cPeriodicThread()
{
    Stop();
}

void cPeriodicThread::StartPeriods()
{
    {
        std::lock_guard<std::mutex> lock(mStopMutex);
        mStop = false;
    }
    start(mPriority);
}

void cPeriodicThread::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mStopMutex);
        mStop = true;
    }
    mStopCondition.notify_all();
    wait();
}

void cPeriodicThread::ThreadStarted()
{
}

void cPeriodicThread::run()
{
    ThreadStarted();
    const std::chrono::milliseconds interval(mIntervalMs);
    auto next = std::chrono::steady_clock::now() + interval;
    std::unique_lock<std::mutex> lock(mStopMutex);
    while (!mStopCondition.wait_until(lock, next, [this] { return mStop; }))
    {
        lock.unlock();
        Period();
        lock.lock();
        // A late period does not cause a burst of catch-up periods.
        next = std::max(next + interval, std::chrono::steady_clock::now());
    }
}

#pragma once

#include <QThread>

#include <condition_variable>
#include <mutex>

// A named thread that runs Period() at a fixed interval until stopped; stopping
// wakes it at once. Subclasses call Stop() first in their destructor, so that
// Period() never runs on a half-destroyed object.
class cPeriodicThread : public QThread
{
public:
    cPeriodicThread(const QString& name, int intervalMs, QThread::Priority priority);
    ~cPeriodicThread() override;

    void StartPeriods();
    void Stop();

protected:
    virtual void ThreadStarted();
    virtual void Period() = 0;

private:
    void run() override;

    const int mIntervalMs;
    const QThread::Priority mPriority;
    std::mutex mStopMutex;
    std::condition_variable mStopCondition;
    bool mStop = false;
};

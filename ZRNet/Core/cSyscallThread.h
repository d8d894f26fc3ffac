#pragma once

#include <atomic>
#include <thread>

// The poll thread: drains the registry's queue in order, delivering each
// message under the poll lock, and sleeps on the queue's wait condition.
class cSyscallThread
{
public:
    cSyscallThread() = default;
    ~cSyscallThread();
    cSyscallThread(const cSyscallThread&) = delete;
    cSyscallThread& operator=(const cSyscallThread&) = delete;

    // Starts the thread once; later calls, and calls without a registry (traced), do nothing.
    void StartSyscall();
    // Stops polling, waits for the thread, then has the system builder abort all its links.
    void QuitSyscallAndWait();
    bool IsRunning() const { return mThread.joinable(); }

private:
    void Run();

    std::atomic<bool> mRun{false};
    std::thread mThread;
};

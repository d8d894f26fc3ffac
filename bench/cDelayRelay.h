#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A TCP relay on loopback that holds each direction's bytes for a fixed delay
// before passing them on: half of a round trip that the kernel's tc cannot add
// here (it has no netem). Listens on the given loopback address; each accepted
// connection is forwarded to the target port on 127.0.0.1.
class cDelayRelay
{
public:
    cDelayRelay(const char* listenAddress, unsigned short targetPort, std::chrono::microseconds delay);
    ~cDelayRelay();
    cDelayRelay(const cDelayRelay&) = delete;
    cDelayRelay& operator=(const cDelayRelay&) = delete;

    // The port it listens on; 0 when it could not listen.
    unsigned short Port() const { return mPort; }

private:
    struct sPipe;
    void Accept();
    void Forward(int from, int to);

    const unsigned short mTargetPort;
    const std::chrono::microseconds mDelay;
    int mListener = -1;
    unsigned short mPort = 0;
    std::atomic<bool> mStopping{false};
    std::mutex mMutex;
    std::vector<int> mSockets;
    std::vector<std::thread> mThreads;
    std::thread mAcceptor;
};

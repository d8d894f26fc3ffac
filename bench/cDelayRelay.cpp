#include "cDelayRelay.h"

#include <arpa/inet.h>
#include <condition_variable>
#include <deque>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
using tClock = std::chrono::steady_clock;

void NoDelay(int socket)
{
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool WriteAll(int socket, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t put = send(socket, data, size, MSG_NOSIGNAL);
        if (put <= 0)
            return false;
        data += put;
        size -= size_t(put);
    }
    return true;
}
}

cDelayRelay::cDelayRelay(const char* listenAddress, unsigned short targetPort, std::chrono::microseconds delay)
    : mTargetPort(targetPort), mDelay(delay)
{
    mListener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, listenAddress, &address.sin_addr);
    socklen_t length = sizeof address;
    if (bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(mListener, 8) != 0 ||
        getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    mPort = ntohs(address.sin_port);
    mAcceptor = std::thread([this] { Accept(); });
}

cDelayRelay::~cDelayRelay()
{
    mStopping = true;
    shutdown(mListener, SHUT_RDWR);
    close(mListener);
    if (mAcceptor.joinable())
        mAcceptor.join();
    {
        std::lock_guard<std::mutex> lock(mMutex);
        for (int socket : mSockets)
            shutdown(socket, SHUT_RDWR);
    }
    for (std::thread& thread : mThreads)
        thread.join();
    for (int socket : mSockets)
        close(socket);
}

void cDelayRelay::Accept()
{
    for (;;)
    {
        const int near = accept(mListener, nullptr, nullptr);
        if (near < 0 || mStopping)
            return;
        const int far = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(mTargetPort);
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(far, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0)
        {
            close(near);
            close(far);
            continue;
        }
        NoDelay(near);
        NoDelay(far);
        std::lock_guard<std::mutex> lock(mMutex);
        mSockets.push_back(near);
        mSockets.push_back(far);
        mThreads.emplace_back([this, near, far] { Forward(near, far); });
        mThreads.emplace_back([this, near, far] { Forward(far, near); });
    }
}

// One direction: a reader stamps what arrives, a writer passes it on once the delay is over.
void cDelayRelay::Forward(int from, int to)
{
    struct sHeld
    {
        tClock::time_point due;
        std::vector<char> bytes;
    };
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<sHeld> held;
    bool ended = false;
    std::thread writer([&] {
        for (;;)
        {
            sHeld next;
            {
                std::unique_lock<std::mutex> lock(mutex);
                arrived.wait(lock, [&] { return ended || !held.empty(); });
                if (held.empty())
                    break;
                next = std::move(held.front());
                held.pop_front();
            }
            std::this_thread::sleep_until(next.due);
            if (!WriteAll(to, next.bytes.data(), next.bytes.size()))
                break;
        }
        shutdown(to, SHUT_WR);
    });
    std::vector<char> buffer(1 << 16);
    for (;;)
    {
        const ssize_t got = recv(from, buffer.data(), buffer.size(), 0);
        if (got <= 0)
            break;
        std::lock_guard<std::mutex> lock(mutex);
        held.push_back({tClock::now() + mDelay, std::vector<char>(buffer.data(), buffer.data() + got)});
        arrived.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        ended = true;
        arrived.notify_one();
    }
    writer.join();
}

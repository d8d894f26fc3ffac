// Upload throughput of a 5 MB config to the simulated unit on loopback, next to
// raw loopback TCP throughput of the same bytes, and the round trip of a seek.
// Run inside a network namespace that holds only loopback.
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"

#include <QCoreApplication>
#include <QCryptographicHash>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using tClock = std::chrono::steady_clock;
constexpr int kConfigSize = 5 * 1024 * 1024;
constexpr int kRuns = 7;
const char* kPassword = "1234";

double Seconds(tClock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same bytes through one loopback TCP connection between two threads.
double RawLoopbackSeconds(const QByteArray& data)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::promise<tClock::time_point> done;
    std::thread receiver([&] {
        const int peer = accept(listener, nullptr, nullptr);
        std::vector<char> buffer(1 << 16);
        long total = 0;
        while (total < data.size())
        {
            const ssize_t got = read(peer, buffer.data(), buffer.size());
            if (got <= 0)
                break;
            total += got;
        }
        done.set_value(tClock::now());
        close(peer);
    });
    const int sender = socket(AF_INET, SOCK_STREAM, 0);
    connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const tClock::time_point start = tClock::now();
    long sent = 0;
    while (sent < data.size())
    {
        const ssize_t put = write(sender, data.constData() + sent, size_t(data.size() - sent));
        if (put <= 0)
            break;
        sent += put;
    }
    const tClock::time_point end = done.get_future().get();
    receiver.join();
    close(sender);
    close(listener);
    return Seconds(end - start);
}

// Waits for one of the client's signals, on the thread that emits it.
class cOutcome
{
public:
    void Set(bool success)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mDone = true;
        mSuccess = success;
        mCondition.notify_all();
    }
    bool Wait()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mCondition.wait_for(lock, std::chrono::seconds(20), [this] { return mDone; });
        const bool success = mDone && mSuccess;
        mDone = false;
        return success;
    }

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    bool mDone = false;
    bool mSuccess = false;
};

class cFoundOnce : public cSeekObject
{
public:
    cFoundOnce() : cSeekObject("BenchSeeker", 0) {}
    ~cFoundOnce() override { Unregister(); }
    cOutcome mOutcome;

protected:
    void EntrypointFoundObject(UWORD, UWORD handle) override { mOutcome.Set(handle != kZRNetNoHandle); }
};

// One timed upload with a fresh client; log-in is not timed.
double UploadSeconds(const QByteArray& data)
{
    SyscallMessagesPollLock();
    cKelvariConfigClient client("KelvariConfigClient");
    SyscallMessagesPollUnLock();
    cOutcome outcome;
    QObject::connect(&client, &cKelvariConfigClient::SeekSuccessful, [&] { outcome.Set(true); });
    QObject::connect(&client, &cKelvariConfigClient::Authenticated, [&] { outcome.Set(true); });
    QObject::connect(&client, &cKelvariConfigClient::UploadConfigSuccessful, [&] { outcome.Set(true); });
    QObject::connect(&client, &cKelvariConfigClient::SeekFailed, [&] { outcome.Set(false); });
    QObject::connect(&client, &cKelvariConfigClient::AuthenticationFailed, [&] { outcome.Set(false); });
    QObject::connect(&client, &cKelvariConfigClient::UploadConfigFailed, [&] { outcome.Set(false); });
    client.SeekObject("127.0.0.1/Kelvari Config Manager");
    if (!outcome.Wait())
        return -1;
    client.Authenticate(QCryptographicHash::hash("Admin", QCryptographicHash::Keccak_512).toBase64().toStdString(),
                        kPassword);
    if (!outcome.Wait())
        return -1;
    const tClock::time_point start = tClock::now();
    client.UploadConfig(data);
    if (!outcome.Wait())
        return -1;
    return Seconds(tClock::now() - start);
}
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    cSimulatedUnit unit({"--admin-password-hash", kPassword});
    if (!unit.Start())
    {
        std::fprintf(stderr, "the simulated unit did not start\n");
        return 1;
    }
    InitialiseSyscall(eAbortAllLinksOnTermination, true);
    cSyscallThread pollThread;
    pollThread.StartSyscall();
    cNetworkConnection::AllowInstanceOf(true);
    cNetworkConnection::Instance()->SetUnitTcpPort(unit.TcpPort());
    cActionTickDriver ticks;
    SyscallSetStartTicks(true);
    ticks.StartTimer();

    QByteArray data(kConfigSize, Qt::Uninitialized);
    for (int i = 0; i < data.size(); ++i)
        data[i] = char("<Widget x=\"0.25\"/>\n"[i % 19]);

    std::vector<double> raw;
    std::vector<double> upload;
    for (int run = 0; run < kRuns; ++run)
    {
        raw.push_back(RawLoopbackSeconds(data));
        const double seconds = UploadSeconds(data);
        if (seconds < 0)
        {
            std::fprintf(stderr, "upload %d failed\n", run);
            return 1;
        }
        upload.push_back(seconds);
        // Drains the unit's report lines so that its output pipe never fills.
        unit.Reports();
    }

    std::vector<double> seeks;
    {
        SyscallMessagesPollLock();
        cFoundOnce seeker;
        SyscallMessagesPollUnLock();
        for (int run = 0; run < 200; ++run)
        {
            const tClock::time_point start = tClock::now();
            seeker.SeekObject("127.0.0.1/Kelvari Config Manager");
            if (!seeker.mOutcome.Wait())
                return 1;
            seeks.push_back(Seconds(tClock::now() - start));
        }
    }

    const double megabytes = kConfigSize / 1e6;
    const double rawRate = megabytes / Median(raw);
    const double uploadRate = megabytes / Median(upload);
    std::printf("config size            %d bytes in chunks of 32000\n", kConfigSize);
    std::printf("raw loopback TCP       %8.1f MB/s (median of %d, %.2f ms)\n", rawRate, kRuns, Median(raw) * 1e3);
    std::printf("config upload          %8.1f MB/s (median of %d, %.2f ms)\n", uploadRate, kRuns,
                Median(upload) * 1e3);
    std::printf("upload / raw           %8.3f\n", uploadRate / rawRate);
    std::printf("seek round trip        %8.1f us (median of %zu)\n", Median(seeks) * 1e6, seeks.size());

    SyscallSetStartTicks(false);
    ticks.Stop();
    pollThread.QuitSyscallAndWait();
    cNetworkConnection::DeleteInstance();
    UninitialiseSyscall();
    return 0;
}

// Upload throughput of a 5 MB config to the simulated unit, next to raw TCP of
// the same bytes in the same run: on plain loopback, then over an emulated link
// of 100 Mbit/s with a 20 ms round trip; and the round trip of a seek. Run inside
// a network namespace that holds only loopback: the link is made on its loopback
// (tc tbf for the rate, a delaying relay for the round trip).
#include "cDelayRelay.h"

#include "Kelvari/Common/cKelvariConfigClient.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <memory>
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
// The far end of the emulated link; all of 127.0.0.0/8 is loopback.
const char* const kLinkAddress = "127.0.0.2";
constexpr std::chrono::milliseconds kOneWayDelay(10);

double Seconds(tClock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same bytes through one TCP connection between two threads; the receiver listens on 127.0.0.1 and
// answers one byte once it has them all, so that, as for the upload, the time ends when the sender knows.
// With a relay the sender goes through it.
double RawSeconds(const QByteArray& data, const char* relayAddress = nullptr)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
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
        const char done = 1;
        send(peer, &done, 1, MSG_NOSIGNAL);
        close(peer);
    });
    std::unique_ptr<cDelayRelay> relay;
    if (relayAddress)
    {
        relay = std::make_unique<cDelayRelay>(relayAddress, ntohs(address.sin_port), kOneWayDelay);
        inet_pton(AF_INET, relayAddress, &address.sin_addr);
        address.sin_port = htons(relay->Port());
    }
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
    char done = 0;
    const bool confirmed = read(sender, &done, 1) == 1;
    const tClock::time_point end = tClock::now();
    receiver.join();
    close(sender);
    close(listener);
    return confirmed ? Seconds(end - start) : -1;
}

// The emulated link is made only where it cannot reach further than this process's own namespace. The
// interfaces are read from /proc/self/net, which follows the namespace (sysfs may show the host's).
bool OnlyLoopback()
{
    QFile devices(QStringLiteral("/proc/self/net/dev"));
    if (!devices.open(QIODevice::ReadOnly))
        return false;
    QStringList names;
    // Two header lines, then one line per interface: "name: counters".
    const QList<QByteArray> lines = devices.readAll().split('\n').mid(2);
    for (const QByteArray& line : lines)
    {
        if (line.contains(':'))
            names << QString::fromLatin1(line.left(line.indexOf(':')).trimmed());
    }
    return names == QStringList{QStringLiteral("lo")};
}

bool Run(const QString& command)
{
    QProcess process;
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(command), process.readAllStandardError().constData());
        return false;
    }
    return true;
}

// 100 Mbit/s each way between 127.0.0.1 and kLinkAddress: a tbf per direction under an htb that only sorts
// the packets, and an MTU of an Ethernet link. Other loopback traffic is left as it is.
bool MakeLink()
{
    const QStringList commands{
        "ip link set lo mtu 1500",
        "tc qdisc replace dev lo root handle 1: htb default 30",
        "tc class add dev lo parent 1: classid 1:10 htb rate 10gbit",
        "tc class add dev lo parent 1: classid 1:20 htb rate 10gbit",
        "tc class add dev lo parent 1: classid 1:30 htb rate 10gbit",
        "tc qdisc add dev lo parent 1:10 handle 10: tbf rate 100mbit burst 32kb latency 20ms",
        "tc qdisc add dev lo parent 1:20 handle 20: tbf rate 100mbit burst 32kb latency 20ms",
        QStringLiteral("tc filter add dev lo parent 1: protocol ip prio 1 u32 match ip dst %1/32 flowid 1:10")
            .arg(kLinkAddress),
        QStringLiteral("tc filter add dev lo parent 1: protocol ip prio 1 u32 match ip src %1/32 flowid 1:20")
            .arg(kLinkAddress),
    };
    for (const QString& command : commands)
    {
        if (!Run(command))
            return false;
    }
    return true;
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

// One timed upload with a fresh client to the unit at that address; log-in is not timed.
double UploadSeconds(const QByteArray& data, const QByteArray& host)
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
    client.SeekObject((host + "/Kelvari Config Manager").constData());
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

struct sMeasures
{
    double raw = 0;
    double upload = 0;
};

// Medians of alternating raw and upload runs.
bool Measure(const QByteArray& data, const QByteArray& host, const char* relayAddress, cSimulatedUnit& unit,
             sMeasures& result)
{
    std::vector<double> raw;
    std::vector<double> upload;
    for (int run = 0; run < kRuns; ++run)
    {
        raw.push_back(RawSeconds(data, relayAddress));
        upload.push_back(UploadSeconds(data, host));
        if (raw.back() < 0 || upload.back() < 0)
        {
            std::fprintf(stderr, "run %d to %s failed\n", run, host.constData());
            return false;
        }
        // Drains the unit's report lines so that its output pipe never fills.
        unit.Reports();
    }
    result = {Median(raw), Median(upload)};
    return true;
}

void Print(const char* title, const sMeasures& measures)
{
    const double megabytes = kConfigSize / 1e6;
    std::printf("%s\n", title);
    std::printf("  raw TCP              %8.1f MB/s (median of %d, %.2f ms)\n", megabytes / measures.raw, kRuns,
                measures.raw * 1e3);
    std::printf("  config upload        %8.1f MB/s (median of %d, %.2f ms)\n", megabytes / measures.upload, kRuns,
                measures.upload * 1e3);
    std::printf("  upload / raw         %8.3f\n", measures.raw / measures.upload);
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

    sMeasures loopback;
    if (!Measure(data, "127.0.0.1", nullptr, unit, loopback))
        return 1;

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

    std::printf("config size            %d bytes in chunks of %zu\n", kConfigSize, kConfigChunkSize);
    Print("loopback", loopback);
    std::printf("seek round trip        %8.1f us (median of %zu)\n", Median(seeks) * 1e6, seeks.size());

    if (!OnlyLoopback())
    {
        std::fprintf(stderr, "not inside a network namespace of loopback only: no emulated link made\n");
        return 1;
    }
    if (!MakeLink())
        return 1;
    const cDelayRelay relay(kLinkAddress, unit.TcpPort(), kOneWayDelay);
    cNetworkConnection::Instance()->SetUnitTcpPort(relay.Port());
    sMeasures link;
    if (relay.Port() == 0 || !Measure(data, kLinkAddress, kLinkAddress, unit, link))
        return 1;
    Print("link of 100 Mbit/s, 20 ms round trip:", link);

    SyscallSetStartTicks(false);
    ticks.Stop();
    pollThread.QuitSyscallAndWait();
    cNetworkConnection::DeleteInstance();
    UninitialiseSyscall();
    return 0;
}

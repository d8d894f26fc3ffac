#include "cNetworkConnection.h"

#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "cLostCommsReceiver.h"
#include "cLostCommsSender.h"

#include <QCoreApplication>
#include <QThread>

namespace
{
std::mutex gInstanceMutex;
bool gInstanceAllowed = false;
cNetworkConnection* gInstance = nullptr;

bool OnMainThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}
}

void cNetworkConnection::AllowInstanceOf(bool allow)
{
    std::lock_guard<std::mutex> lock(gInstanceMutex);
    gInstanceAllowed = allow;
}

cNetworkConnection* cNetworkConnection::Instance()
{
    std::lock_guard<std::mutex> lock(gInstanceMutex);
    if (!gInstanceAllowed)
    {
        ZR_ERROR("Network Connection access after destruction");
        return nullptr;
    }
    if (gInstance)
        return gInstance;
    if (!OnMainThread())
    {
        ZR_ERROR("Attempting to create instance on non-main thread");
        return nullptr;
    }
    gInstance = new cNetworkConnection;
    return gInstance;
}

void cNetworkConnection::DeleteInstance()
{
    if (!OnMainThread())
    {
        ZR_ERROR("Attempting to delete instance on non-main thread");
        return;
    }
    cNetworkConnection* instance = nullptr;
    {
        std::lock_guard<std::mutex> lock(gInstanceMutex);
        std::swap(instance, gInstance);
    }
    delete instance;
}

cNetworkConnection::cNetworkConnection()
{
    qRegisterMetaType<UWORD>("UWORD");
}

// Stops the heartbeat threads before anything they use goes, then ends every
// connection so that the registry hears of each.
cNetworkConnection::~cNetworkConnection()
{
    StopLostComms();
    for (UWORD connectionId : ConnectionIds())
        CloseConnection(connectionId);
}

void cNetworkConnection::InitialiseLostComms()
{
    if (!OnMainThread())
    {
        ZR_ERROR("Must be called on main thread");
        return;
    }
    std::lock_guard<std::mutex> lock(mLostCommsMutex);
    if (mSender || mReceiver)
    {
        ZR_ERROR("Lost communications already initialised");
        return;
    }
    mSender = std::make_unique<cLostCommsSender>(this);
    mReceiver = std::make_unique<cLostCommsReceiver>(this);
    mSender->StartPeriods();
    mReceiver->StartPeriods();
}

void cNetworkConnection::UninitialiseLostComms()
{
    if (!OnMainThread())
    {
        ZR_ERROR("Must be called on main thread");
        return;
    }
    StopLostComms();
}

void cNetworkConnection::StopLostComms()
{
    std::lock_guard<std::mutex> lock(mLostCommsMutex);
    if (!mSender != !mReceiver)
        ZR_ERROR("Inconsistent state: %s,  %s", mReceiver ? "receiver" : "no receiver",
                 mSender ? "sender" : "no sender");
    mReceiver.reset();
    mSender.reset();
}

bool cNetworkConnection::LostCommsRunning() const
{
    std::lock_guard<std::mutex> lock(mLostCommsMutex);
    return mSender && mReceiver && mSender->isRunning() && mReceiver->isRunning();
}

void cNetworkConnection::WatchConnection(UWORD connectionId)
{
    if (connectionId == kZRNetLocalConnection || connectionId == kZRNetNoConnection)
    {
        ZR_ERROR("Not a remote connection: %u", connectionId);
        return;
    }
    std::lock_guard<std::mutex> lock(mTableMutex);
    mConnections[connectionId] = sConnectionAge();
}

void cNetworkConnection::HeartbeatReceived(UWORD connectionId)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    const auto it = mConnections.find(connectionId);
    if (it != mConnections.end())
        it->second.mSilentSeconds = 0;
}

void cNetworkConnection::CloseConnection(UWORD connectionId)
{
    SyscallMessagesPollLock();
    bool closed = false;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        closed = mConnections.erase(connectionId) > 0;
    }
    if (closed)
        SyscallConnectionTerminated(connectionId);
    SyscallMessagesPollUnLock();
    if (closed)
        emit Disconnected(connectionId);
}

QVector<UWORD> cNetworkConnection::ConnectionIds() const
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    QVector<UWORD> ids;
    for (const auto& entry : mConnections)
        ids.append(entry.first);
    return ids;
}

void cNetworkConnection::SendHeartbeats()
{
    for (UWORD connectionId : ConnectionIds())
        emit HeartbeatDue(connectionId);
}

// Each warning is given once, on the second the age reaches its mark.
void cNetworkConnection::AgeConnections()
{
    QVector<UWORD> low;
    QVector<UWORD> lost;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        for (auto& entry : mConnections)
        {
            const int age = ++entry.second.mSilentSeconds;
            if (age == kLostAfterSeconds - kLowTimeToLiveSeconds)
                low.append(entry.first);
            else if (age == kLostAfterSeconds)
                lost.append(entry.first);
        }
    }
    for (UWORD connectionId : low)
        emit TimeToLiveLow(connectionId);
    for (UWORD connectionId : lost)
        emit LostCommunications(connectionId);
}

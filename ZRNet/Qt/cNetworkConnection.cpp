#include "cNetworkConnection.h"

#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "cConnectionTransport.h"
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
    : mUnitTcpPort(kZRNetTcpPort),
      mPauseReadingAt{cConnectionTransport::kPauseReadingAtQueued, cConnectionTransport::kPauseReadingAtBytes},
      mResumeReadingBelow{cConnectionTransport::kResumeReadingBelowQueued,
                          cConnectionTransport::kResumeReadingBelowBytes}
{
    qRegisterMetaType<UWORD>("UWORD");
    SyscallSetNetworkHook(this);
}

// Leaves the registry and stops the heartbeat threads before anything they use
// goes, then ends every connection so that the registry hears of each.
cNetworkConnection::~cNetworkConnection()
{
    if (SyscallNetworkHook() == this)
        SyscallSetNetworkHook(nullptr);
    StopLostComms();
    for (UWORD connectionId : ConnectionIds())
        CloseConnection(connectionId);
    ReapTransports(true);
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

UWORD cNetworkConnection::NextConnectionIdLocked()
{
    // Ids go round so that a closed connection's id is reused as late as possible.
    for (UWORD tried = 1; tried < kZRNetNoConnection; ++tried)
    {
        mLastConnectionId = mLastConnectionId + 1 >= kZRNetNoConnection ? 1 : mLastConnectionId + 1;
        if (!mConnections.count(mLastConnectionId))
            return mLastConnectionId;
    }
    return kZRNetNoConnection;
}

UWORD cNetworkConnection::ConnectToUnit(const std::string& host)
{
    ReapTransports(false);
    const QHostAddress address(QString::fromStdString(host));
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
    {
        ZR_ERROR("Not a unit address: %s", host.c_str());
        return kZRNetNoConnection;
    }
    std::shared_ptr<cConnectionTransport> transport;
    UWORD connectionId = kZRNetNoConnection;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        for (const auto& entry : mConnections)
        {
            if (entry.second.mHost == host && entry.second.mPort == mUnitTcpPort && entry.second.mTransport &&
                entry.second.mMade)
                return entry.first;
        }
        connectionId = NextConnectionIdLocked();
        if (connectionId == kZRNetNoConnection)
        {
            ZR_ERROR("Connection table full: %s", host.c_str());
            return kZRNetNoConnection;
        }
        transport = KeepTransport(std::make_shared<cConnectionTransport>(this, connectionId, address, mUnitTcpPort));
        transport->SetReadingMarks(mPauseReadingAt, mResumeReadingBelow);
        sConnection& connection = mConnections[connectionId];
        connection.mHost = host;
        connection.mPort = mUnitTcpPort;
        connection.mTransport = transport;
    }
    const bool made = transport->StartAndWaitUntilConnected();
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        const auto it = mConnections.find(connectionId);
        if (made && it != mConnections.end())
        {
            it->second.mMade = true;
            return connectionId;
        }
        if (it != mConnections.end() && it->second.mTransport == transport)
            mConnections.erase(it);
    }
    transport->Close();
    return kZRNetNoConnection;
}

UWORD cNetworkConnection::AdoptConnection(qintptr socketDescriptor)
{
    ReapTransports(false);
    std::shared_ptr<cConnectionTransport> transport;
    UWORD connectionId = kZRNetNoConnection;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        connectionId = NextConnectionIdLocked();
        if (connectionId == kZRNetNoConnection)
        {
            ZR_ERROR("Connection table full");
            return kZRNetNoConnection;
        }
        transport = KeepTransport(std::make_shared<cConnectionTransport>(this, connectionId, socketDescriptor));
        transport->SetReadingMarks(mPauseReadingAt, mResumeReadingBelow);
        mConnections[connectionId].mTransport = transport;
        mConnections[connectionId].mMade = true;
    }
    if (transport->StartAndWaitUntilConnected())
        return connectionId;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        mConnections.erase(connectionId);
    }
    transport->Close();
    return kZRNetNoConnection;
}

bool cNetworkConnection::SendToUnit(const cZRNetMessage& message)
{
    std::shared_ptr<cConnectionTransport> transport;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        const auto it = mConnections.find(message.ConnectionId());
        if (it != mConnections.end())
            transport = it->second.mTransport;
    }
    if (!transport)
    {
        ZR_ERROR("No connection %u for message %u to %u", message.ConnectionId(), message.Method(),
                 message.Destination());
        return false;
    }
    return transport->QueueMessage(message);
}

bool cNetworkConnection::IsConnected(UWORD connectionId) const
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    const auto it = mConnections.find(connectionId);
    return it != mConnections.end() && it->second.mTransport && it->second.mMade;
}

void cNetworkConnection::SetUnitTcpPort(UWORD port)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    mUnitTcpPort = port;
}

void cNetworkConnection::SetLostAfterSeconds(int seconds)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    mLostAfterSeconds = seconds;
}

void cNetworkConnection::SetReadingMarks(const sQueueLoad& pauseAt, const sQueueLoad& resumeBelow)
{
    std::lock_guard<std::mutex> lock(mTableMutex);
    mPauseReadingAt = pauseAt;
    mResumeReadingBelow = resumeBelow;
}

void cNetworkConnection::TransportEnded(UWORD connectionId)
{
    CloseConnection(connectionId);
}

std::shared_ptr<cConnectionTransport> cNetworkConnection::KeepTransport(
    std::shared_ptr<cConnectionTransport> transport)
{
    std::lock_guard<std::mutex> lock(mTransportsMutex);
    mTransports.push_back(transport);
    return transport;
}

void cNetworkConnection::ReapTransports(bool waitForAll)
{
    std::vector<std::shared_ptr<cConnectionTransport>> finished;
    {
        std::lock_guard<std::mutex> lock(mTransportsMutex);
        for (auto it = mTransports.begin(); it != mTransports.end();)
        {
            if (waitForAll || (*it)->isFinished())
            {
                finished.push_back(std::move(*it));
                it = mTransports.erase(it);
            }
            else
            {
                ++it;
            }
        }
    }
    for (const auto& transport : finished)
        transport->wait();
}

void cNetworkConnection::WatchConnection(UWORD connectionId)
{
    if (connectionId == kZRNetLocalConnection || connectionId == kZRNetNoConnection)
    {
        ZR_ERROR("Not a remote connection: %u", connectionId);
        return;
    }
    std::lock_guard<std::mutex> lock(mTableMutex);
    mConnections[connectionId] = sConnection();
}

void cNetworkConnection::HeartbeatReceived(UWORD connectionId)
{
    bool restored = false;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        const auto it = mConnections.find(connectionId);
        if (it == mConnections.end())
            return;
        restored = HeardLocked(it->second);
    }
    if (restored)
        emit TimeToLiveRestored(connectionId);
}

bool cNetworkConnection::HeardLocked(sConnection& connection) const
{
    const int age = connection.mSilentSeconds;
    connection.mSilentSeconds = 0;
    return age >= mLostAfterSeconds - kLowTimeToLiveSeconds && age < mLostAfterSeconds;
}

// The transport is closed outside both locks: its thread may itself be waiting for the poll lock.
void cNetworkConnection::CloseConnection(UWORD connectionId)
{
    SyscallMessagesPollLock();
    bool closed = false;
    std::shared_ptr<cConnectionTransport> transport;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        const auto it = mConnections.find(connectionId);
        if (it != mConnections.end())
        {
            transport = std::move(it->second.mTransport);
            mConnections.erase(it);
            closed = true;
        }
    }
    if (closed)
        SyscallConnectionTerminated(connectionId);
    SyscallMessagesPollUnLock();
    if (transport)
        transport->Close();
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
    std::vector<std::pair<UWORD, std::shared_ptr<cConnectionTransport>>> connections;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        for (const auto& entry : mConnections)
            connections.emplace_back(entry.first, entry.second.mTransport);
    }
    for (const auto& connection : connections)
    {
        if (connection.second)
            connection.second->SendHeartbeat();
        emit HeartbeatDue(connection.first);
    }
}

// Each warning is given once, on the second the age reaches its mark; a lost
// connection with a transport is then closed, so that whoever waits on it hears.
// A connection whose transport holds the peer back has the peer's frames waiting,
// so it counts as heard from however long the registry queue takes to drain.
void cNetworkConnection::AgeConnections()
{
    ReapTransports(false);
    QVector<UWORD> low;
    QVector<UWORD> restored;
    QVector<UWORD> lost;
    QVector<UWORD> toClose;
    {
        std::lock_guard<std::mutex> lock(mTableMutex);
        for (auto& entry : mConnections)
        {
            if (entry.second.mTransport && entry.second.mTransport->HoldsPeerBack())
            {
                if (HeardLocked(entry.second))
                    restored.append(entry.first);
                continue;
            }
            const int age = ++entry.second.mSilentSeconds;
            if (age == mLostAfterSeconds - kLowTimeToLiveSeconds)
                low.append(entry.first);
            else if (age == mLostAfterSeconds)
            {
                lost.append(entry.first);
                if (entry.second.mTransport)
                    toClose.append(entry.first);
            }
        }
    }
    for (UWORD connectionId : low)
        emit TimeToLiveLow(connectionId);
    for (UWORD connectionId : restored)
        emit TimeToLiveRestored(connectionId);
    for (UWORD connectionId : lost)
    {
        ZR_ERROR("Lost communications on connection %u", connectionId);
        emit LostCommunications(connectionId);
    }
    for (UWORD connectionId : toClose)
        CloseConnection(connectionId);
}

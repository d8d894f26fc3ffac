#include "cConnectionTransport.h"

#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cFrameCodec.h"
#include "cNetworkConnection.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <chrono>
#include <unistd.h>

cConnectionTransport::cConnectionTransport(cNetworkConnection* owner, UWORD connectionId,
                                           const QHostAddress& address, UWORD port)
    : mOwner(owner), mConnectionId(connectionId), mAddress(address), mPort(port), mSocketDescriptor(-1),
      mIncoming(false)
{
    setObjectName(QStringLiteral("ZRNetConnection%1").arg(connectionId));
}

cConnectionTransport::cConnectionTransport(cNetworkConnection* owner, UWORD connectionId, qintptr socketDescriptor)
    : mOwner(owner), mConnectionId(connectionId), mPort(0), mSocketDescriptor(socketDescriptor), mIncoming(true)
{
    setObjectName(QStringLiteral("ZRNetConnection%1").arg(connectionId));
}

cConnectionTransport::~cConnectionTransport()
{
    Close();
    wait();
}

bool cConnectionTransport::StartAndWaitUntilConnected()
{
    start(QThread::LowPriority);
    std::unique_lock<std::mutex> lock(mStateMutex);
    // The thread's own connect and handshake are bounded; the margin only covers its start.
    const auto limit = std::chrono::milliseconds(kZRNetConnectTimeoutMs + kZRNetHandshakeTimeoutMs + 2000);
    const bool decided = mStateCondition.wait_for(lock, limit, [this] { return mState != eStarting; });
    return decided && mState == eConnected;
}

void cConnectionTransport::SetReadingMarks(const sQueueLoad& pauseAt, const sQueueLoad& resumeBelow)
{
    mPauseAt = pauseAt;
    mResumeBelow = resumeBelow;
}

void cConnectionTransport::SetState(eState state)
{
    {
        std::lock_guard<std::mutex> lock(mStateMutex);
        mState = state;
    }
    mStateCondition.notify_all();
}

bool cConnectionTransport::QueueMessage(const cZRNetMessage& message)
{
    // The receiver would call a longer frame malformed and drop the connection.
    if (message.Length() > kZRNetMaxPayloadLength)
    {
        ZR_ERROR("Message %u to %u not sent on connection %u: payload of %zu bytes is over the limit",
                 message.Method(), message.Destination(), mConnectionId, message.Length());
        return false;
    }
    const size_t size = cFrameCodec::FramedSize(message);
    std::lock_guard<std::mutex> lock(mSendMutex);
    if (mClosing)
        return false;
    const int at = mPendingStream.size();
    mPendingStream.resize(at + static_cast<int>(size));
    cFrameCodec::Frame(message, reinterpret_cast<UBYTE*>(mPendingStream.data()) + at);
    ScheduleFlushLocked();
    return true;
}

void cConnectionTransport::SendHeartbeat()
{
    if (mPeerUdpPort == 0)
        return;
    const cZRNetMessage heartbeat = cFrameCodec::UtilityMessage(eMethodHeartbeat);
    QByteArray datagram(static_cast<int>(cFrameCodec::FramedSize(heartbeat)), Qt::Uninitialized);
    cFrameCodec::Frame(heartbeat, reinterpret_cast<UBYTE*>(datagram.data()));
    std::lock_guard<std::mutex> lock(mSendMutex);
    mPendingDatagrams.append(datagram);
    ScheduleFlushLocked();
}

void cConnectionTransport::Close()
{
    if (QThread::currentThread() == this)
    {
        End();
        return;
    }
    {
        const cZRNetMessage bye = cFrameCodec::UtilityMessage(eMethodBye);
        const size_t size = cFrameCodec::FramedSize(bye);
        std::lock_guard<std::mutex> lock(mSendMutex);
        if (mClosing)
            return;
        if (!mEnded)
        {
            const int at = mPendingStream.size();
            mPendingStream.resize(at + static_cast<int>(size));
            cFrameCodec::Frame(bye, reinterpret_cast<UBYTE*>(mPendingStream.data()) + at);
        }
        mClosing = true;
        ScheduleFlushLocked();
    }
    // A peer that does not take the BYE in time is cut off. The wait stays
    // bounded: the thread may itself be waiting for a lock the caller holds.
    if (!wait(1000))
        quit();
}

void cConnectionTransport::ScheduleFlushLocked()
{
    if (mFlushScheduled || !mSocket)
        return;
    mFlushScheduled = true;
    QMetaObject::invokeMethod(mSocket, [this] { Flush(); }, Qt::QueuedConnection);
}

void cConnectionTransport::Flush()
{
    QByteArray stream;
    QVector<QByteArray> datagrams;
    bool closing = false;
    {
        std::lock_guard<std::mutex> lock(mSendMutex);
        stream.swap(mPendingStream);
        datagrams.swap(mPendingDatagrams);
        mFlushScheduled = false;
        closing = mClosing;
    }
    if (mEnded)
    {
        if (closing)
            quit();
        return;
    }
    if (!stream.isEmpty())
        mSocket->write(stream);
    const UWORD peerUdpPort = mPeerUdpPort;
    for (const QByteArray& datagram : datagrams)
        mUdp->writeDatagram(datagram, mPeerAddress, peerUdpPort);
    if (closing)
    {
        mEnded = true;
        mSocket->disconnectFromHost();
        if (mSocket->state() == QAbstractSocket::UnconnectedState)
            quit();
    }
}

bool cConnectionTransport::Connect(QTcpSocket& socket)
{
    if (mIncoming)
    {
        if (socket.setSocketDescriptor(mSocketDescriptor))
            return true;
        ZR_ERROR("Cannot take over connection %u: %s", mConnectionId, qPrintable(socket.errorString()));
        ::close(static_cast<int>(mSocketDescriptor));
        return false;
    }
    socket.connectToHost(mAddress, mPort);
    if (socket.waitForConnected(kZRNetConnectTimeoutMs))
        return true;
    ZR_ERROR("Cannot connect to unit %s port %u: %s", qPrintable(mAddress.toString()), mPort,
             qPrintable(socket.errorString()));
    return false;
}

void cConnectionTransport::run()
{
    // Made first so that it outlives the sockets, whose ends may still call on it.
    QTimer resumeTimer;
    QTcpSocket socket;
    QUdpSocket udp;
    if (!Connect(socket))
    {
        SetState(eFailed);
        return;
    }
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.setReadBufferSize(kReadBufferBytes);
    resumeTimer.setSingleShot(true);
    resumeTimer.setInterval(kResumeCheckMs);
    connect(&resumeTimer, &QTimer::timeout, &socket, [this] { ResumeReadingWhenDrained(); });
    mResumeTimer = &resumeTimer;
    mPeerAddress = socket.peerAddress();
    if (!udp.bind(socket.localAddress(), 0))
        ZR_ERROR("No UDP socket for connection %u: %s", mConnectionId, qPrintable(udp.errorString()));
    connect(&socket, &QTcpSocket::readyRead, &socket, [this] { ReadStream(); });
    connect(&socket, &QTcpSocket::disconnected, &socket, [this] {
        if (mEnded)
        {
            quit();
            return;
        }
        // What the peer sent before closing is still delivered, also once reading resumes.
        mPeerClosed = true;
        ReadStream();
    });
    connect(&udp, &QUdpSocket::readyRead, &udp, [this] { ReadDatagrams(); });
    QTimer::singleShot(kZRNetHandshakeTimeoutMs, &socket, [this] {
        if (mGreeted || mEnded)
            return;
        ZR_ERROR("Handshake not completed on connection %u within %d ms: connection dropped", mConnectionId,
                 kZRNetHandshakeTimeoutMs);
        End();
    });
    {
        std::lock_guard<std::mutex> lock(mSendMutex);
        mSocket = &socket;
        mUdp = &udp;
        if (!mPendingStream.isEmpty() || mClosing)
            ScheduleFlushLocked();
    }
    // An outgoing connection counts as made once the unit has answered the greeting.
    if (mIncoming)
        SetState(eConnected);
    else
        SendHello(eMethodHello);
    exec();
    TellHeldBackDrops(mDropTraces.TakeHeldBack());
    std::lock_guard<std::mutex> lock(mSendMutex);
    mSocket = nullptr;
    mUdp = nullptr;
}

// Frames are taken off the connection only while the registry queue has room:
// the rest stays in mReceived and in the socket, and TCP holds the peer back.
void cConnectionTransport::ReadStream()
{
    if (mReadingPaused || mEnded)
        return;
    mReceived.append(mSocket->readAll());
    const UBYTE* data = reinterpret_cast<const UBYTE*>(mReceived.constData());
    const size_t size = static_cast<size_t>(mReceived.size());
    size_t offset = 0;
    bool received = false;
    while (!mEnded)
    {
        cZRNetMessage message;
        size_t consumed = 0;
        std::string error;
        const cFrameCodec::eParseResult result = cFrameCodec::Parse(data + offset, size - offset, message, consumed, error);
        if (result == cFrameCodec::eFrameIncomplete)
            break;
        if (result == cFrameCodec::eFrameMalformed)
        {
            ZR_ERROR("Malformed frame on connection %u (%s): connection dropped", mConnectionId, error.c_str());
            mReceived.clear();
            End();
            return;
        }
        // Paused only with a whole frame of the peer's waiting, so that a held-back peer is one that spoke.
        const sQueueLoad load = mGreeted ? SyscallQueueLoad() : sQueueLoad();
        if (load.Reaches(mPauseAt.mMessages, mPauseAt.mPayloadBytes))
        {
            mReadingPaused = true;
            ZR_NOTIFY("Reading paused on connection %u: %zu messages of %zu bytes queued", mConnectionId,
                      load.mMessages, load.mPayloadBytes);
            mResumeTimer->start();
            break;
        }
        offset += consumed;
        received = true;
        Handle(message);
    }
    if (mEnded)
    {
        mReceived.clear();
        return;
    }
    mReceived.remove(0, static_cast<int>(offset));
    if (received)
        mOwner->HeartbeatReceived(mConnectionId);
    if (!mPeerClosed || mReadingPaused)
        return;
    if (!mReceived.isEmpty())
        ZR_ERROR("Truncated frame on connection %u: %d bytes dropped", mConnectionId, mReceived.size());
    else
        ZR_NOTIFY("Connection %u closed by the peer", mConnectionId);
    End();
}

void cConnectionTransport::ResumeReadingWhenDrained()
{
    if (mEnded)
        return;
    const sQueueLoad load = SyscallQueueLoad();
    if (load.Reaches(mResumeBelow.mMessages, mResumeBelow.mPayloadBytes))
    {
        mResumeTimer->start();
        return;
    }
    mReadingPaused = false;
    ZR_NOTIFY("Reading resumed on connection %u: %zu messages of %zu bytes queued", mConnectionId, load.mMessages,
              load.mPayloadBytes);
    ReadStream();
}

// The datagram channel carries heartbeats from the port the peer's greeting
// announced, and nothing else.
void cConnectionTransport::ReadDatagrams()
{
    while (mUdp->hasPendingDatagrams())
    {
        const QNetworkDatagram datagram = mUdp->receiveDatagram();
        const UWORD peerUdpPort = mPeerUdpPort;
        if (!mGreeted || datagram.senderPort() != peerUdpPort ||
            !datagram.senderAddress().isEqual(mPeerAddress, QHostAddress::ConvertV4MappedToIPv4))
        {
            if (MayTraceDrop())
                ZR_ERROR("Datagram from %s port %d dropped on connection %u: not the peer's announced port",
                         qPrintable(datagram.senderAddress().toString()), datagram.senderPort(), mConnectionId);
            continue;
        }
        const QByteArray bytes = datagram.data();
        cZRNetMessage message;
        size_t consumed = 0;
        std::string error;
        const cFrameCodec::eParseResult result = cFrameCodec::Parse(
            reinterpret_cast<const UBYTE*>(bytes.constData()), static_cast<size_t>(bytes.size()), message, consumed,
            error);
        if (result != cFrameCodec::eFrameComplete || consumed != static_cast<size_t>(bytes.size()))
        {
            if (MayTraceDrop())
                ZR_ERROR("Malformed datagram on connection %u ignored", mConnectionId);
            continue;
        }
        if (message.Method() != eMethodHeartbeat)
        {
            if (MayTraceDrop())
                ZR_ERROR("Datagram with method %u dropped on connection %u: only heartbeats travel by datagram",
                         message.Method(), mConnectionId);
            continue;
        }
        mOwner->HeartbeatReceived(mConnectionId);
    }
}

void cConnectionTransport::Handle(cZRNetMessage& message)
{
    if (!mGreeted)
    {
        HandleGreeting(message);
        return;
    }
    if (IsUtilityMethod(message.Method()))
    {
        HandleUtility(message);
        return;
    }
    // The protocol's other methods serve the editor's own objects: a peer's inform or delete requests, ticks or
    // connection news would make them grow lists, tell other connections or end transfers.
    const UWORD method = message.Method();
    if (method < kZRNetFirstObjectMethod && method != eMethodFindObject && method != eMethodFoundObject)
    {
        if (MayTraceDrop())
            ZR_ERROR("Method %u from connection %u dropped: only the editor's own objects send it", method,
                     mConnectionId);
        return;
    }
    message.SetConnectionId(mConnectionId);
    SyscallPostMessage(message);
}

// The first frame must be the greeting: HELLO to the side that was connected
// to, HELLO ACK to the side that connected, each with this protocol version.
void cConnectionTransport::HandleGreeting(const cZRNetMessage& message)
{
    const UWORD expected = mIncoming ? eMethodHello : eMethodHelloAck;
    const UWORD version = message.Length() >= 4 ? message.GetUWord(0) : 0;
    if (message.Method() != expected || version != kZRNetProtocolVersion)
    {
        ZR_ERROR("Handshake refused on connection %u: method %u, protocol version %u", mConnectionId,
                 message.Method(), version);
        End();
        return;
    }
    mPeerUdpPort = message.GetUWord(2);
    mGreeted = true;
    if (mIncoming)
        SendHello(eMethodHelloAck);
    else
        SetState(eConnected);
}

void cConnectionTransport::HandleUtility(const cZRNetMessage& message)
{
    switch (message.Method())
    {
    case eMethodHello:
    case eMethodHelloAck:
        ZR_ERROR("Handshake repeated on connection %u: connection dropped", mConnectionId);
        End();
        break;
    case eMethodBye:
        ZR_NOTIFY("Connection %u closed by the peer", mConnectionId);
        End();
        break;
    default:
        break;
    }
}

void cConnectionTransport::SendHello(UWORD method)
{
    cZRNetMessage hello = cFrameCodec::UtilityMessage(method);
    hello.AppendUWord(kZRNetProtocolVersion);
    hello.AppendUWord(mUdp->localPort());
    QueueMessage(hello);
}

bool cConnectionTransport::MayTraceDrop()
{
    const cTraceRateLimit::sTurn turn = mDropTraces.Next();
    TellHeldBackDrops(turn.mHeldBack);
    return turn.mTrace;
}

void cConnectionTransport::TellHeldBackDrops(size_t count)
{
    if (count > 0)
        ZR_ERROR("%zu more frames dropped on connection %u within a second, not traced one by one", count,
                 mConnectionId);
}

// On the transport thread: cuts the connection off and has the owner forget it.
// A connection that was never made is only reported failed: whoever waits for
// it forgets it, and may hold the poll lock that forgetting would need.
void cConnectionTransport::End()
{
    if (mEnded.exchange(true))
        return;
    if (mSocket)
        mSocket->abort();
    quit();
    bool made = false;
    {
        std::lock_guard<std::mutex> lock(mStateMutex);
        made = mState == eConnected;
        if (!made)
            mState = eFailed;
    }
    mStateCondition.notify_all();
    if (made)
        mOwner->TransportEnded(mConnectionId);
}

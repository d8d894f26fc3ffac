#pragma once

#include "ZRNet/Core/ZRNetTypes.h"
#include "ZRNet/Core/cTraceRateLimit.h"
#include "ZRNet/Core/cZRNetMessage.h"
#include "ZRNet/Core/sQueueLoad.h"

#include <QByteArray>
#include <QHostAddress>
#include <QThread>
#include <QVector>

#include <atomic>
#include <condition_variable>
#include <mutex>

class cNetworkConnection;
class QTcpSocket;
class QTimer;
class QUdpSocket;

// One connection's transport thread (low priority) with its TCP and UDP
// sockets. Other threads frame their messages straight into its send buffer;
// the thread writes them, reads the peer's frames, answers the handshake and
// posts every other message, stamped with the local connection id, to the
// registry queue. Any fault on the stream ends the connection, and so does a
// peer that sends anything before the greeting or does not greet in time.
// While the registry queue is full the thread stops reading, so that a peer
// sending faster than the editor delivers is held back by TCP, not queued.
class cConnectionTransport : public QThread
{
public:
    // A live window with hundreds of meters queues a few thousand messages
    // behind a poll thread stalled for a moment (ticks already stop at 5000);
    // this is far above that, yet bounds what a peer can make the editor hold.
    static constexpr size_t kPauseReadingAtQueued = 20000;
    // Half the mark, so that a draining queue is not paused and resumed frame by frame.
    static constexpr size_t kResumeReadingBelowQueued = 10000;
    // Fewer frames of the largest size fill memory sooner: their bytes are bounded too. A download's 500
    // chunks fit, far more than a delivering poll thread ever leaves queued.
    static constexpr size_t kPauseReadingAtBytes = 16 * 1024 * 1024;
    static constexpr size_t kResumeReadingBelowBytes = 8 * 1024 * 1024;
    // Qt reads no more from the kernel while this much is unread.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;
    static constexpr int kResumeCheckMs = 10;

    // Outgoing: connects to the unit, greets it with HELLO and waits for HELLO ACK.
    cConnectionTransport(cNetworkConnection* owner, UWORD connectionId, const QHostAddress& address, UWORD port);
    // Incoming: takes over an accepted socket and answers the peer's HELLO.
    cConnectionTransport(cNetworkConnection* owner, UWORD connectionId, qintptr socketDescriptor);
    ~cConnectionTransport() override;

    // Starts the thread and waits until the connection is made (true) or has
    // failed (false): outgoing once the unit has answered the greeting, incoming
    // once the socket is taken over. Either is bounded by the connect and
    // handshake times.
    bool StartAndWaitUntilConnected();
    // The registry queue's loads at which reading pauses and below which it resumes, in place of the marks
    // above; before the thread starts.
    void SetReadingMarks(const sQueueLoad& pauseAt, const sQueueLoad& resumeBelow);
    UWORD ConnectionId() const { return mConnectionId; }

    // False (traced) for a payload over the frame limit or a closing connection.
    bool QueueMessage(const cZRNetMessage& message);
    // Sent by UDP once the peer has told its UDP port.
    void SendHeartbeat();
    // True while the registry queue is too full to take the peer's waiting frames: the peer is heard from
    // even though nothing of it is read.
    bool HoldsPeerBack() const { return mReadingPaused; }
    // Says BYE and closes. From another thread it also waits a bounded time for
    // the thread to end; isFinished() tells whether it did.
    void Close();

private:
    enum eState
    {
        eStarting,
        eConnected,
        eFailed,
    };

    void run() override;
    bool Connect(QTcpSocket& socket);
    void SetState(eState state);
    void ScheduleFlushLocked();
    void Flush();
    void ReadStream();
    void ResumeReadingWhenDrained();
    void ReadDatagrams();
    void Handle(cZRNetMessage& message);
    void HandleGreeting(const cZRNetMessage& message);
    void HandleUtility(const cZRNetMessage& message);
    void SendHello(UWORD method);
    // Whether a dropped frame or datagram is traced; what the limit held back is told first.
    bool MayTraceDrop();
    void TellHeldBackDrops(size_t count);
    void End();

    cNetworkConnection* const mOwner;
    const UWORD mConnectionId;
    const QHostAddress mAddress;
    const UWORD mPort;
    const qintptr mSocketDescriptor;
    const bool mIncoming;
    sQueueLoad mPauseAt{kPauseReadingAtQueued, kPauseReadingAtBytes};
    sQueueLoad mResumeBelow{kResumeReadingBelowQueued, kResumeReadingBelowBytes};

    std::mutex mStateMutex;
    std::condition_variable mStateCondition;
    eState mState = eStarting;

    std::mutex mSendMutex;
    QTcpSocket* mSocket = nullptr;
    QUdpSocket* mUdp = nullptr;
    QByteArray mPendingStream;
    QVector<QByteArray> mPendingDatagrams;
    bool mFlushScheduled = false;
    bool mClosing = false;

    QHostAddress mPeerAddress;
    // Set once the greeting has been answered; only the transport thread reads it.
    bool mGreeted = false;
    std::atomic<UWORD> mPeerUdpPort{0};
    QByteArray mReceived;
    // Only the transport thread uses these three; mReadingPaused it alone sets.
    QTimer* mResumeTimer = nullptr;
    bool mPeerClosed = false;
    cTraceRateLimit mDropTraces;
    std::atomic<bool> mReadingPaused{false};
    std::atomic<bool> mEnded{false};
};

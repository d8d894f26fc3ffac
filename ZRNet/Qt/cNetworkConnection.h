#pragma once

#include "ZRNet/Core/ZRNetTypes.h"
#include "ZRNet/Core/cNetworkHook.h"
#include "ZRNet/Core/sQueueLoad.h"

#include <QObject>
#include <QVector>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class cConnectionTransport;
class cLostCommsReceiver;
class cLostCommsSender;

// The network side of the messaging core, a singleton created and deleted only
// on the main thread. It keeps the table of connections, each with its
// transport thread and its silence age: the heartbeat sender has a heartbeat
// sent on each once a second, the receiver ages each once a second and
// declares it lost (and closes it) after 30 seconds of silence. It hooks
// itself into the registry, which opens connections to units through it.
class cNetworkConnection : public QObject, public cNetworkHook
{
    Q_OBJECT

public:
    static constexpr int kLostAfterSeconds = 30;
    static constexpr int kLowTimeToLiveSeconds = 10;

    static void AllowInstanceOf(bool allow);
    static cNetworkConnection* Instance();
    static void DeleteInstance();

    void InitialiseLostComms();
    void UninitialiseLostComms();
    bool LostCommsRunning() const;

    // Opens (or finds) the connection to the unit at host, an IPv4 address text,
    // greets it with HELLO and waits for its HELLO ACK; 65535 (traced) when it
    // cannot be made or the greeting is refused or not answered in time.
    UWORD ConnectToUnit(const std::string& host) override;
    // Frames the message on the calling thread for its connection's transport;
    // false (traced) without a made connection or for a payload over the frame limit.
    bool SendToUnit(const cZRNetMessage& message) override;
    bool IsConnected(UWORD connectionId) const override;
    // Takes over a connection accepted by a listening socket: the peer greets, this side answers.
    UWORD AdoptConnection(qintptr socketDescriptor);
    // The unit's TCP port; the fixed port unless a test chose another.
    void SetUnitTcpPort(UWORD port);
    // The silence limit; 30 seconds unless a test chose a shorter one.
    void SetLostAfterSeconds(int seconds);
    // The registry queue's loads at which a connection made after this stops reading its peer, and below
    // which it reads on; the transport's own marks unless a test chose lower ones.
    void SetReadingMarks(const sQueueLoad& pauseAt, const sQueueLoad& resumeBelow);

    void WatchConnection(UWORD connectionId);
    void HeartbeatReceived(UWORD connectionId);
    // Takes the registry lock before the table's mutex, then reports the end to the registry.
    void CloseConnection(UWORD connectionId);
    QVector<UWORD> ConnectionIds() const;

    void SendHeartbeats();
    void AgeConnections();
    // From a transport thread whose connection has ended.
    void TransportEnded(UWORD connectionId);

signals:
    void HeartbeatDue(UWORD connectionId);
    void TimeToLiveLow(UWORD connectionId);
    // A connection that had been warned about answered again in time.
    void TimeToLiveRestored(UWORD connectionId);
    void LostCommunications(UWORD connectionId);
    void Disconnected(UWORD connectionId);

private:
    struct sConnection
    {
        int mSilentSeconds = 0;
        // False while an outgoing connection waits for the unit's greeting.
        bool mMade = false;
        std::string mHost;
        UWORD mPort = 0;
        std::shared_ptr<cConnectionTransport> mTransport;
    };

    cNetworkConnection();
    ~cNetworkConnection() override;
    void StopLostComms();
    UWORD NextConnectionIdLocked();
    // Resets the connection's silence; true when it had been warned about and is now restored.
    bool HeardLocked(sConnection& connection) const;
    std::shared_ptr<cConnectionTransport> KeepTransport(std::shared_ptr<cConnectionTransport> transport);
    // Drops the transports whose threads have ended; at the end all, waiting for them.
    void ReapTransports(bool waitForAll);

    mutable std::mutex mLostCommsMutex;
    std::unique_ptr<cLostCommsSender> mSender;
    std::unique_ptr<cLostCommsReceiver> mReceiver;

    mutable std::mutex mTableMutex;
    std::map<UWORD, sConnection> mConnections;
    UWORD mLastConnectionId = kZRNetLocalConnection;
    UWORD mUnitTcpPort;
    int mLostAfterSeconds = kLostAfterSeconds;
    sQueueLoad mPauseReadingAt;
    sQueueLoad mResumeReadingBelow;

    // Every transport until its thread has ended, so that none outlives this object;
    // a closed one may still be on its way out of CloseConnection.
    std::mutex mTransportsMutex;
    std::vector<std::shared_ptr<cConnectionTransport>> mTransports;
};

#pragma once

#include "ZRNet/Core/ZRNetTypes.h"

#include <QObject>
#include <QVector>

#include <map>
#include <memory>
#include <mutex>

class cLostCommsReceiver;
class cLostCommsSender;

// The network side of the messaging core, a singleton created and deleted only
// on the main thread. It keeps the table of connections with their silence
// ages: the heartbeat sender asks for a heartbeat on each once a second, the
// receiver ages each once a second and declares it lost after 30 seconds of
// silence. The transports that open connections and carry their heartbeats
// plug in through WatchConnection, HeartbeatReceived, CloseConnection and HeartbeatDue.
class cNetworkConnection : public QObject
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

    void WatchConnection(UWORD connectionId);
    void HeartbeatReceived(UWORD connectionId);
    // Takes the registry lock before the table's mutex, then reports the end to the registry.
    void CloseConnection(UWORD connectionId);
    QVector<UWORD> ConnectionIds() const;

    void SendHeartbeats();
    void AgeConnections();

signals:
    void HeartbeatDue(UWORD connectionId);
    void TimeToLiveLow(UWORD connectionId);
    void LostCommunications(UWORD connectionId);
    void Disconnected(UWORD connectionId);

private:
    struct sConnectionAge
    {
        int mSilentSeconds = 0;
    };

    cNetworkConnection();
    ~cNetworkConnection() override;
    void StopLostComms();

    mutable std::mutex mLostCommsMutex;
    std::unique_ptr<cLostCommsSender> mSender;
    std::unique_ptr<cLostCommsReceiver> mReceiver;

    mutable std::mutex mTableMutex;
    std::map<UWORD, sConnectionAge> mConnections;
};

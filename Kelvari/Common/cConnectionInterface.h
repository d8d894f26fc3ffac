#pragma once

#include "Common/Qt/sUnit.h"
#include "Common/Qt/sUnitFinderSettings.h"
#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cQmlUnit.h"
#include "ZRNet/Core/ZRNetTypes.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class cNetworkConnection;
class cReachabilityProbe;
class cUnitFinder;

// The QML-facing connection to a unit. It looks for units from construction on
// and lists the units heard, at most 256 (the one heard least recently gives
// way to a new one). Connecting picks a unit (by list index, name or
// typed address), makes it the host and checks that it accepts a connection on
// the ZRNet port; the network connection's signals then end the connection.
// Every connect call ends in exactly one of connectionAttemptSuccessful or
// connectionAttemptFailed, always after the call has returned, unless a newer
// connect call or disconnect() abandons it first.
class cConnectionInterface : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString connectionFailureReason READ connectionFailureReason NOTIFY connectionFailureReasonChanged)
    // True while the connected unit has been silent long enough to be warned
    // about, until it answers again or the connection ends.
    Q_PROPERTY(bool unitSilent READ unitSilent NOTIFY unitSilentChanged)
    Q_PROPERTY(QQmlObjectListModelBase* unitList READ unitList CONSTANT)
    Q_PROPERTY(QString lastUnitName READ lastUnitName NOTIFY lastUnitChanged)
    Q_PROPERTY(int lastUnitIndex READ lastUnitIndex NOTIFY lastUnitChanged)

public:
    static constexpr int kReachabilityTimeoutMs = 3000;
    static constexpr const char* kLastUnitNameKey = "LUN";
    static constexpr const char* kLastUnitIndexKey = "LUI";

    cConnectionInterface(bool demoMode, QObject* parent);
    // For tests: other discovery ports and targets, and another port for the reachability check.
    cConnectionInterface(bool demoMode, QObject* parent, const sUnitFinderSettings& discovery, UWORD unitPort);
    ~cConnectionInterface() override;

    // Follows the new connection's signals instead of the old one's; null only lets go.
    void SetZRNetNetworkConnection(cNetworkConnection* connection);
    // Lets go of the unit as disconnect() does, then ends one of its network
    // connections (BYE), and with it all that the unit holds for that connection.
    // Whatever else runs on it (a test window on the same unit) loses it as well.
    void EndUnitConnection(UWORD connectionId);
    // The address of the unit last asked for, as the config manager's path begins.
    const QByteArray& HostText() const { return mHostText; }
    QQmlObjectListModel<cQmlUnit>* Units() const { return mUnits; }

    bool connected() const { return mConnected; }
    QString connectionFailureReason() const { return mFailureReason; }
    bool unitSilent() const { return mUnitSilent; }
    QQmlObjectListModelBase* unitList() const { return mUnits; }
    QString lastUnitName() const { return mLastUnitName; }
    int lastUnitIndex() const { return mLastUnitIndex; }

    Q_INVOKABLE void connectToUnit(int index);
    Q_INVOKABLE void connectToHostByIpAddress(const QString& address);
    Q_INVOKABLE void connectToUnitName(const QString& name);
    Q_INVOKABLE QString getUnitName(int index) const;
    Q_INVOKABLE QString getHostIPAddress() const;
    Q_INVOKABLE void disconnect();
    Q_INVOKABLE QString padTo2(int number) const;

signals:
    void connectedChanged();
    void connectionFailureReasonChanged();
    void unitSilentChanged();
    void connectionAttemptFailed();
    void connectionAttemptSuccessful();
    void lastUnitChanged();

private:
    enum eState
    {
        eIdle,
        eConnecting,
        eConnected,
        // Connected, with the reachability check running again after a low time-to-live warning.
        eConnectedChecking,
    };

    void UnitAnnounced(const sUnit& unit);
    void ConnectTo(const QString& address);
    void FailAttempt(const QString& reason);
    void ProbeReachable();
    void ProbeUnreachable(const QString& reason);
    void CommunicationsLost();
    void ConnectionClosed();
    void TimeToLiveLow();
    void TimeToLiveRestored();
    void LoseConnection(const QString& reason);
    void SetConnected(bool connected);
    void SetUnitSilent(bool silent);
    void SetFailureReason(const QString& reason);
    void StoreLastUnit(const QString& name, int index);
    int IndexOfUnitNamed(const QString& name) const;

    QQmlObjectListModel<cQmlUnit>* mUnits = nullptr;
    // When each list entry was last heard, counted in announcements.
    QVector<quint64> mLastHeard;
    quint64 mAnnouncements = 0;
    cUnitFinder* mFinder = nullptr;
    cReachabilityProbe* mProbe = nullptr;
    UWORD mUnitPort = 0;
    QPointer<cNetworkConnection> mNetworkConnection;

    eState mState = eIdle;
    bool mConnected = false;
    bool mUnitSilent = false;
    QByteArray mHostText;
    QString mFailureReason;
    QString mLastUnitName;
    int mLastUnitIndex = -1;
};

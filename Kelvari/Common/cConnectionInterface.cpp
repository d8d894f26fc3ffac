#include "cConnectionInterface.h"

#include "Common/Qt/cReachabilityProbe.h"
#include "Common/Qt/cUnitFinder.h"
#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QSettings>

#include <algorithm>

cConnectionInterface::cConnectionInterface(bool demoMode, QObject* parent)
    : cConnectionInterface(demoMode, parent, sUnitFinderSettings(), kZRNetTcpPort)
{
}

// The demo flag belongs to the other front end; the editor always passes false and nothing here depends on it.
cConnectionInterface::cConnectionInterface(bool, QObject* parent, const sUnitFinderSettings& discovery,
                                           UWORD unitPort)
    : QObject(parent)
    , mUnits(new QQmlObjectListModel<cQmlUnit>(this))
    , mFinder(new cUnitFinder(discovery, this))
    , mProbe(new cReachabilityProbe(this))
    , mUnitPort(unitPort)
{
    qRegisterMetaType<UWORD>("UWORD");

    QSettings settings;
    mLastUnitName = settings.value(kLastUnitNameKey).toString();
    mLastUnitIndex = settings.value(kLastUnitIndexKey, -1).toInt();

    connect(mFinder, &cUnitFinder::UnitAnnounced, this, &cConnectionInterface::UnitAnnounced);
    connect(mProbe, &cReachabilityProbe::Reachable, this, &cConnectionInterface::ProbeReachable);
    connect(mProbe, &cReachabilityProbe::Unreachable, this, &cConnectionInterface::ProbeUnreachable);
    mFinder->Start();
}

cConnectionInterface::~cConnectionInterface()
{
    SetZRNetNetworkConnection(nullptr);
}

void cConnectionInterface::SetZRNetNetworkConnection(cNetworkConnection* connection)
{
    if (mNetworkConnection)
        QObject::disconnect(mNetworkConnection, nullptr, this, nullptr);
    mNetworkConnection = connection;
    if (!connection)
        return;
    // The network connection signals from its own threads; these run queued on ours.
    connect(connection, &cNetworkConnection::LostCommunications, this, &cConnectionInterface::CommunicationsLost);
    connect(connection, &cNetworkConnection::Disconnected, this, &cConnectionInterface::ConnectionClosed);
    connect(connection, &cNetworkConnection::TimeToLiveLow, this, &cConnectionInterface::TimeToLiveLow);
    connect(connection, &cNetworkConnection::TimeToLiveRestored, this, &cConnectionInterface::TimeToLiveRestored);
}

void cConnectionInterface::connectToUnit(int index)
{
    const cQmlUnit* unit = mUnits->At(index);
    if (!unit)
    {
        FailAttempt(tr("There is no unit at position %1 of the list").arg(index + 1));
        return;
    }
    StoreLastUnit(unit->unitName(), index);
    ConnectTo(unit->ipAddress());
}

void cConnectionInterface::connectToHostByIpAddress(const QString& address)
{
    // Only the full dotted form: short forms such as "10.1.2" would quietly mean 10.1.0.2.
    static const QRegularExpression dottedQuad("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$");
    const QString trimmed = address.trimmed();
    const QHostAddress host(trimmed);
    if (!dottedQuad.match(trimmed).hasMatch() || host.protocol() != QAbstractSocket::IPv4Protocol)
    {
        FailAttempt(tr("\"%1\" is not a valid IP address").arg(trimmed));
        return;
    }
    ConnectTo(host.toString());
}

void cConnectionInterface::connectToUnitName(const QString& name)
{
    const int index = IndexOfUnitNamed(name);
    if (index < 0)
    {
        FailAttempt(tr("No unit named \"%1\" has been found on the network").arg(name));
        return;
    }
    StoreLastUnit(name, index);
    ConnectTo(mUnits->At(index)->ipAddress());
}

QString cConnectionInterface::getUnitName(int index) const
{
    const cQmlUnit* unit = mUnits->At(index);
    return unit ? unit->unitName() : QString();
}

QString cConnectionInterface::getHostIPAddress() const
{
    return QString::fromLatin1(mHostText);
}

void cConnectionInterface::disconnect()
{
    mProbe->Cancel();
    mState = eIdle;
    SetConnected(false);
}

// Idle first, so that the end is not reported as the unit's doing.
void cConnectionInterface::EndUnitConnection(UWORD connectionId)
{
    disconnect();
    ZR_NOTIFY("Ending connection %u to %s", connectionId, mHostText.constData());
    if (mNetworkConnection)
        mNetworkConnection->CloseConnection(connectionId);
}

QString cConnectionInterface::padTo2(int number) const
{
    const QString digits = QString::number(qAbs(qint64(number))).rightJustified(2, QLatin1Char('0'));
    return number < 0 ? QLatin1Char('-') + digits : digits;
}

// A full list gives the place of the unit heard least recently to the new one,
// so that the other entries keep their indices.
void cConnectionInterface::UnitAnnounced(const sUnit& unit)
{
    ++mAnnouncements;
    const QList<cQmlUnit*>& units = mUnits->Items();
    for (int i = 0; i < units.size(); ++i)
    {
        if (units.at(i)->ipAddress() == unit.mIpAddress)
        {
            units.at(i)->Update(unit);
            mLastHeard[i] = mAnnouncements;
            return;
        }
    }
    if (units.size() < kDiscoveryMaxUnits)
    {
        mUnits->append(new cQmlUnit(unit));
        mLastHeard.append(mAnnouncements);
        return;
    }
    const int oldest = int(std::min_element(mLastHeard.begin(), mLastHeard.end()) - mLastHeard.begin());
    ZR_NOTIFY("Unit list full: %s takes the place of %s", qPrintable(unit.mIpAddress),
              qPrintable(units.at(oldest)->ipAddress()));
    units.at(oldest)->Update(unit);
    mLastHeard[oldest] = mAnnouncements;
}

void cConnectionInterface::ConnectTo(const QString& address)
{
    SetFailureReason(QString());
    const bool sameHost = mHostText == address.toLatin1();
    mHostText = address.toLatin1();
    if (sameHost && (mState == eConnected || mState == eConnectedChecking))
    {
        QMetaObject::invokeMethod(this, &cConnectionInterface::connectionAttemptSuccessful, Qt::QueuedConnection);
        return;
    }
    mProbe->Cancel();
    SetConnected(false);
    mState = eConnecting;
    mProbe->Start(QHostAddress(address), mUnitPort, kReachabilityTimeoutMs);
}

// Reported later, so that a caller that reacts to the signal is ready for it when it comes.
void cConnectionInterface::FailAttempt(const QString& reason)
{
    ZR_NOTIFY("Connection attempt failed: %s", qPrintable(reason));
    SetFailureReason(reason);
    QMetaObject::invokeMethod(this, &cConnectionInterface::connectionAttemptFailed, Qt::QueuedConnection);
}

void cConnectionInterface::ProbeReachable()
{
    if (mState == eConnecting)
    {
        mState = eConnected;
        SetConnected(true);
        emit connectionAttemptSuccessful();
    }
    else if (mState == eConnectedChecking)
    {
        mState = eConnected;
    }
}

void cConnectionInterface::ProbeUnreachable(const QString& reason)
{
    if (mState == eConnecting)
    {
        mState = eIdle;
        ZR_NOTIFY("Connection attempt failed: %s", qPrintable(reason));
        SetFailureReason(reason);
        emit connectionAttemptFailed();
    }
    else if (mState == eConnectedChecking)
    {
        LoseConnection(reason);
    }
}

void cConnectionInterface::CommunicationsLost()
{
    LoseConnection(tr("Communication with the unit was lost"));
}

void cConnectionInterface::ConnectionClosed()
{
    LoseConnection(tr("The unit closed the connection"));
}

// A connection close to being declared lost is checked at once, so that a unit
// that has gone away is reported without waiting for the rest of the silence.
void cConnectionInterface::TimeToLiveLow()
{
    if (mState != eConnected)
        return;
    SetUnitSilent(true);
    mState = eConnectedChecking;
    mProbe->Start(QHostAddress(QString::fromLatin1(mHostText)), mUnitPort, kReachabilityTimeoutMs);
}

void cConnectionInterface::TimeToLiveRestored()
{
    SetUnitSilent(false);
}

void cConnectionInterface::LoseConnection(const QString& reason)
{
    if (mState != eConnected && mState != eConnectedChecking)
        return;
    mProbe->Cancel();
    mState = eIdle;
    ZR_NOTIFY("Connection to %s lost: %s", mHostText.constData(), qPrintable(reason));
    // The reason first: whoever sees connected turn false reads it at once.
    SetFailureReason(reason);
    SetConnected(false);
}

void cConnectionInterface::SetConnected(bool connected)
{
    if (!connected)
        SetUnitSilent(false);
    if (mConnected == connected)
        return;
    mConnected = connected;
    emit connectedChanged();
}

void cConnectionInterface::SetUnitSilent(bool silent)
{
    if (mUnitSilent == silent)
        return;
    mUnitSilent = silent;
    emit unitSilentChanged();
}

void cConnectionInterface::SetFailureReason(const QString& reason)
{
    if (mFailureReason == reason)
        return;
    mFailureReason = reason;
    emit connectionFailureReasonChanged();
}

void cConnectionInterface::StoreLastUnit(const QString& name, int index)
{
    QSettings settings;
    settings.setValue(kLastUnitNameKey, name);
    settings.setValue(kLastUnitIndexKey, index);
    if (mLastUnitName == name && mLastUnitIndex == index)
        return;
    mLastUnitName = name;
    mLastUnitIndex = index;
    emit lastUnitChanged();
}

int cConnectionInterface::IndexOfUnitNamed(const QString& name) const
{
    const QList<cQmlUnit*>& units = mUnits->Items();
    for (int i = 0; i < units.size(); ++i)
    {
        if (units.at(i)->unitName() == name)
            return i;
    }
    return -1;
}

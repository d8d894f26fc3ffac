#include "cFakeConnectionInterface.h"

cFakeConnectionInterface::cFakeConnectionInterface(QObject* parent)
    : QObject(parent)
    , mUnits(new QQmlObjectListModel<cQmlUnit>(this))
{
}

void cFakeConnectionInterface::connectToUnit(int index)
{
    if (auto* unit = mUnits->At(index))
        mHost = unit->ipAddress();
    Log(QStringLiteral("connectToUnit(%1)").arg(index));
}

void cFakeConnectionInterface::connectToHostByIpAddress(const QString& address)
{
    mHost = address;
    Log(QStringLiteral("connectToHostByIpAddress(%1)").arg(address));
}

void cFakeConnectionInterface::connectToUnitName(const QString& name)
{
    Log(QStringLiteral("connectToUnitName(%1)").arg(name));
}

QString cFakeConnectionInterface::getUnitName(int index) const
{
    const cQmlUnit* unit = mUnits->At(index);
    return unit ? unit->unitName() : QString();
}

void cFakeConnectionInterface::disconnect()
{
    Log(QStringLiteral("disconnect()"));
    setConnected(false);
}

QString cFakeConnectionInterface::padTo2(int number) const
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

void cFakeConnectionInterface::addUnit(const QString& ipAddress, const QString& unitName,
                                       const QString& information, int unitType)
{
    sUnit unit;
    unit.mIpAddress = ipAddress;
    unit.mUnitName = unitName;
    unit.mFindName = unitName;
    unit.mInformation = information;
    unit.mUnitType = static_cast<eUnitType>(unitType);
    mUnits->append(new cQmlUnit(unit));
}

void cFakeConnectionInterface::finishAttempt(bool succeeded, const QString& reason)
{
    if (reason != mFailureReason) {
        mFailureReason = reason;
        emit connectionFailureReasonChanged();
    }
    if (succeeded) {
        setConnected(true);
        emit connectionAttemptSuccessful();
    } else {
        emit connectionAttemptFailed();
    }
}

void cFakeConnectionInterface::setConnected(bool connected)
{
    if (connected == mConnected)
        return;
    mConnected = connected;
    emit connectedChanged();
}

void cFakeConnectionInterface::setUnitSilent(bool silent)
{
    if (silent == mUnitSilent)
        return;
    mUnitSilent = silent;
    emit unitSilentChanged();
}

void cFakeConnectionInterface::clearCalls()
{
    mCalls.clear();
    emit callsChanged();
}

void cFakeConnectionInterface::reset()
{
    mUnits->clear();
    setConnected(false);
    setUnitSilent(false);
    mHost.clear();
    mFailureReason.clear();
    mCalls.clear();
    emit connectionFailureReasonChanged();
    emit callsChanged();
}

void cFakeConnectionInterface::Log(const QString& call)
{
    mCalls.append(call);
    emit callsChanged();
}

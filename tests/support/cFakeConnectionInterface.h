#pragma once

#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cQmlUnit.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Stands in for the connection interface in the Qt Quick tests: the unit list
// and the connect calls of the real one, where each attempt ends only when a
// test says how.
class cFakeConnectionInterface : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString connectionFailureReason READ connectionFailureReason NOTIFY connectionFailureReasonChanged)
    Q_PROPERTY(bool unitSilent MEMBER mUnitSilent WRITE setUnitSilent NOTIFY unitSilentChanged)
    Q_PROPERTY(QQmlObjectListModelBase* unitList READ unitList CONSTANT)
    Q_PROPERTY(QStringList calls READ calls NOTIFY callsChanged)

public:
    explicit cFakeConnectionInterface(QObject* parent = nullptr);

    bool connected() const { return mConnected; }
    QString connectionFailureReason() const { return mFailureReason; }
    QQmlObjectListModelBase* unitList() const { return mUnits; }
    QStringList calls() const { return mCalls; }

    Q_INVOKABLE void connectToUnit(int index);
    Q_INVOKABLE void connectToHostByIpAddress(const QString& address);
    Q_INVOKABLE void connectToUnitName(const QString& name);
    Q_INVOKABLE QString getUnitName(int index) const;
    Q_INVOKABLE QString getHostIPAddress() const { return mHost; }
    Q_INVOKABLE void disconnect();
    Q_INVOKABLE QString padTo2(int number) const;

    // Knobs for the tests.
    Q_INVOKABLE void addUnit(const QString& ipAddress, const QString& unitName, const QString& information,
                             int unitType);
    // Ends the pending attempt: connected, or failed with the reason.
    Q_INVOKABLE void finishAttempt(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void setConnected(bool connected);
    void setUnitSilent(bool silent);
    Q_INVOKABLE void clearCalls();
    Q_INVOKABLE void reset();

signals:
    void connectedChanged();
    void connectionFailureReasonChanged();
    void unitSilentChanged();
    void connectionAttemptFailed();
    void connectionAttemptSuccessful();
    void callsChanged();

private:
    void Log(const QString& call);

    QQmlObjectListModel<cQmlUnit>* mUnits = nullptr;
    bool mConnected = false;
    bool mUnitSilent = false;
    QString mFailureReason;
    QString mHost;
    QStringList mCalls;
};

#pragma once

#include "Common/Qt/sUnit.h"

#include <QObject>

// The QML face of one discovered unit, a row of the connection interface's unit list.
class cQmlUnit : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ipAddress READ ipAddress NOTIFY ipAddressChanged)
    Q_PROPERTY(QString unitName READ unitName NOTIFY unitNameChanged)
    Q_PROPERTY(QString findName READ findName NOTIFY findNameChanged)
    Q_PROPERTY(QString information READ information NOTIFY informationChanged)
    Q_PROPERTY(int unitType READ unitType NOTIFY unitTypeChanged)

public:
    explicit cQmlUnit(const sUnit& unit, QObject* parent = nullptr);

    const sUnit& Unit() const { return mUnit; }
    // Takes a newer announcement of the same unit; only what differs is signalled.
    void Update(const sUnit& unit);

    QString ipAddress() const { return mUnit.mIpAddress; }
    QString unitName() const { return mUnit.mUnitName; }
    QString findName() const { return mUnit.mFindName; }
    QString information() const { return mUnit.mInformation; }
    int unitType() const { return mUnit.mUnitType; }

signals:
    void ipAddressChanged();
    void unitNameChanged();
    void findNameChanged();
    void informationChanged();
    void unitTypeChanged();

private:
    sUnit mUnit;
};

#include "cQmlUnit.h"

cQmlUnit::cQmlUnit(const sUnit& unit, QObject* parent)
    : QObject(parent)
    , mUnit(unit)
{
}

void cQmlUnit::Update(const sUnit& unit)
{
    const sUnit old = mUnit;
    mUnit = unit;
    if (old.mIpAddress != unit.mIpAddress)
        emit ipAddressChanged();
    if (old.mUnitName != unit.mUnitName)
        emit unitNameChanged();
    if (old.mFindName != unit.mFindName)
        emit findNameChanged();
    if (old.mInformation != unit.mInformation)
        emit informationChanged();
    if (old.mUnitType != unit.mUnitType)
        emit unitTypeChanged();
}

#pragma once

#include "Common/Qt/eUnitType.h"

#include <QMetaType>
#include <QString>

// One unit as its announcement describes it; the address is where the announcement came from.
struct sUnit
{
    QString mIpAddress;
    QString mUnitName;
    QString mFindName;
    QString mInformation;
    eUnitType mUnitType = OskelDorvel;
};

Q_DECLARE_METATYPE(sUnit)

#pragma once

#include "ZRNetTypes.h"

// One entry of a parameter's inform list: which parameter of which object hears of changes.
struct sInformTarget
{
    UWORD mConnectionId = kZRNetLocalConnection;
    UWORD mHandle = kZRNetNoHandle;
    UWORD mParameter = 0;

    bool operator==(const sInformTarget& other) const
    {
        return mConnectionId == other.mConnectionId && mHandle == other.mHandle && mParameter == other.mParameter;
    }
};

#pragma once

#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Editor/cLayoutOnlineMode.h"
#include "ZRNet/Core/Syscall.h"

#include <QString>

// What the tests of a layout run live against the simulated unit share.
class cOnlineTestSupport
{
public:
    static QString User() { return QStringLiteral("engineer"); }
    static QString Password() { return QStringLiteral("stage left"); }

    // The client's net name is free again only once every holder let go of the client.
    static bool NoClientLeft()
    {
        SyscallMessagesPollLock();
        const bool free =
            cKelvariConfigClient(cLayoutOnlineMode::kConfigClientName).Handle() != kZRNetNoHandle;
        SyscallMessagesPollUnLock();
        return free;
    }
};

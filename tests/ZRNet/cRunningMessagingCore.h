#pragma once

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSyscallThread.h"

// Brings the messaging core up for one test and down again in the editor's order.
class cRunningMessagingCore
{
public:
    explicit cRunningMessagingCore(bool startPolling = true,
                                   eConnectionTerminatedBehaviour behaviour = eAbortAllLinksOnTermination)
    {
        InitialiseSyscall(behaviour, true);
        if (startPolling)
            mPollThread.StartSyscall();
    }
    ~cRunningMessagingCore()
    {
        SyscallSetStartTicks(false);
        mPollThread.QuitSyscallAndWait();
        UninitialiseSyscall();
    }

    cSyscallThread mPollThread;
};

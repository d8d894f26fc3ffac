#pragma once

#include "cPeriodicThread.h"

class cActionTickParent;

// The tick thread "ActionTickThread": every 20 ms, while ticks are switched on
// (SyscallSetStartTicks), posts a tick to the registry, which accepts at most two
// outstanding and none while 5000 or more messages are queued.
class cActionTickDriver : public cPeriodicThread
{
public:
    static constexpr int kTickIntervalMs = 20;

    explicit cActionTickDriver(cActionTickParent* parent = nullptr);
    ~cActionTickDriver() override;

    void StartTimer();

protected:
    void Period() override;

private:
    cActionTickParent* const mParent;
};

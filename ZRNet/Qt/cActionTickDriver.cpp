#include "cActionTickDriver.h"

#include "ZRNet/Core/Syscall.h"
#include "cActionTickParent.h"

cActionTickDriver::cActionTickDriver(cActionTickParent* parent)
    : cPeriodicThread(QStringLiteral("ActionTickThread"), kTickIntervalMs, QThread::HighPriority), mParent(parent)
{
}

cActionTickDriver::~cActionTickDriver()
{
    Stop();
}

void cActionTickDriver::StartTimer()
{
    StartPeriods();
}

void cActionTickDriver::Period()
{
    if (SyscallPostTick() && mParent)
        mParent->ActionTick();
}

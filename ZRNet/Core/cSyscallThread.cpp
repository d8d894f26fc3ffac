#include "cSyscallThread.h"

#include "DebugTrace.h"
#include "Syscall.h"
#include "cRegistryRouter.h"
#include "cSystemBuilder.h"

#include <pthread.h>

cSyscallThread::~cSyscallThread()
{
    if (mThread.joinable())
        QuitSyscallAndWait();
}

void cSyscallThread::StartSyscall()
{
    if (mThread.joinable())
        return;
    cRegistryRouter* router = SyscallRegistryRouter();
    if (!router)
    {
        ZR_ERROR("No registry to poll");
        return;
    }
    router->SetPollingAllowed(true);
    mRun = true;
    mThread = std::thread(&cSyscallThread::Run, this);
    // Named before this returns, so that whoever sees the threads of a started layer sees it by name.
    pthread_setname_np(mThread.native_handle(), "SyscallPoll");
}

void cSyscallThread::QuitSyscallAndWait()
{
    mRun = false;
    if (cRegistryRouter* router = SyscallRegistryRouter())
        router->SetPollingAllowed(false);
    if (mThread.joinable())
        mThread.join();
    if (cSystemBuilder* builder = SyscallSystemBuilder())
        builder->AbortAllLinks();
}

void cSyscallThread::Run()
{
    cRegistryRouter* router = SyscallRegistryRouter();
    cZRNetMessage message;
    while (mRun && router->WaitForMessage(message))
    {
        SyscallMessagesPollLock();
        router->Deliver(message);
        SyscallMessagesPollUnLock();
    }
}

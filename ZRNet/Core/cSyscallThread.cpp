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
    // Named so that the poll thread can be told apart in a debugger or a process listing.
    pthread_setname_np(pthread_self(), "SyscallPoll");
    cRegistryRouter* router = SyscallRegistryRouter();
    cZRNetMessage message;
    while (mRun && router->WaitForMessage(message))
    {
        SyscallMessagesPollLock();
        router->Deliver(message);
        SyscallMessagesPollUnLock();
    }
}

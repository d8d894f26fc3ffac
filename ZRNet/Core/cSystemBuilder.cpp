#include "cSystemBuilder.h"

#include "DebugTrace.h"
#include "Syscall.h"

cSystemBuilder::cSystemBuilder(eConnectionTerminatedBehaviour behaviour)
    : cSeekObject(kName, kCacheSize), mBehaviour(behaviour)
{
}

cSystemBuilder::~cSystemBuilder()
{
    Unregister();
}

void cSystemBuilder::AddLinkCommandToList(const sParameterLinkingCommand& command)
{
    {
        std::lock_guard<std::mutex> lock(mCommandsMutex);
        mCommands.push_back(command);
    }
    // The work itself runs on the poll thread, like the seeks it waits for.
    SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, Handle(), Handle(), kMethodProcessCommands));
}

void cSystemBuilder::AbortAllLinks()
{
    std::deque<sParameterLinkingCommand> abandoned;
    {
        std::lock_guard<std::mutex> lock(mCommandsMutex);
        abandoned.swap(mCommands);
        if (mBusy)
            abandoned.push_front(mCurrent);
        mBusy = false;
    }
    CancelSeek();
    for (const sParameterLinkingCommand& command : abandoned)
        Report(command, false);
}

void cSystemBuilder::ConnectionTerminated(UWORD connectionId)
{
    ForgetConnection(connectionId);
    if (mBehaviour == eAbortAllLinksOnTermination)
        AbortAllLinks();
}

bool cSystemBuilder::IsBusy() const
{
    std::lock_guard<std::mutex> lock(mCommandsMutex);
    return mBusy;
}

size_t cSystemBuilder::QueuedCommandCount() const
{
    std::lock_guard<std::mutex> lock(mCommandsMutex);
    return mCommands.size();
}

void cSystemBuilder::EntrypointMessage(const cZRNetMessage& message)
{
    if (message.Method() == kMethodProcessCommands)
        StartNextCommand();
    else
        cSeekObject::EntrypointMessage(message);
}

void cSystemBuilder::StartNextCommand()
{
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mCommandsMutex);
        if (mBusy || mCommands.empty())
            return;
        mBusy = true;
        mCurrent = mCommands.front();
        mCommands.pop_front();
        mStage = eSeekingSource;
        path = mCurrent.mSourcePath;
    }
    SeekObject(path.c_str());
}

void cSystemBuilder::EntrypointFoundObject(UWORD connectionId, UWORD handle)
{
    std::unique_lock<std::mutex> lock(mCommandsMutex);
    if (!mBusy)
        return;
    const bool seekingSource = mStage == eSeekingSource;
    const std::string path = seekingSource ? mCurrent.mSourcePath : mCurrent.mDestinationPath;
    if (handle == kZRNetNoHandle || connectionId != kZRNetLocalConnection)
    {
        lock.unlock();
        ZR_ERROR("Cannot link, object not found: %s", path.c_str());
        Finish(false);
        return;
    }
    if (seekingSource)
    {
        mSourceHandle = handle;
        mStage = eSeekingDestination;
        const std::string destination = mCurrent.mDestinationPath;
        lock.unlock();
        SeekObject(destination.c_str());
        return;
    }
    const UWORD sourceHandle = mSourceHandle;
    lock.unlock();
    Link(sourceHandle, handle);
}

void cSystemBuilder::Link(UWORD sourceHandle, UWORD destinationHandle)
{
    sParameterLinkingCommand command;
    {
        std::lock_guard<std::mutex> lock(mCommandsMutex);
        command = mCurrent;
    }
    cZRNetMessage toSource(kZRNetLocalConnection, sourceHandle, Handle(), eMethodAddInform);
    toSource.AppendUWord(command.mSourceParameter);
    toSource.AppendUWord(kZRNetLocalConnection);
    toSource.AppendUWord(destinationHandle);
    toSource.AppendUWord(command.mDestinationParameter);
    SyscallSendMessage(toSource);

    if (command.mBothWays)
    {
        cZRNetMessage toDestination(kZRNetLocalConnection, destinationHandle, Handle(), eMethodAddInform);
        toDestination.AppendUWord(command.mDestinationParameter);
        toDestination.AppendUWord(kZRNetLocalConnection);
        toDestination.AppendUWord(sourceHandle);
        toDestination.AppendUWord(command.mSourceParameter);
        SyscallSendMessage(toDestination);
    }
    else
    {
        // The destination still tells the source when it goes, so the source's list never holds a dead target.
        cZRNetMessage toDestination(kZRNetLocalConnection, destinationHandle, Handle(), eMethodAddDeleteNotify);
        toDestination.AppendUWord(sourceHandle);
        SyscallSendMessage(toDestination);
    }
    Finish(true);
}

void cSystemBuilder::Finish(bool linked)
{
    sParameterLinkingCommand command;
    {
        std::lock_guard<std::mutex> lock(mCommandsMutex);
        if (!mBusy)
            return;
        mBusy = false;
        command = mCurrent;
    }
    Report(command, linked);
    StartNextCommand();
}

// Queued behind the link messages, so a requester told "linked" finds the lists in place.
void cSystemBuilder::Report(const sParameterLinkingCommand& command, bool linked)
{
    if (command.mRequester == kZRNetNoHandle)
        return;
    cZRNetMessage result(kZRNetLocalConnection, command.mRequester, Handle(), eMethodLinkResult);
    result.AppendUByte(linked ? 1 : 0);
    result.AppendUWord(command.mTag);
    SyscallPostMessage(result);
}

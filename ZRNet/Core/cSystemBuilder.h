#pragma once

#include "cSeekObject.h"
#include "sParameterLinkingCommand.h"

#include <deque>
#include <mutex>

// Carries out link commands one after another on the poll thread: seeks the
// source, then the destination, then asks them to add each other to their
// inform and delete lists. Only local objects can be linked so far; a path
// that names a unit is not found and the command fails.
class cSystemBuilder : public cSeekObject
{
public:
    static constexpr const char* kName = "ZRNet System Builder";
    static constexpr size_t kCacheSize = 40;
    static constexpr UWORD kMethodProcessCommands = kZRNetFirstObjectMethod;

    explicit cSystemBuilder(eConnectionTerminatedBehaviour behaviour);
    ~cSystemBuilder() override;

    void AddLinkCommandToList(const sParameterLinkingCommand& command);
    // Abandons the command under way and every queued one (their requesters are
    // told of the failure) and leaves the busy state.
    void AbortAllLinks();
    // Forgets what lay behind the connection; with eAbortAllLinksOnTermination also aborts all links.
    void ConnectionTerminated(UWORD connectionId);
    bool IsBusy() const;
    size_t QueuedCommandCount() const;
    eConnectionTerminatedBehaviour Behaviour() const { return mBehaviour; }

    void EntrypointMessage(const cZRNetMessage& message) override;

protected:
    void EntrypointFoundObject(UWORD connectionId, UWORD handle) override;

private:
    enum eStage
    {
        eSeekingSource,
        eSeekingDestination,
    };

    void StartNextCommand();
    void Link(UWORD sourceHandle, UWORD destinationHandle);
    void Finish(bool linked);
    void Report(const sParameterLinkingCommand& command, bool linked);

    const eConnectionTerminatedBehaviour mBehaviour;
    mutable std::mutex mCommandsMutex;
    std::deque<sParameterLinkingCommand> mCommands;
    bool mBusy = false;
    sParameterLinkingCommand mCurrent;
    eStage mStage = eSeekingSource;
    UWORD mSourceHandle = kZRNetNoHandle;
};

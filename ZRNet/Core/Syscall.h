#pragma once

#include "ZRNetTypes.h"
#include "sQueueLoad.h"

class cNetworkHook;
class cRegistryRouter;
class cSystemBuilder;
class cZRNetMessage;

// Creates the registry router and, when asked, the system builder "ZRNet System
// Builder" with its cache of 40 paths and the given behaviour on a terminated
// connection. Call on the main thread before any net object exists.
void InitialiseSyscall(eConnectionTerminatedBehaviour behaviour, bool createSystemBuilder);
// Deletes the system builder, then the router; each only if it exists. The poll
// and tick threads must have stopped and the network connection must be gone.
void UninitialiseSyscall();

cRegistryRouter* SyscallRegistryRouter();
cSystemBuilder* SyscallSystemBuilder();

// The registry's recursive dispatch lock: no message is delivered while it is held. Calls nest.
void SyscallMessagesPollLock();
void SyscallMessagesPollUnLock();

// Queues a message for a local object and wakes the poll thread; false (traced) without a registry.
bool SyscallPostMessage(const cZRNetMessage& message);
// Sends a message where its connection id says: 0 through the local queue,
// any other id to that unit through the network hook (traced failure without one).
bool SyscallSendMessage(const cZRNetMessage& message);

// The network side hooks itself in while it exists and unhooks before it goes;
// both under the poll lock, so that no delivery uses a hook that is going.
void SyscallSetNetworkHook(cNetworkHook* hook);
cNetworkHook* SyscallNetworkHook();
size_t SyscallQueuedMessageCount();
// The queued messages and their payload bytes, read together.
sQueueLoad SyscallQueueLoad();

// Switches the posting of ticks on or off.
void SyscallSetStartTicks(bool on);
bool SyscallTicksStarted();
// Posts a tick when ticks are on and the registry accepts one (at most two
// outstanding, none while 5000 or more messages are queued).
bool SyscallPostTick();

// A connection has ended: the system builder forgets it and applies its behaviour,
// and the objects that watch connections are told.
void SyscallConnectionTerminated(UWORD connectionId);

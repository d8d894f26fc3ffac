#pragma once

#include <cstddef>
#include <cstdint>

// Fixed-width vocabulary of the messaging core.
typedef uint8_t UBYTE;
typedef int8_t SBYTE;
typedef uint16_t UWORD;
typedef int16_t SWORD;
typedef uint32_t ULONG;
typedef int32_t SLONG;

constexpr UWORD kZRNetRegistryHandle = 0;
constexpr UWORD kZRNetNoHandle = 65535;
constexpr UWORD kZRNetLocalConnection = 0;
constexpr UWORD kZRNetNoConnection = 65535;

constexpr size_t kZRNetMaxNameLength = 63;
constexpr size_t kZRNetMaxPathLength = 127;

// Methods 0 to 19 belong to the protocol, 256 onward to the objects, 4096 + n is parameter n.
constexpr UWORD kZRNetFirstObjectMethod = 256;
constexpr UWORD kZRNetFirstParameterMethod = 4096;

constexpr UWORD ZRNetParameterMethod(UWORD parameter)
{
    return static_cast<UWORD>(kZRNetFirstParameterMethod + parameter);
}

// The protocol methods the core uses; find-object is fixed at 4, the others are this core's choice.
enum eZRNetMethod : UWORD
{
    eMethodTick = 1,
    eMethodTock = 2,
    eMethodObjectDeleted = 3,   // source: the deleted object
    eMethodFindObject = 4,      // payload: path, NUL
    eMethodFoundObject = 5,     // payload: handle, connection, path, NUL
    eMethodAddInform = 6,       // payload: parameter, target connection, target handle, target parameter
    eMethodAddDeleteNotify = 7, // payload: handle to tell on deletion
    eMethodLinkResult = 8,      // payload: 1 linked or 0 failed, requester's tag
    eMethodConnectionEnded = 9, // payload: connection id; to the objects that watch connections
    // 10 to 13 are the connection's own frames (ZRNetProtocol.h) and never reach an object.
    eMethodFindForwarded = 14, // payload: connection id, path, NUL; local, to a seeker whose find went to a unit
};

enum eConnectionTerminatedBehaviour
{
    eKeepLinksOnTermination = 0,
    eAbortAllLinksOnTermination = 1,
};

#pragma once

#include "ZRNetTypes.h"
#include "cZRNetMessage.h"

#include <string>

// How the messaging core reaches units: the network side registers one hook,
// through which the registry opens connections and messages for a remote
// connection are sent.
class cNetworkHook
{
public:
    virtual ~cNetworkHook() = default;

    // The connection to the unit at host (an IPv4 address text), opened first
    // when there is none; 65535 when it cannot be made within a bounded time.
    virtual UWORD ConnectToUnit(const std::string& host) = 0;
    virtual bool SendToUnit(const cZRNetMessage& message) = 0;
    virtual bool IsConnected(UWORD connectionId) const = 0;
};

#pragma once

#include "ZRNetTypes.h"

#include <string>

// A request to the system builder: let the destination's parameter hear of the
// source's parameter (and, both ways, the other way round). When a requester is
// given it receives eMethodLinkResult with 1 or 0 and the tag.
struct sParameterLinkingCommand
{
    std::string mSourcePath;
    UWORD mSourceParameter = 0;
    std::string mDestinationPath;
    UWORD mDestinationParameter = 0;
    bool mBothWays = false;
    UWORD mRequester = kZRNetNoHandle;
    UWORD mTag = 0;
};

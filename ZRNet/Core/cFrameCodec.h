#pragma once

#include "ZRNetTypes.h"
#include "cZRNetMessage.h"

#include <string>

// Turns messages into wire frames and back. Parsing never reads past the bytes
// it is given and never trusts a length before checking it against the limit.
class cFrameCodec
{
public:
    enum eParseResult
    {
        eFrameComplete,
        eFrameIncomplete,
        eFrameMalformed,
    };

    static size_t FramedSize(const cZRNetMessage& message);
    // Writes FramedSize(message) bytes to out.
    static void Frame(const cZRNetMessage& message, UBYTE* out);
    // A utility frame of the connection: method with its payload, header words 0.
    static cZRNetMessage UtilityMessage(UWORD method);

    // Reads one frame from the start of data. On eFrameComplete fills message and
    // consumed; on eFrameMalformed describes the fault in error.
    static eParseResult Parse(const UBYTE* data, size_t available, cZRNetMessage& message, size_t& consumed,
                              std::string& error);
};

#include "cFrameCodec.h"

#include "ZRNetProtocol.h"

#include <algorithm>
#include <cstdio>

namespace
{
void PutWord(UBYTE* out, UWORD value)
{
    out[0] = static_cast<UBYTE>(value >> 8);
    out[1] = static_cast<UBYTE>(value);
}

UWORD GetWord(const UBYTE* in)
{
    return static_cast<UWORD>((in[0] << 8) | in[1]);
}
}

size_t cFrameCodec::FramedSize(const cZRNetMessage& message)
{
    return kZRNetFrameOverhead + message.Length();
}

void cFrameCodec::Frame(const cZRNetMessage& message, UBYTE* out)
{
    const size_t length = message.Length();
    out[0] = kZRNetFrameStart;
    PutWord(out + 1, message.ConnectionId());
    PutWord(out + 3, message.Destination());
    PutWord(out + 5, message.Source());
    PutWord(out + 7, message.Method());
    out[9] = static_cast<UBYTE>(length >> 24);
    out[10] = static_cast<UBYTE>(length >> 16);
    out[11] = static_cast<UBYTE>(length >> 8);
    out[12] = static_cast<UBYTE>(length);
    std::copy(message.Payload(), message.Payload() + length, out + kZRNetFrameHeaderSize);
    out[kZRNetFrameHeaderSize + length] = kZRNetFrameEnd;
}

cZRNetMessage cFrameCodec::UtilityMessage(UWORD method)
{
    return cZRNetMessage(kZRNetLocalConnection, kZRNetRegistryHandle, kZRNetRegistryHandle, method);
}

cFrameCodec::eParseResult cFrameCodec::Parse(const UBYTE* data, size_t available, cZRNetMessage& message,
                                             size_t& consumed, std::string& error)
{
    if (available == 0)
        return eFrameIncomplete;
    if (data[0] != kZRNetFrameStart)
    {
        char text[64];
        std::snprintf(text, sizeof text, "start byte 0x%02X", data[0]);
        error = text;
        return eFrameMalformed;
    }
    if (available < kZRNetFrameHeaderSize)
        return eFrameIncomplete;
    const ULONG length = (ULONG(data[9]) << 24) | (ULONG(data[10]) << 16) | (ULONG(data[11]) << 8) | data[12];
    if (length > kZRNetMaxPayloadLength)
    {
        char text[64];
        std::snprintf(text, sizeof text, "payload length %lu", static_cast<unsigned long>(length));
        error = text;
        return eFrameMalformed;
    }
    if (available < kZRNetFrameOverhead + length)
        return eFrameIncomplete;
    const UBYTE end = data[kZRNetFrameHeaderSize + length];
    if (end != kZRNetFrameEnd)
    {
        char text[64];
        std::snprintf(text, sizeof text, "end byte 0x%02X", end);
        error = text;
        return eFrameMalformed;
    }
    message = cZRNetMessage(GetWord(data + 1), GetWord(data + 3), GetWord(data + 5), GetWord(data + 7));
    message.SetPayload(data + kZRNetFrameHeaderSize, length);
    consumed = kZRNetFrameOverhead + length;
    return eFrameComplete;
}

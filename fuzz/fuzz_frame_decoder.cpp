// Feeds arbitrary bytes, as a peer's stream, to the frame decoder and checks each frame it takes.
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cFrameCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
ULONG AnnouncedLength(const UBYTE* data)
{
    return (ULONG(data[9]) << 24) | (ULONG(data[10]) << 16) | (ULONG(data[11]) << 8) | data[12];
}

void Check(bool holds)
{
    if (!holds)
        abort();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // As the transport reads a stream: frame after frame until one is incomplete or malformed.
    size_t offset = 0;
    while (true)
    {
        const UBYTE* frame = data + offset;
        const size_t available = size - offset;
        cZRNetMessage message;
        size_t consumed = 0;
        std::string error;
        const cFrameCodec::eParseResult result = cFrameCodec::Parse(frame, available, message, consumed, error);
        const bool started = available > 0 && frame[0] == kZRNetFrameStart;
        const bool header = started && available >= kZRNetFrameHeaderSize;
        if (result == cFrameCodec::eFrameIncomplete)
        {
            // Only a frame whose announced length is allowed is waited for, and only while bytes are missing.
            Check(available == 0 || (started && (!header || (AnnouncedLength(frame) <= kZRNetMaxPayloadLength &&
                                                             available < kZRNetFrameOverhead + AnnouncedLength(frame)))));
            return 0;
        }
        if (result == cFrameCodec::eFrameMalformed)
        {
            Check(!error.empty() && (!started || (header && (AnnouncedLength(frame) > kZRNetMaxPayloadLength ||
                                                             frame[kZRNetFrameHeaderSize + AnnouncedLength(frame)] !=
                                                                 kZRNetFrameEnd))));
            return 0;
        }
        // A frame taken is exactly the bytes it came from, framed again.
        Check(header && consumed <= available && consumed == cFrameCodec::FramedSize(message) &&
              message.Length() == AnnouncedLength(frame) && message.Length() <= kZRNetMaxPayloadLength);
        std::vector<UBYTE> again(consumed);
        cFrameCodec::Frame(message, again.data());
        Check(std::equal(again.begin(), again.end(), frame));
        Check(message.GetString(0).size() <= message.Length());
        offset += consumed;
    }
}

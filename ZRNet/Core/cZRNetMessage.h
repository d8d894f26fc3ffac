#pragma once

#include "ZRNetTypes.h"

#include <string>
#include <vector>

// One protocol message: four 16-bit header words and an owned payload whose
// values are big-endian and addressed by byte offset. Reads outside the
// payload trace an error and give 0 (or ""); writes outside it trace and fail.
class cZRNetMessage
{
public:
    cZRNetMessage() = default;
    cZRNetMessage(UWORD connectionId, UWORD destination, UWORD source, UWORD method);

    UWORD ConnectionId() const { return mConnectionId; }
    UWORD Destination() const { return mDestination; }
    UWORD Source() const { return mSource; }
    UWORD Method() const { return mMethod; }
    void SetConnectionId(UWORD connectionId) { mConnectionId = connectionId; }
    void SetDestination(UWORD destination) { mDestination = destination; }
    void SetSource(UWORD source) { mSource = source; }
    void SetMethod(UWORD method) { mMethod = method; }

    size_t Length() const { return mPayload.size(); }
    const UBYTE* Payload() const { return mPayload.data(); }
    void SetPayload(const void* data, size_t length);
    // Grows with zeros or cuts the payload.
    void SetLength(size_t length);

    UBYTE GetUByte(size_t offset) const;
    UWORD GetUWord(size_t offset) const;
    ULONG GetULong(size_t offset) const;
    // The text from offset up to its NUL (or the payload's end).
    std::string GetString(size_t offset) const;

    bool SetUByte(size_t offset, UBYTE value);
    bool SetUWord(size_t offset, UWORD value);
    bool SetULong(size_t offset, ULONG value);

    void AppendUByte(UBYTE value);
    void AppendUWord(UWORD value);
    void AppendULong(ULONG value);
    void AppendBytes(const void* data, size_t length);
    // Appends the text with its terminating NUL.
    void AppendString(const char* text);

private:
    bool Fits(size_t offset, size_t size, const char* what) const;
    ULONG Read(size_t offset, size_t size) const;
    bool Write(size_t offset, size_t size, ULONG value);

    UWORD mConnectionId = kZRNetLocalConnection;
    UWORD mDestination = kZRNetNoHandle;
    UWORD mSource = kZRNetNoHandle;
    UWORD mMethod = 0;
    std::vector<UBYTE> mPayload;
};

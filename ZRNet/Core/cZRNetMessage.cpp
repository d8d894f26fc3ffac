#include "cZRNetMessage.h"

#include "DebugTrace.h"

#include <cstring>

cZRNetMessage::cZRNetMessage(UWORD connectionId, UWORD destination, UWORD source, UWORD method)
    : mConnectionId(connectionId), mDestination(destination), mSource(source), mMethod(method)
{
}

void cZRNetMessage::SetPayload(const void* data, size_t length)
{
    const UBYTE* bytes = static_cast<const UBYTE*>(data);
    mPayload.assign(bytes, bytes + length);
}

void cZRNetMessage::SetLength(size_t length)
{
    mPayload.resize(length, 0);
}

bool cZRNetMessage::Fits(size_t offset, size_t size, const char* what) const
{
    if (offset <= mPayload.size() && size <= mPayload.size() - offset)
        return true;
    ZR_ERROR("Payload %s out of range: offset %zu, size %zu, length %zu", what, offset, size, mPayload.size());
    return false;
}

ULONG cZRNetMessage::Read(size_t offset, size_t size) const
{
    if (!Fits(offset, size, "read"))
        return 0;
    ULONG value = 0;
    for (size_t i = 0; i < size; ++i)
        value = (value << 8) | mPayload[offset + i];
    return value;
}

bool cZRNetMessage::Write(size_t offset, size_t size, ULONG value)
{
    if (!Fits(offset, size, "write"))
        return false;
    for (size_t i = size; i-- > 0;)
    {
        mPayload[offset + i] = static_cast<UBYTE>(value & 0xFF);
        value >>= 8;
    }
    return true;
}

UBYTE cZRNetMessage::GetUByte(size_t offset) const
{
    return static_cast<UBYTE>(Read(offset, 1));
}

UWORD cZRNetMessage::GetUWord(size_t offset) const
{
    return static_cast<UWORD>(Read(offset, 2));
}

ULONG cZRNetMessage::GetULong(size_t offset) const
{
    return Read(offset, 4);
}

std::string cZRNetMessage::GetString(size_t offset) const
{
    // An empty payload has no storage to search: data() may be null.
    if (!Fits(offset, 0, "read") || offset == mPayload.size())
        return std::string();
    const char* begin = reinterpret_cast<const char*>(mPayload.data()) + offset;
    const size_t available = mPayload.size() - offset;
    const void* nul = std::memchr(begin, 0, available);
    return std::string(begin, nul ? static_cast<const char*>(nul) - begin : available);
}

bool cZRNetMessage::SetUByte(size_t offset, UBYTE value)
{
    return Write(offset, 1, value);
}

bool cZRNetMessage::SetUWord(size_t offset, UWORD value)
{
    return Write(offset, 2, value);
}

bool cZRNetMessage::SetULong(size_t offset, ULONG value)
{
    return Write(offset, 4, value);
}

void cZRNetMessage::AppendUByte(UBYTE value)
{
    mPayload.resize(mPayload.size() + 1);
    Write(mPayload.size() - 1, 1, value);
}

void cZRNetMessage::AppendUWord(UWORD value)
{
    mPayload.resize(mPayload.size() + 2);
    Write(mPayload.size() - 2, 2, value);
}

void cZRNetMessage::AppendULong(ULONG value)
{
    mPayload.resize(mPayload.size() + 4);
    Write(mPayload.size() - 4, 4, value);
}

void cZRNetMessage::AppendBytes(const void* data, size_t length)
{
    const UBYTE* bytes = static_cast<const UBYTE*>(data);
    mPayload.insert(mPayload.end(), bytes, bytes + length);
}

void cZRNetMessage::AppendString(const char* text)
{
    const size_t length = std::strlen(text);
    mPayload.insert(mPayload.end(), text, text + length + 1);
}

#include "cEncryption.h"

#include "ZRNet/Core/DebugTrace.h"

uint32_t cEncryption::EncryptPassword(const char* password)
{
    if (!password)
    {
        ZR_ERROR("Null password");
        return 0;
    }

    // FNV-1a over the 16 characters, then a final avalanche so that a change in
    // the last character still stirs every bit.
    uint32_t hash = 2166136261u;
    bool ended = false;
    for (int i = 0; i < kPasswordLength; ++i)
    {
        ended = ended || password[i] == '\0';
        const unsigned char c = ended ? ' ' : static_cast<unsigned char>(password[i]);
        hash = (hash ^ c) * 16777619u;
    }
    hash ^= hash >> 16;
    hash *= 0x85EBCA6Bu;
    hash ^= hash >> 13;
    hash *= 0xC2B2AE35u;
    hash ^= hash >> 16;
    return hash;
}

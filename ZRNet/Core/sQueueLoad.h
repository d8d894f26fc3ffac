#pragma once

#include <cstddef>

// What the registry's queue holds at one moment: its messages and their payload bytes.
struct sQueueLoad
{
    size_t mMessages = 0;
    size_t mPayloadBytes = 0;

    // At least one of the two marks is reached.
    bool Reaches(size_t messages, size_t payloadBytes) const
    {
        return mMessages >= messages || mPayloadBytes >= payloadBytes;
    }
};

#pragma once

#include <cstdint>

// Scrambles a password into a 32-bit number without any key.
class cEncryption
{
public:
    static constexpr int kPasswordLength = 16;

    // Takes the password as 16 blank-padded 8-bit characters and reads at most
    // those 16 bytes: a shorter text counts as if padded with blanks up to 16,
    // anything after the 16th byte is never read. Null gives 0.
    // Stored hashes depend on this function: its results must never change.
    static uint32_t EncryptPassword(const char* password);
};

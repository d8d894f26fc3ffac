#include "cLoginPassword.h"

void cLoginPassword::Load(const std::string& storedHash)
{
    mHash = storedHash;
    mAcceptedHash = storedHash;
}

bool cLoginPassword::Set(const std::string& hash)
{
    if (hash == mHash)
        return false;
    mHash = hash;
    return true;
}

void cLoginPassword::Accepted()
{
    mAcceptedHash = mHash;
}

bool cLoginPassword::Refused()
{
    if (mAcceptedHash == mHash)
        mAcceptedHash.clear();
    if (mHash.empty())
        return false;
    mHash.clear();
    return true;
}

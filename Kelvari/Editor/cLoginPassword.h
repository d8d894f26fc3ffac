#pragma once

#include <string>

// One remembered login password, as hashes: the one the next log-in sends,
// and the one the unit last accepted, which alone may reach the settings
// store. A password the unit refused is forgotten, so that the next log-in
// asks for it again instead of sending it once more.
class cLoginPassword
{
public:
    // A hash read from the settings store was accepted when it was stored.
    void Load(const std::string& storedHash);

    const std::string& Hash() const { return mHash; }
    const std::string& AcceptedHash() const { return mAcceptedHash; }

    // The password the user typed; false when the hash was already in use.
    bool Set(const std::string& hash);
    void Accepted();
    // Forgets the refused hash, also as the accepted one when it was that;
    // false when no hash was in use.
    bool Refused();

private:
    std::string mHash;
    std::string mAcceptedHash;
};

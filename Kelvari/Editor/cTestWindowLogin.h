#pragma once

#include <QString>

#include <string>

// What a layout going online in the test window needs of the application:
// the test window's login, and where to report the unit's answer to it, so
// that only a password the unit accepted is remembered.
class cTestWindowLogin
{
public:
    virtual ~cTestWindowLogin() = default;

    virtual QString TestWindowUsername() const = 0;
    // The password hash the log-in sends, as GetHashedPassword gives it.
    virtual const std::string& TestWindowPasswordHash() const = 0;
    virtual void TestWindowLoginAccepted() = 0;
    virtual void TestWindowLoginRefused() = 0;
};

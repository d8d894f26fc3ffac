// cApplication: the test window's and the administrator's logins.
#include "cApplication.h"

#include "cUserSettings.h"

void cApplication::setTestWindowUsername(const QString& name)
{
    if (name != mTestWindowUsername)
    {
        mTestWindowUsername = name;
        emit testWindowUsernameChanged();
    }
    StoreTestWindowLogin();
}

void cApplication::setTestWindowPassword(const QString& Password)
{
    if (mTestWindowPassword.Set(GetHashedPassword(Password)))
        emit testWindowPasswordStoredChanged();
}

void cApplication::TestWindowLoginAccepted()
{
    mTestWindowPassword.Accepted();
    StoreTestWindowLogin();
}

void cApplication::TestWindowLoginRefused()
{
    if (mTestWindowPassword.Refused())
        emit testWindowPasswordStoredChanged();
    StoreTestWindowLogin();
}

void cApplication::setTestWindowRememberLoginDetails(bool remember)
{
    if (remember != mTestWindowRememberLoginDetails)
    {
        mTestWindowRememberLoginDetails = remember;
        cUserSettings::Write(cUserSettings::eRememberTestWindowLogin, remember);
        emit testWindowRememberLoginDetailsChanged();
    }
    StoreTestWindowLogin();
}

void cApplication::setAdminPassword(const QString& Password)
{
    if (mAdminPassword.Set(GetHashedPassword(Password)))
        emit adminPasswordStoredChanged();
}

void cApplication::AdminLoginAccepted()
{
    mAdminPassword.Accepted();
    StoreAdminPassword();
}

void cApplication::AdminLoginRefused()
{
    if (mAdminPassword.Refused())
        emit adminPasswordStoredChanged();
    StoreAdminPassword();
}

void cApplication::setAdminRememberPassword(bool remember)
{
    if (remember != mAdminRememberPassword)
    {
        mAdminRememberPassword = remember;
        cUserSettings::Write(cUserSettings::eRememberAdminPassword, remember);
        emit adminRememberPasswordChanged();
    }
    StoreAdminPassword();
}

// Without remembering, the store holds empty texts; the values stay in memory
// for this run. A password reaches the store only once the unit accepted it.
void cApplication::StoreTestWindowLogin() const
{
    const bool remember = mTestWindowRememberLoginDetails;
    cUserSettings::Write(cUserSettings::eTestWindowUsername, remember ? mTestWindowUsername : QString());
    cUserSettings::Write(cUserSettings::eTestWindowPasswordHash,
                         remember ? QString::fromStdString(mTestWindowPassword.AcceptedHash()) : QString());
}

void cApplication::StoreAdminPassword() const
{
    cUserSettings::Write(cUserSettings::eAdminPasswordHash,
                         mAdminRememberPassword ? QString::fromStdString(mAdminPassword.AcceptedHash()) : QString());
}

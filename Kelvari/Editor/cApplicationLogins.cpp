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
    const std::string hash = GetHashedPassword(Password);
    if (hash != mTestWindowPasswordHash)
    {
        mTestWindowPasswordHash = hash;
        emit testWindowPasswordStoredChanged();
    }
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
    const std::string hash = GetHashedPassword(Password);
    if (hash != mAdminPasswordHash)
    {
        mAdminPasswordHash = hash;
        emit adminPasswordStoredChanged();
    }
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

// Without remembering, the store holds empty texts; the values stay in memory for this run.
void cApplication::StoreTestWindowLogin() const
{
    const bool remember = mTestWindowRememberLoginDetails;
    cUserSettings::Write(cUserSettings::eTestWindowUsername, remember ? mTestWindowUsername : QString());
    cUserSettings::Write(cUserSettings::eTestWindowPasswordHash,
                         remember ? QString::fromStdString(mTestWindowPasswordHash) : QString());
}

void cApplication::StoreAdminPassword() const
{
    cUserSettings::Write(cUserSettings::eAdminPasswordHash,
                         mAdminRememberPassword ? QString::fromStdString(mAdminPasswordHash) : QString());
}

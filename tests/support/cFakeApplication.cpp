#include "cFakeApplication.h"

cFakeApplication::cFakeApplication(QObject* parent)
    : QObject(parent)
    , mConfig(new cFakeConfig(this))
    , mConnection(new cFakeConnectionInterface(this))
{
}

void cFakeApplication::createNewConfig()
{
    Log(QStringLiteral("createNewConfig()"));
    mConfig->reset();
    mConfig->setLayoutCount(1);
    setCurrentFilename(QString());
}

bool cFakeApplication::loadConfig(const QUrl& fileUrl)
{
    Log(QStringLiteral("loadConfig(%1)").arg(fileUrl.toString()));
    SetReason(mLoadFailureReason, QString(), &cFakeApplication::loadConfigFailureReasonChanged);
    mConfig->reset();
    if (!mLoadSucceeds) {
        SetReason(mLoadFailureReason, QStringLiteral("Invalid config data file"),
                  &cFakeApplication::loadConfigFailureReasonChanged);
        return false;
    }
    mConfig->setLayoutCount(2);
    mConfig->setVersion(mLoadedVersionIsNewer ? QStringLiteral("2.0.0") : QStringLiteral("1.0.0"),
                        mLoadedVersionIsNewer);
    setCurrentFilename(fileUrl.toLocalFile());
    return true;
}

bool cFakeApplication::saveConfig(const QUrl& fileUrl)
{
    Log(QStringLiteral("saveConfig(%1)").arg(fileUrl.toString()));
    return Save(fileUrl.toLocalFile());
}

bool cFakeApplication::saveConfig()
{
    Log(QStringLiteral("saveConfig()"));
    return Save(mCurrentFilename);
}

bool cFakeApplication::Save(const QString& filename)
{
    SetReason(mSaveFailureReason, QString(), &cFakeApplication::saveConfigFailureReasonChanged);
    if (!mSaveSucceeds) {
        SetReason(mSaveFailureReason, QStringLiteral("Error opening file %1 for writing").arg(filename),
                  &cFakeApplication::saveConfigFailureReasonChanged);
        return false;
    }
    setCurrentFilename(filename);
    mConfig->setDirty(false);
    return true;
}

void cFakeApplication::uploadConfig()
{
    Log(QStringLiteral("uploadConfig()"));
    SetReason(mUploadFailureReason, QString(), &cFakeApplication::uploadConfigFailureReasonChanged);
    mUploadProgress = 0.0f;
    emit uploadProgressChanged();
}

void cFakeApplication::downloadConfig()
{
    Log(QStringLiteral("downloadConfig()"));
    SetReason(mDownloadFailureReason, QString(), &cFakeApplication::downloadConfigFailureReasonChanged);
}

void cFakeApplication::setAdminPassword(const QString& password)
{
    Log(QStringLiteral("setAdminPassword(%1)").arg(password));
    const bool wasStored = adminPasswordStored();
    mAdminPassword = password;
    if (wasStored != adminPasswordStored())
        emit adminPasswordStoredChanged();
}

void cFakeApplication::setTestWindowPassword(const QString& password)
{
    Log(QStringLiteral("setTestWindowPassword(%1)").arg(password));
    const bool wasStored = testWindowPasswordStored();
    mTestWindowPassword = password;
    if (wasStored != testWindowPasswordStored())
        emit testWindowPasswordStoredChanged();
}

void cFakeApplication::finishUpload(bool succeeded, const QString& reason)
{
    if (succeeded) {
        mUploadProgress = 1.0f;
        emit uploadProgressChanged();
        emit uploadConfigSuccessful();
        return;
    }
    SetReason(mUploadFailureReason, reason, &cFakeApplication::uploadConfigFailureReasonChanged);
    if (reason == QLatin1String("Incorrect password") && adminPasswordStored()) {
        mAdminPassword.clear();
        emit adminPasswordStoredChanged();
    }
    emit uploadConfigFailed();
}

void cFakeApplication::finishDownload(bool succeeded, const QString& reason)
{
    if (succeeded) {
        mConfig->reset();
        mConfig->setLayoutCount(3);
        setCurrentFilename(QString());
        emit downloadConfigSuccessful();
        return;
    }
    SetReason(mDownloadFailureReason, reason, &cFakeApplication::downloadConfigFailureReasonChanged);
    emit downloadConfigFailed();
}

void cFakeApplication::openHelp()
{
    Log(QStringLiteral("openHelp()"));
    if (!mHelpFails)
        return;
    const QString reason = QStringLiteral("The user guide /opt/kelvari/Contents/Resources/Help/Help.pdf is missing");
    SetReason(mHelpFailureReason, reason, &cFakeApplication::helpFailureReasonChanged);
    emit helpFailed();
}

void cFakeApplication::setCurrentFilename(const QString& filename)
{
    if (filename == mCurrentFilename)
        return;
    mCurrentFilename = filename;
    emit currentFilenameChanged();
}

void cFakeApplication::clearCalls()
{
    mConfig->clearCalls();
    mConnection->clearCalls();
    mCalls.clear();
    emit callsChanged();
}

void cFakeApplication::reset()
{
    mConfig->reset();
    mConfig->clearCalls();
    mConnection->reset();
    setCurrentFilename(QString());
    mLastConfigFilePath.clear();
    mLoadSucceeds = true;
    mLoadedVersionIsNewer = false;
    mSaveSucceeds = true;
    mHelpFails = false;
    mAdminPassword.clear();
    mAdminRememberPassword = true;
    mTestWindowUsername.clear();
    mTestWindowPassword.clear();
    mTestWindowRemember = true;
    emit adminPasswordStoredChanged();
    emit adminRememberPasswordChanged();
    emit testWindowUsernameChanged();
    emit testWindowPasswordStoredChanged();
    emit testWindowRememberLoginDetailsChanged();
    mCalls.clear();
    emit callsChanged();
}

void cFakeApplication::SetReason(QString& member, const QString& reason, void (cFakeApplication::*changed)())
{
    if (reason == member)
        return;
    member = reason;
    emit(this->*changed)();
}

void cFakeApplication::Log(const QString& call)
{
    mCalls.append(call);
    emit callsChanged();
}

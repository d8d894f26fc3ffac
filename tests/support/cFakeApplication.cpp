#include "cFakeApplication.h"

void cFakeConfig::setLayoutCount(int count)
{
    while (mLayouts->count() > count)
        mLayouts->remove(mLayouts->count() - 1);
    while (mLayouts->count() < count)
        mLayouts->append(new cFakeLayout(QString("Layout %1").arg(mLayouts->count() + 1)));
    Set(mSelectedLayoutIndex, std::min(mSelectedLayoutIndex, count - 1), &cFakeConfig::selectedLayoutIndexChanged);
}

void cFakeConfig::setVersion(const QString& version, bool newer)
{
    Set(mVersion, version, &cFakeConfig::versionStringChanged);
    Set(mVersionIsNewer, newer, &cFakeConfig::configVersionIsNewerChanged);
}

void cFakeConfig::reset()
{
    setLayoutCount(0);
    setDirty(false);
    setVersion(QString(), false);
}

void cFakeConnectionInterface::connectToUnit(int index)
{
    if (cQmlUnit* unit = mUnits->At(index))
        mHost = unit->ipAddress();
    Log(QString("connectToUnit(%1)").arg(index));
}

void cFakeConnectionInterface::connectToHostByIpAddress(const QString& address)
{
    mHost = address;
    Log(QString("connectToHostByIpAddress(%1)").arg(address));
}

void cFakeConnectionInterface::addUnit(const QString& ipAddress, const QString& unitName, const QString& information,
                                       int type)
{
    sUnit unit;
    unit.mIpAddress = ipAddress;
    unit.mUnitName = unit.mFindName = unitName;
    unit.mInformation = information;
    unit.mUnitType = static_cast<eUnitType>(type);
    mUnits->append(new cQmlUnit(unit));
}

void cFakeConnectionInterface::finishAttempt(bool succeeded, const QString& reason)
{
    Set(mFailureReason, reason, &cFakeConnectionInterface::connectionFailureReasonChanged);
    if (!succeeded) {
        emit connectionAttemptFailed();
        return;
    }
    setConnected(true);
    emit connectionAttemptSuccessful();
}

void cFakeConnectionInterface::reset()
{
    mUnits->clear();
    setConnected(false);
    Set(mUnitSilent, false, &cFakeConnectionInterface::unitSilentChanged);
    Set(mFailureReason, QString(), &cFakeConnectionInterface::connectionFailureReasonChanged);
    mHost.clear();
    clearCalls();
}

void cFakeApplication::createNewConfig()
{
    Log("createNewConfig()");
    mConfig->reset();
    mConfig->setLayoutCount(1);
    setCurrentFilename(QString());
}

bool cFakeApplication::loadConfig(const QUrl& fileUrl)
{
    Log(QString("loadConfig(%1)").arg(fileUrl.toString()));
    mConfig->reset();
    // Cleared first, so that the same failure twice is told twice.
    Set(mLoadFailureReason, QString(), &cFakeApplication::loadConfigFailureReasonChanged);
    Set(mLoadReport, QString(), &cFakeApplication::loadConfigReportChanged);
    if (!mLoadSucceeds) {
        Set(mLoadFailureReason, QString("Invalid config data file"), &cFakeApplication::loadConfigFailureReasonChanged);
        return false;
    }
    mConfig->setLayoutCount(2);
    mConfig->setVersion(mLoadedVersionIsNewer ? "2.0.0" : "1.0.0", mLoadedVersionIsNewer);
    Set(mLoadReport, mLoadedReport, &cFakeApplication::loadConfigReportChanged);
    setCurrentFilename(fileUrl.toLocalFile());
    return true;
}

bool cFakeApplication::saveConfig(const QUrl& fileUrl)
{
    return Save(QString("saveConfig(%1)").arg(fileUrl.toString()), fileUrl.toLocalFile());
}

bool cFakeApplication::Save(const QString& call, const QString& filename)
{
    Log(call);
    Set(mSaveFailureReason, QString(), &cFakeApplication::saveConfigFailureReasonChanged);
    if (!mSaveSucceeds) {
        Set(mSaveFailureReason, QString("Error opening file %1 for writing").arg(filename),
            &cFakeApplication::saveConfigFailureReasonChanged);
        return false;
    }
    setCurrentFilename(filename);
    mConfig->setDirty(false);
    return true;
}

void cFakeApplication::uploadConfig()
{
    Log("uploadConfig()");
    Set(mUploadFailureReason, QString(), &cFakeApplication::uploadConfigFailureReasonChanged);
    mUploadProgress = 0.0f;
    emit uploadProgressChanged();
}

void cFakeApplication::downloadConfig()
{
    Log("downloadConfig()");
    Set(mDownloadFailureReason, QString(), &cFakeApplication::downloadConfigFailureReasonChanged);
    Set(mLoadReport, QString(), &cFakeApplication::loadConfigReportChanged);
}

void cFakeApplication::setAdminPassword(const QString& password)
{
    Log(QString("setAdminPassword(%1)").arg(password));
    Set(mAdminPassword, password, &cFakeApplication::adminPasswordStoredChanged);
}

void cFakeApplication::setTestWindowPassword(const QString& password)
{
    Log(QString("setTestWindowPassword(%1)").arg(password));
    Set(mTestWindowPassword, password, &cFakeApplication::testWindowPasswordStoredChanged);
}

void cFakeApplication::finishUpload(bool succeeded, const QString& reason)
{
    if (succeeded) {
        mUploadProgress = 1.0f;
        emit uploadProgressChanged();
        emit uploadConfigSuccessful();
        return;
    }
    Set(mUploadFailureReason, reason, &cFakeApplication::uploadConfigFailureReasonChanged);
    if (reason == "Incorrect password")
        Set(mAdminPassword, QString(), &cFakeApplication::adminPasswordStoredChanged);
    emit uploadConfigFailed();
}

void cFakeApplication::finishDownload(bool succeeded, const QString& reason)
{
    if (succeeded) {
        mConfig->reset();
        mConfig->setLayoutCount(3);
        Set(mLoadReport, mLoadedReport, &cFakeApplication::loadConfigReportChanged);
        setCurrentFilename(QString());
        emit downloadConfigSuccessful();
        return;
    }
    Set(mDownloadFailureReason, reason, &cFakeApplication::downloadConfigFailureReasonChanged);
    emit downloadConfigFailed();
}

void cFakeApplication::openHelp()
{
    Log("openHelp()");
    if (!mHelpFails)
        return;
    Set(mHelpFailureReason, QString("The user guide /opt/kelvari/Contents/Resources/Help/Help.pdf is missing"),
        &cFakeApplication::helpFailureReasonChanged);
    emit helpFailed();
}

void cFakeApplication::clearCalls()
{
    mConfig->clearCalls();
    mConnection->clearCalls();
    cFakeCalls::clearCalls();
}

void cFakeApplication::reset()
{
    mConfig->reset();
    mConnection->reset();
    clearCalls();
    setCurrentFilename(QString());
    mLastConfigFilePath.clear();
    mLoadSucceeds = mSaveSucceeds = true;
    mLoadedVersionIsNewer = mHelpFails = mUploadStored = false;
    mLoadedReport.clear();
    Set(mLoadReport, QString(), &cFakeApplication::loadConfigReportChanged);
    Set(mAdminPassword, QString(), &cFakeApplication::adminPasswordStoredChanged);
    Set(mAdminRememberPassword, true, &cFakeApplication::adminRememberPasswordChanged);
    Set(mTestWindowUsername, QString(), &cFakeApplication::testWindowUsernameChanged);
    Set(mTestWindowPassword, QString(), &cFakeApplication::testWindowPasswordStoredChanged);
    Set(mTestWindowRemember, true, &cFakeApplication::testWindowRememberLoginDetailsChanged);
}

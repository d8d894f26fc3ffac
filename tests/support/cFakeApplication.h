#pragma once

#include "Kelvari/Common/QQmlObjectListModelBase.h"
#include "cFakeConfig.h"
#include "cFakeConnectionInterface.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

// Stands in for "_application" in the main window's Qt Quick tests: opening,
// saving and transfers do nothing real; a test says how each ends and reads the calls.
class cFakeApplication : public QObject
{
    Q_OBJECT
    Q_PROPERTY(cFakeConfig* currentConfig READ currentConfig CONSTANT)
    Q_PROPERTY(cFakeConnectionInterface* connectionInterface READ connectionInterface CONSTANT)
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(QString fullVersion READ fullVersion CONSTANT)
    Q_PROPERTY(QString currentFilename READ currentFilename NOTIFY currentFilenameChanged)
    Q_PROPERTY(QString lastConfigFilePath READ lastConfigFilePath WRITE setLastConfigFilePath)
    Q_PROPERTY(QString loadConfigFailureReason MEMBER mLoadFailureReason NOTIFY loadConfigFailureReasonChanged)
    Q_PROPERTY(QString saveConfigFailureReason MEMBER mSaveFailureReason NOTIFY saveConfigFailureReasonChanged)
    Q_PROPERTY(QString downloadConfigFailureReason MEMBER mDownloadFailureReason NOTIFY
                   downloadConfigFailureReasonChanged)
    Q_PROPERTY(QString uploadConfigFailureReason MEMBER mUploadFailureReason NOTIFY uploadConfigFailureReasonChanged)
    Q_PROPERTY(float uploadProgress MEMBER mUploadProgress NOTIFY uploadProgressChanged)
    Q_PROPERTY(bool adminPasswordStored READ adminPasswordStored NOTIFY adminPasswordStoredChanged)
    Q_PROPERTY(bool adminRememberPassword MEMBER mAdminRememberPassword NOTIFY adminRememberPasswordChanged)
    Q_PROPERTY(QString testWindowUsername MEMBER mTestWindowUsername NOTIFY testWindowUsernameChanged)
    Q_PROPERTY(bool testWindowPasswordStored READ testWindowPasswordStored NOTIFY testWindowPasswordStoredChanged)
    Q_PROPERTY(bool testWindowRememberLoginDetails MEMBER mTestWindowRemember NOTIFY
                   testWindowRememberLoginDetailsChanged)
    Q_PROPERTY(QString helpFailureReason MEMBER mHelpFailureReason NOTIFY helpFailureReasonChanged)

    // What the layout editor page reads.
    Q_PROPERTY(bool snapToGrid MEMBER mSnapToGrid NOTIFY snapToGridChanged)
    Q_PROPERTY(int snapSpacing MEMBER mSnapSpacing NOTIFY snapSpacingChanged)
    Q_PROPERTY(bool ctrlHeld MEMBER mCtrlHeld CONSTANT)
    Q_PROPERTY(int propertyPanelWidth MEMBER mPropertyPanelWidth NOTIFY propertyPanelWidthChanged)
    Q_PROPERTY(int aspectRatioIndex MEMBER mAspectRatioIndex NOTIFY aspectRatioIndexChanged)
    Q_PROPERTY(QQmlObjectListModelBase* genericWidgets READ noWidgets CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* allNonGenericWidgets READ noWidgets CONSTANT)
    Q_PROPERTY(QStringList fontCodes READ fontCodes CONSTANT)

    // Knobs for the tests.
    Q_PROPERTY(bool loadSucceeds MEMBER mLoadSucceeds)
    Q_PROPERTY(bool loadedVersionIsNewer MEMBER mLoadedVersionIsNewer)
    Q_PROPERTY(bool saveSucceeds MEMBER mSaveSucceeds)
    Q_PROPERTY(bool helpFails MEMBER mHelpFails)
    Q_PROPERTY(QString adminPassword READ adminPassword)
    Q_PROPERTY(QStringList calls READ calls NOTIFY callsChanged)

public:
    explicit cFakeApplication(QObject* parent = nullptr);

    cFakeConfig* currentConfig() const { return mConfig; }
    cFakeConnectionInterface* connectionInterface() const { return mConnection; }
    QString version() const { return QStringLiteral("1.0.1"); }
    QString fullVersion() const { return QStringLiteral("V1.0.1 - Rev. 50124"); }
    QString currentFilename() const { return mCurrentFilename; }
    QString lastConfigFilePath() const { return mLastConfigFilePath; }
    void setLastConfigFilePath(const QString& path) { mLastConfigFilePath = path; }
    bool adminPasswordStored() const { return !mAdminPassword.isEmpty(); }
    bool testWindowPasswordStored() const { return !mTestWindowPassword.isEmpty(); }
    QString adminPassword() const { return mAdminPassword; }
    QStringList calls() const { return mCalls; }
    QQmlObjectListModelBase* noWidgets() const { return nullptr; }
    QStringList fontCodes() const { return {QStringLiteral("lato")}; }
    Q_INVOKABLE QString fontCodeToName(const QString&) const { return QStringLiteral("Lato"); }
    Q_INVOKABLE QString getWidgetName(const QString&) const { return QString(); }

    Q_INVOKABLE void createNewConfig();
    Q_INVOKABLE bool loadConfig(const QUrl& fileUrl);
    Q_INVOKABLE bool saveConfig(const QUrl& fileUrl);
    Q_INVOKABLE bool saveConfig();
    Q_INVOKABLE void uploadConfig();
    Q_INVOKABLE void downloadConfig();
    Q_INVOKABLE void setAdminPassword(const QString& password);
    Q_INVOKABLE void setTestWindowPassword(const QString& password);
    Q_INVOKABLE void applicationWindowReady() { Log(QStringLiteral("applicationWindowReady()")); }
    Q_INVOKABLE void testApplicationWindowReady(QObject* window)
    {
        Log(QStringLiteral("testApplicationWindowReady(%1)").arg(window ? window->objectName() : QString()));
    }
    Q_INVOKABLE void testApplicationWindowClosed() { Log(QStringLiteral("testApplicationWindowClosed()")); }
    Q_INVOKABLE void openHelp();
    Q_INVOKABLE void cancelTransfer() { Log(QStringLiteral("cancelTransfer()")); }

    // Knobs for the tests; a refused upload forgets the administrator password
    // as the application does; clearCalls() forgets the calls here, in the config and in the connection.
    Q_INVOKABLE void finishUpload(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void finishDownload(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void setCurrentFilename(const QString& filename);
    Q_INVOKABLE void clearCalls();
    Q_INVOKABLE void reset();

signals:
    void downloadConfigSuccessful();
    void downloadConfigFailed();
    void downloadConfigFailureReasonChanged();
    void uploadConfigSuccessful();
    void uploadConfigFailed();
    void uploadConfigFailureReasonChanged();
    void loadConfigFailureReasonChanged();
    void saveConfigFailureReasonChanged();
    void testWindowUsernameChanged();
    void testWindowPasswordStoredChanged();
    void testWindowRememberLoginDetailsChanged();
    void adminPasswordStoredChanged();
    void adminRememberPasswordChanged();
    void currentFilenameChanged();
    void uploadProgressChanged();
    void helpFailed();
    void helpFailureReasonChanged();
    void callsChanged();
    void snapToGridChanged();
    void snapSpacingChanged();
    void propertyPanelWidthChanged();
    void aspectRatioIndexChanged();

private:
    bool Save(const QString& filename);
    void SetReason(QString& member, const QString& reason, void (cFakeApplication::*changed)());
    void Log(const QString& call);

    cFakeConfig* mConfig = nullptr;
    cFakeConnectionInterface* mConnection = nullptr;
    QString mCurrentFilename;
    QString mLastConfigFilePath;
    QString mLoadFailureReason;
    QString mSaveFailureReason;
    QString mDownloadFailureReason;
    QString mUploadFailureReason;
    float mUploadProgress = 0.0f;
    QString mAdminPassword;
    bool mAdminRememberPassword = true;
    QString mTestWindowUsername;
    QString mTestWindowPassword;
    bool mTestWindowRemember = true;
    bool mLoadSucceeds = true;
    bool mLoadedVersionIsNewer = false;
    bool mSaveSucceeds = true;
    bool mHelpFails = false;
    QString mHelpFailureReason;
    QStringList mCalls;
    bool mSnapToGrid = false;
    int mSnapSpacing = 5;
    bool mCtrlHeld = false;
    int mPropertyPanelWidth = 250;
    int mAspectRatioIndex = 0;
};

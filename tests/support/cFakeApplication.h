#pragma once

#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cQmlUnit.h"
#include "Kelvari/Common/cResource.h"
#include "Kelvari/Common/cWidget.h"

#include <QObject>
#include <QQuickItem>
#include <QStringList>
#include <QUrl>

// Stand-ins for the application, its config and its connection interface in the main window's Qt Quick
// tests: the members the program's QML uses, knobs a test sets, and a log of the calls made.
class cFakeCalls : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList calls MEMBER mCalls NOTIFY callsChanged)

public:
    using QObject::QObject;
    Q_INVOKABLE void clearCalls() { Set(mCalls, {}, &cFakeCalls::callsChanged); }

signals:
    void callsChanged();

protected:
    void Log(const QString& call) { Set(mCalls, mCalls + QStringList{call}, &cFakeCalls::callsChanged); }
    template <class T, class O>
    void Set(T& member, const T& value, void (O::*changed)())
    {
        if (member == value)
            return;
        member = value;
        emit(static_cast<O*>(this)->*changed)();
    }

private:
    QStringList mCalls;
};

// A layout of the config: an empty page with default details, enough for the pages, a thumbnail and the test
// window, which it tells when to go online.
class cFakeLayout : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER mName CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* widgets MEMBER mWidgets CONSTANT)
    Q_PROPERTY(QQuickItem* editContent MEMBER mEditContent)
    Q_PROPERTY(QObject* selectionManager MEMBER mNothing CONSTANT)
    Q_PROPERTY(bool selected MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool allUsers MEMBER mTrue CONSTANT)
    Q_PROPERTY(QString users MEMBER mNoText CONSTANT)
    Q_PROPERTY(bool allScenes MEMBER mTrue CONSTANT)
    Q_PROPERTY(QString scenes MEMBER mNoText CONSTANT)
    Q_PROPERTY(bool desktop MEMBER mTrue CONSTANT)
    Q_PROPERTY(bool phone MEMBER mTrue CONSTANT)
    Q_PROPERTY(bool tablet MEMBER mTrue CONSTANT)
    Q_PROPERTY(int orientation MEMBER mZero CONSTANT)
    Q_PROPERTY(bool fixedAspectRatio MEMBER mFalse NOTIFY fixedAspectRatioChanged)
    Q_PROPERTY(int aspectRatio1 MEMBER mZero NOTIFY aspectRatio1Changed)
    Q_PROPERTY(int aspectRatio2 MEMBER mZero NOTIFY aspectRatio2Changed)
    Q_PROPERTY(bool hasUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool isPasteAllowed MEMBER mFalse CONSTANT)
    Q_PROPERTY(QStringList onlineCalls MEMBER mOnlineCalls)

public:
    explicit cFakeLayout(const QString& name) : mName(name) {}
    Q_INVOKABLE void setOnline(const QString& address) { mOnlineCalls.append("online " + address); }
    Q_INVOKABLE void setOffline() { mOnlineCalls.append("offline"); }
    Q_INVOKABLE void registerContentItem(QQuickItem*, bool) {}
    Q_INVOKABLE void registerDropArea(QQuickItem*) {}
    Q_INVOKABLE void tabPressed() {}
    Q_INVOKABLE void backtabPressed() {}
    Q_INVOKABLE void commitPendingEdits() {}

signals:
    void createRequest(cWidget* widget, QQuickItem* parentItem, int containerLocation);
    void deleteRequest(QQuickItem* item);
    void fixedAspectRatioChanged();
    void aspectRatio1Changed();
    void aspectRatio2Changed();
    void configClientNotFound();
    void authenticationFailedSignal();

private:
    QString mName;
    QStringList mOnlineCalls;
    QQmlObjectListModelBase* mWidgets = new QQmlObjectListModel<cWidget>(this);
    QQuickItem* mEditContent = nullptr;
    QObject* mNothing = nullptr;
    bool mTrue = true;
    bool mFalse = false;
    int mZero = 0;
    QString mNoText;
};

class cFakeConfig : public cFakeCalls
{
    Q_OBJECT
    Q_PROPERTY(QQmlObjectListModelBase* layouts READ layouts CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* resources READ resources CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* resourcesAndDefaults MEMBER mNoModel CONSTANT)
    Q_PROPERTY(bool dirty MEMBER mDirty NOTIFY dirtyChanged)
    Q_PROPERTY(int selectedLayoutIndex MEMBER mSelectedLayoutIndex NOTIFY selectedLayoutIndexChanged)
    Q_PROPERTY(int selectedResourceIndex MEMBER mNoIndex CONSTANT)
    Q_PROPERTY(QString version MEMBER mVersion NOTIFY versionStringChanged)
    Q_PROPERTY(bool configVersionIsNewer MEMBER mVersionIsNewer NOTIFY configVersionIsNewerChanged)
    Q_PROPERTY(bool hasResourceUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasResourceRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool isPasteAllowed MEMBER mFalse CONSTANT)

public:
    using cFakeCalls::cFakeCalls;
    QQmlObjectListModelBase* layouts() const { return mLayouts; }
    QQmlObjectListModelBase* resources() const { return mResources; }
    Q_INVOKABLE QString getResourceName(const QString&) const { return {}; }
    // Nothing is ever a duplicate.
    Q_INVOKABLE bool isLayoutNameDuplicate(QObject*, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutUsersDuplicate(QObject*, bool, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutDeviceInformationDuplicate(QObject*, bool, bool, bool, int) const { return false; }
    Q_INVOKABLE bool isLayoutScenesDuplicate(QObject*, bool, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutDetailsDuplicate(QObject*, bool, const QString&, bool, bool, bool, int, bool,
                                              const QString&) const { return false; }
    Q_INVOKABLE void undoPressed() { Log("undoPressed"); }
    Q_INVOKABLE void redoPressed() { Log("redoPressed"); }
    Q_INVOKABLE void cutPressed() { Log("cutPressed"); }
    Q_INVOKABLE void copyPressed() { Log("copyPressed"); }
    Q_INVOKABLE void pastePressed() { Log("pastePressed"); }
    Q_INVOKABLE void deletePressed() { Log("deletePressed"); }
    Q_INVOKABLE void resourceUndoPressed() { Log("resourceUndoPressed"); }
    Q_INVOKABLE void resourceRedoPressed() { Log("resourceRedoPressed"); }
    Q_INVOKABLE void deleteImage(int index) { Log(QString("deleteImage(%1)").arg(index)); }

    // Knobs: layouts named "Layout 1" on; reset() leaves it empty, clean, without layouts or version.
    Q_INVOKABLE void setLayoutCount(int count);
    void setDirty(bool dirty) { Set(mDirty, dirty, &cFakeConfig::dirtyChanged); }
    void setVersion(const QString& version, bool newer);
    void reset();

signals:
    void requestDetailsDialog(QObject* pendingLayout);
    void dirtyChanged();
    void selectedLayoutIndexChanged();
    void versionStringChanged();
    void configVersionIsNewerChanged();

private:
    QQmlObjectListModel<cFakeLayout>* mLayouts = new QQmlObjectListModel<cFakeLayout>(this);
    QQmlObjectListModel<cResource>* mResources = new QQmlObjectListModel<cResource>(this);
    QQmlObjectListModelBase* mNoModel = nullptr;
    bool mDirty = false;
    int mSelectedLayoutIndex = -1;
    int mNoIndex = -1;
    bool mFalse = false;
    QString mVersion;
    bool mVersionIsNewer = false;
};

// The unit list and connect calls of the real interface; each attempt ends only when a test says how.
class cFakeConnectionInterface : public cFakeCalls
{
    Q_OBJECT
    Q_PROPERTY(bool connected MEMBER mConnected NOTIFY connectedChanged)
    Q_PROPERTY(QString connectionFailureReason MEMBER mFailureReason NOTIFY connectionFailureReasonChanged)
    Q_PROPERTY(bool unitSilent MEMBER mUnitSilent NOTIFY unitSilentChanged)
    Q_PROPERTY(QQmlObjectListModelBase* unitList READ unitList CONSTANT)

public:
    using cFakeCalls::cFakeCalls;
    QQmlObjectListModelBase* unitList() const { return mUnits; }
    Q_INVOKABLE void connectToUnit(int index);
    Q_INVOKABLE void connectToHostByIpAddress(const QString& address);
    Q_INVOKABLE void connectToUnitName(const QString& name) { Log(QString("connectToUnitName(%1)").arg(name)); }
    Q_INVOKABLE QString getUnitName(int index) const
    {
        return mUnits->At(index) ? mUnits->At(index)->unitName() : QString();
    }
    Q_INVOKABLE QString getHostIPAddress() const { return mHost; }
    Q_INVOKABLE void disconnect() { Log("disconnect()"); setConnected(false); }
    Q_INVOKABLE QString padTo2(int number) const { return QString("%1").arg(number, 2, 10, QChar('0')); }

    // Knobs: a unit in the list; the pending attempt connected, or failed with the reason.
    Q_INVOKABLE void addUnit(const QString& ipAddress, const QString& unitName, const QString& information, int type);
    Q_INVOKABLE void finishAttempt(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void setConnected(bool connected)
    {
        Set(mConnected, connected, &cFakeConnectionInterface::connectedChanged);
    }
    void reset();

signals:
    void connectedChanged();
    void connectionFailureReasonChanged();
    void unitSilentChanged();
    void connectionAttemptFailed();
    void connectionAttemptSuccessful();

private:
    QQmlObjectListModel<cQmlUnit>* mUnits = new QQmlObjectListModel<cQmlUnit>(this);
    bool mConnected = false;
    bool mUnitSilent = false;
    QString mFailureReason;
    QString mHost;
};

// "_application": opening, saving and transfers do nothing real; a test says how each ends.
class cFakeApplication : public cFakeCalls
{
    Q_OBJECT
    Q_PROPERTY(QObject* currentConfig MEMBER mConfig CONSTANT)
    Q_PROPERTY(QObject* connectionInterface MEMBER mConnection CONSTANT)
    Q_PROPERTY(QString version MEMBER mVersion CONSTANT)
    Q_PROPERTY(QString fullVersion MEMBER mFullVersion CONSTANT)
    Q_PROPERTY(QString currentFilename MEMBER mCurrentFilename NOTIFY currentFilenameChanged)
    Q_PROPERTY(QString lastConfigFilePath MEMBER mLastConfigFilePath)
    Q_PROPERTY(QString loadConfigFailureReason MEMBER mLoadFailureReason NOTIFY loadConfigFailureReasonChanged)
    Q_PROPERTY(QString saveConfigFailureReason MEMBER mSaveFailureReason NOTIFY saveConfigFailureReasonChanged)
    Q_PROPERTY(QString loadConfigReport MEMBER mLoadReport NOTIFY loadConfigReportChanged)
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
    Q_PROPERTY(bool ctrlHeld MEMBER mFalse CONSTANT)
    Q_PROPERTY(int propertyPanelWidth MEMBER mPropertyPanelWidth NOTIFY propertyPanelWidthChanged)
    Q_PROPERTY(int aspectRatioIndex MEMBER mAspectRatioIndex NOTIFY aspectRatioIndexChanged)
    Q_PROPERTY(QQmlObjectListModelBase* genericWidgets MEMBER mNoWidgets CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* allNonGenericWidgets MEMBER mNoWidgets CONSTANT)
    Q_PROPERTY(QStringList fontCodes MEMBER mFontCodes CONSTANT)
    // Knobs for the tests.
    Q_PROPERTY(bool loadSucceeds MEMBER mLoadSucceeds)
    Q_PROPERTY(bool loadedVersionIsNewer MEMBER mLoadedVersionIsNewer)
    // What a successful load or download reports as left out.
    Q_PROPERTY(QString loadedReport MEMBER mLoadedReport)
    Q_PROPERTY(bool saveSucceeds MEMBER mSaveSucceeds)
    Q_PROPERTY(bool helpFails MEMBER mHelpFails)
    // The unit has stored the upload: too late to cancel it.
    Q_PROPERTY(bool uploadStored MEMBER mUploadStored)
    Q_PROPERTY(QString adminPassword MEMBER mAdminPassword NOTIFY adminPasswordStoredChanged)

public:
    explicit cFakeApplication(QObject* parent = nullptr) : cFakeCalls(parent) {}

    bool adminPasswordStored() const { return !mAdminPassword.isEmpty(); }
    bool testWindowPasswordStored() const { return !mTestWindowPassword.isEmpty(); }
    Q_INVOKABLE QString fontCodeToName(const QString&) const { return "Lato"; }
    Q_INVOKABLE QString getWidgetName(const QString&) const { return {}; }

    Q_INVOKABLE void createNewConfig();
    Q_INVOKABLE bool loadConfig(const QUrl& fileUrl);
    Q_INVOKABLE bool saveConfig(const QUrl& fileUrl);
    Q_INVOKABLE bool saveConfig() { return Save("saveConfig()", mCurrentFilename); }
    Q_INVOKABLE void uploadConfig();
    Q_INVOKABLE void downloadConfig();
    Q_INVOKABLE void setAdminPassword(const QString& password);
    Q_INVOKABLE void setTestWindowPassword(const QString& password);
    Q_INVOKABLE void applicationWindowReady() { Log("applicationWindowReady()"); }
    Q_INVOKABLE void testApplicationWindowReady(QObject* window)
    {
        Log(QString("testApplicationWindowReady(%1)").arg(window ? window->objectName() : QString()));
    }
    Q_INVOKABLE void testApplicationWindowClosed() { Log("testApplicationWindowClosed()"); }
    Q_INVOKABLE void openHelp();
    Q_INVOKABLE bool cancelTransfer()
    {
        Log("cancelTransfer()");
        return !mUploadStored;
    }

    // Knobs: a refused upload forgets the administrator password as the application does;
    // clearCalls() also forgets the config's and the connection's calls.
    Q_INVOKABLE void finishUpload(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void finishDownload(bool succeeded, const QString& reason = QString());
    Q_INVOKABLE void setCurrentFilename(const QString& name)
    {
        Set(mCurrentFilename, name, &cFakeApplication::currentFilenameChanged);
    }
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
    void loadConfigReportChanged();
    void testWindowUsernameChanged();
    void testWindowPasswordStoredChanged();
    void testWindowRememberLoginDetailsChanged();
    void adminPasswordStoredChanged();
    void adminRememberPasswordChanged();
    void currentFilenameChanged();
    void uploadProgressChanged();
    void helpFailed();
    void helpFailureReasonChanged();
    void snapToGridChanged();
    void snapSpacingChanged();
    void propertyPanelWidthChanged();
    void aspectRatioIndexChanged();

private:
    bool Save(const QString& call, const QString& filename);

    cFakeConfig* mConfig = new cFakeConfig(this);
    cFakeConnectionInterface* mConnection = new cFakeConnectionInterface(this);
    QString mVersion = "1.0.1";
    QString mFullVersion = "V1.0.1 - Rev. 50124";
    QString mCurrentFilename;
    QString mLastConfigFilePath;
    QString mLoadFailureReason;
    QString mSaveFailureReason;
    QString mLoadReport;
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
    QString mLoadedReport;
    bool mSaveSucceeds = true;
    bool mHelpFails = false;
    bool mUploadStored = false;
    QString mHelpFailureReason;
    bool mSnapToGrid = false;
    int mSnapSpacing = 5;
    bool mFalse = false;
    int mPropertyPanelWidth = 250;
    int mAspectRatioIndex = 0;
    QQmlObjectListModelBase* mNoWidgets = nullptr;
    QStringList mFontCodes{"lato"};
};

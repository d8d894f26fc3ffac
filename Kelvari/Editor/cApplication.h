#pragma once

#include "cApplicationBase.h"
#include "cLoginPassword.h"
#include "cTestWindowLogin.h"
#include "cToolboxWidget.h"
#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cCurrentConfigSource.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <string>

class cConfig;
class cKelvariConfigClient;
class cWindowGeometry;
class QWindow;

// The editor's root object, "_application" in QML: the config document with
// its file operations and its upload and download, the table of widget
// types, the user settings, the test window's geometry, the Ctrl key, text
// contrast and the help document.
class cApplication : public cApplicationBase, public cCurrentConfigSource, public cTestWindowLogin
{
    Q_OBJECT
    Q_PROPERTY(QStringList supportedUnits READ supportedUnits CONSTANT)
    Q_PROPERTY(cConfig* currentConfig READ currentConfig CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* allAvailableWidgets READ allAvailableWidgets CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* genericWidgets READ genericWidgets CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* allNonGenericWidgets READ allNonGenericWidgets CONSTANT)
    Q_PROPERTY(QString downloadConfigFailureReason READ downloadConfigFailureReason WRITE
                   SetDownloadConfigFailureReason NOTIFY downloadConfigFailureReasonChanged)
    Q_PROPERTY(QString uploadConfigFailureReason READ uploadConfigFailureReason WRITE SetUploadConfigFailureReason
                   NOTIFY uploadConfigFailureReasonChanged)
    Q_PROPERTY(float uploadProgress READ uploadProgress WRITE setUploadProgress NOTIFY uploadProgressChanged)
    Q_PROPERTY(QString loadConfigFailureReason READ loadConfigFailureReason WRITE SetLoadConfigFailureReason NOTIFY
                   loadConfigFailureReasonChanged)
    Q_PROPERTY(QString saveConfigFailureReason READ saveConfigFailureReason WRITE SetSaveConfigFailureReason NOTIFY
                   saveConfigFailureReasonChanged)
    Q_PROPERTY(QString loadConfigReport READ loadConfigReport NOTIFY loadConfigReportChanged)
    Q_PROPERTY(QString testWindowUsername READ testWindowUsername WRITE setTestWindowUsername NOTIFY
                   testWindowUsernameChanged)
    Q_PROPERTY(bool testWindowPasswordStored READ testWindowPasswordStored NOTIFY testWindowPasswordStoredChanged)
    Q_PROPERTY(bool testWindowRememberLoginDetails READ testWindowRememberLoginDetails WRITE
                   setTestWindowRememberLoginDetails NOTIFY testWindowRememberLoginDetailsChanged)
    Q_PROPERTY(bool adminPasswordStored READ adminPasswordStored NOTIFY adminPasswordStoredChanged)
    Q_PROPERTY(bool adminRememberPassword READ adminRememberPassword WRITE setAdminRememberPassword NOTIFY
                   adminRememberPasswordChanged)
    Q_PROPERTY(QString helpFailureReason READ helpFailureReason NOTIFY helpFailureReasonChanged)
    Q_PROPERTY(QString currentFilename READ currentFilename NOTIFY currentFilenameChanged)
    Q_PROPERTY(QString lastConfigFilePath READ lastConfigFilePath)
    Q_PROPERTY(QString lastImageFilePath READ lastImageFilePath)
    Q_PROPERTY(bool ctrlHeld READ ctrlHeld NOTIFY ctrlHeldChanged)
    Q_PROPERTY(bool snapToGrid READ snapToGrid WRITE setSnapToGrid NOTIFY snapToGridChanged)
    Q_PROPERTY(int snapSpacing READ snapSpacing WRITE setSnapSpacing NOTIFY snapSpacingChanged)
    Q_PROPERTY(int propertyPanelWidth READ propertyPanelWidth WRITE setPropertyPanelWidth NOTIFY
                   propertyPanelWidthChanged)
    Q_PROPERTY(int aspectRatioIndex READ aspectRatioIndex WRITE setAspectRatioIndex NOTIFY aspectRatioIndexChanged)

public:
    static const QString mUnknownWidgetQmlUrl;

    cApplication();
    ~cApplication() override;

    static void RegisterMetaTypes();

    // cCurrentConfigSource
    const cConfigBase* CurrentConfig() const override;

    QStringList supportedUnits() const { return mSupportedUnits; }
    cConfig* currentConfig() const { return mCurrentConfig; }
    QQmlObjectListModelBase* allAvailableWidgets() const { return mAllWidgets; }
    QQmlObjectListModelBase* genericWidgets() const { return mGenericWidgets; }
    QQmlObjectListModelBase* allNonGenericWidgets() const { return mNonGenericWidgets; }
    const QQmlObjectListModel<cToolboxWidget>& AllWidgets() const { return *mAllWidgets; }

    QString downloadConfigFailureReason() const { return mDownloadConfigFailureReason; }
    QString uploadConfigFailureReason() const { return mUploadConfigFailureReason; }
    float uploadProgress() const { return mUploadProgress; }
    QString loadConfigFailureReason() const { return mLoadConfigFailureReason; }
    QString saveConfigFailureReason() const { return mSaveConfigFailureReason; }
    // What the last load or download left out of the config or changed in it; empty when it took all as it was.
    QString loadConfigReport() const { return mLoadConfigReport; }
    void SetDownloadConfigFailureReason(const QString& reason);
    void SetUploadConfigFailureReason(const QString& reason);
    void setUploadProgress(float progress);
    void SetLoadConfigFailureReason(const QString& reason);
    void SetSaveConfigFailureReason(const QString& reason);
    void SetLoadConfigReport(const QString& report);

    // Logins; the hashes are those of GetHashedPassword. A password is kept
    // for the next log-in as soon as it is set, but reaches the settings
    // store only once the unit accepted it, and is forgotten when refused.
    QString testWindowUsername() const { return mTestWindowUsername; }
    bool testWindowPasswordStored() const { return !mTestWindowPassword.Hash().empty(); }
    bool testWindowRememberLoginDetails() const { return mTestWindowRememberLoginDetails; }
    bool adminPasswordStored() const { return !mAdminPassword.Hash().empty(); }
    bool adminRememberPassword() const { return mAdminRememberPassword; }
    const std::string& AdminPasswordHash() const { return mAdminPassword.Hash(); }
    void setTestWindowUsername(const QString& name);
    Q_INVOKABLE void setTestWindowPassword(const QString& Password);
    void setTestWindowRememberLoginDetails(bool remember);
    Q_INVOKABLE void setAdminPassword(const QString& Password);
    void setAdminRememberPassword(bool remember);

    QString currentFilename() const { return mCurrentFilename; }
    void SetCurrentFilename(const QString& fileName);
    // Local-file URLs of the remembered folders, or "" when there is none or it is gone.
    QString lastConfigFilePath() const;
    QString lastImageFilePath() const;
    Q_INVOKABLE void setLastImageFilePath(const QUrl& FileUrl);

    bool ctrlHeld() const { return mCtrlHeld; }
    void SetCtrlHeld(bool held);

    bool snapToGrid() const { return mSnapToGrid; }
    int snapSpacing() const { return mSnapSpacing; }
    int propertyPanelWidth() const { return mPropertyPanelWidth; }
    int aspectRatioIndex() const { return mAspectRatioIndex; }
    void setSnapToGrid(bool snap);
    void setSnapSpacing(int spacing);
    void setPropertyPanelWidth(int width);
    void setAspectRatioIndex(int index);

    Q_INVOKABLE void createNewConfig();
    // Failures leave their reason in loadConfigFailureReason / saveConfigFailureReason.
    Q_INVOKABLE bool loadConfig(const QUrl& FileUrl);
    Q_INVOKABLE bool saveConfig(const QUrl& FileUrl);
    Q_INVOKABLE bool saveConfig();

    // Move the document to or from the unit the connection interface was last
    // asked for; each ends in its Successful or Failed signal. At most one
    // transfer runs: a call while one runs is traced and changes nothing. An
    // upload that has sent chunks and fails ends the connection it ran on, so
    // that the unit drops what it holds.
    Q_INVOKABLE void downloadConfig();
    Q_INVOKABLE void uploadConfig();
    // Ends the running transfer at once, as a failure does, but without an
    // outcome signal: the caller asked for it. False when it is too late:
    // every chunk has gone to the unit, which stores the config all the same,
    // and the outcome follows as usual (the unit's answer, or the failure of a
    // unit that stays silent). True when none runs.
    Q_INVOKABLE bool cancelTransfer();
    // For tests: the most the uploaded document may take in memory.
    void SetUploadSizeLimit(int bytes) { mUploadSizeLimit = bytes; }

    // cTestWindowLogin
    QString TestWindowUsername() const override { return mTestWindowUsername; }
    const std::string& TestWindowPasswordHash() const override { return mTestWindowPassword.Hash(); }
    void TestWindowLoginAccepted() override;
    void TestWindowLoginRefused() override;

    Q_INVOKABLE QString getQmlUrlForType(const QString& Type) const;
    Q_INVOKABLE QString getWidgetName(const QString& WidgetType) const;

    // WCAG relative luminance and contrast; a's luminance is always on top.
    static double GetLuminancePartial(int component);
    static double GetLuminance(const QColor& colour);
    static double GetContrastRatio(const QColor& a, const QColor& b);
    // The text colour's contrast against the foreground composed over the background.
    Q_INVOKABLE double getTextColourRatio(const QColor& TextColour, const QColor& ForgroundColour,
                                          const QColor& BackgroundColour) const;
    Q_INVOKABLE double getTextColourRatio(const QColor& TextColour, const QColor& ForgroundColour) const;

    // Opens the user guide with the desktop's viewer; a failure ends in
    // helpFailed, with a reason that names the guide's path.
    Q_INVOKABLE void openHelp();
    QString helpFailureReason() const { return mHelpFailureReason; }

    void LoadSettings();
    void LoadTestWindowGeometry();
    void StoreTestWindowGeometry() const;
    const cWindowGeometry& TestWindowGeometry() const { return *mTestWindowGeometry; }

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void applicationWindowReady() override;
    // The test window, when it has become visible, hands itself in.
    void testApplicationWindowReady(QWindow* Window);
    void testApplicationWindowClosed();

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
    void helpFailed();
    void helpFailureReasonChanged();
    void currentFilenameChanged();
    void uploadProgressChanged();
    void ctrlHeldChanged();
    void snapToGridChanged();
    void snapSpacingChanged();
    void propertyPanelWidthChanged();
    void aspectRatioIndexChanged();

protected slots:
    void ApplicationSetWindowStateSlot() override;

private slots:
    void ApplicationSetTestWindowStateSlot();
    void Authenticate();
    void ConfigClientStartDownload();
    void DownloadConfigSuccessful();
    void DownloadConfigFailed();
    void ConfigClientStartUpload();
    void UploadConfigSuccessful();
    void UploadConfigFailed();
    void SetUploadProgress(float progress);

private:
    bool TransferRunning(const char* transfer) const;
    void CreateConfigClient();
    void ConnectConfigClient(void (cKelvariConfigClient::*signal)(), void (cApplication::*slot)());
    void SeekConfigManager();
    void DeleteConfigClient();
    void FailDownload(const QString& reason);
    void FailUpload(const QString& reason);
    void AdminLoginAccepted();
    void AdminLoginRefused();
    static QString DownloadFailureText(int code);
    static QString UploadFailureText(int code);
    bool SaveConfigTo(const QString& fileName);
    void RememberConfigFolder(const QString& fileName);
    void StoreTestWindowLogin() const;
    void StoreAdminPassword() const;
    static QString FolderUrl(const QString& folder);

    cConfig* mCurrentConfig = nullptr;
    // The running transfer's client, null between transfers; the number tells
    // its signals from those of earlier clients still queued.
    cKelvariConfigClient* mConfigClient = nullptr;
    quint64 mTransferNumber = 0;
    int mUploadSizeLimit;
    QStringList mSupportedUnits;
    QQmlObjectListModel<cToolboxWidget>* mAllWidgets;
    QQmlObjectListModel<cToolboxWidget>* mGenericWidgets;
    QQmlObjectListModel<cToolboxWidget>* mNonGenericWidgets;
    QString mDownloadConfigFailureReason;
    QString mUploadConfigFailureReason;
    QString mLoadConfigFailureReason;
    QString mSaveConfigFailureReason;
    QString mLoadConfigReport;
    float mUploadProgress = 0.0f;
    QString mTestWindowUsername;
    cLoginPassword mTestWindowPassword;
    bool mTestWindowRememberLoginDetails = true;
    cLoginPassword mAdminPassword;
    bool mAdminRememberPassword = true;
    QString mHelpFailureReason;
    QString mCurrentFilename;
    bool mCtrlHeld = false;
    cWindowGeometry* mTestWindowGeometry = nullptr;
    QString mLastConfigFolder;
    QString mLastImageFolder;
    bool mSnapToGrid = false;
    int mSnapSpacing = 5;
    int mPropertyPanelWidth = 250;
    int mAspectRatioIndex = 0;
};

#include "cApplication.h"

#include "cBundleLocator.h"
#include "cConfig.h"
#include "cEditorWidgetFactory.h"
#include "cLayout.h"
#include "cToolboxWidget.h"
#include "cUserSettings.h"
#include "cWindowGeometry.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cResource.h"
#include "Kelvari/Common/cWidget.h"
#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtQml>

#include <cmath>

namespace
{
struct sWidgetTypeRow
{
    const char* mName;
    const char* mType;
    const char* mQmlUrl;
};

const sWidgetTypeRow kGenericRows[] = {
    {"Image", "image", "../Widgets/GeneralImage.qml"},
    {"Label", "text", "../Widgets/TextWidget.qml"},
    {"Tab Container", "tab_container", "../Widgets/TabContainer.qml"},
    {"Rectangle", "rect", "../Widgets/RectangleWidget.qml"},
};

const sWidgetTypeRow kNonGenericRows[] = {
    {"Button", "zrnet_button", "../Widgets/ZRNetButton.qml"},
    {"Rotary", "zrnet_rotary", "../Widgets/ZRNetRotary.qml"},
    {"Fader", "zrnet_fader", "../Widgets/ZRNetFader.qml"},
    {"LED", "zrnet_led", "../Widgets/ZRNetLEDIndicator.qml"},
    {"Meter", "zrnet_meter", "../Widgets/ZRNetMeter.qml"},
    {"GR Meter", "zrnet_grmeter", "../Widgets/ZRNetGRMeter.qml"},
    {"Chrom Meter", "zrnet_chrom_meter", "../Widgets/ZRNetChromaticMeter.qml"},
    {"Source Selector", "zrnet_source_sel", "../Widgets/ZRNetSourceSelector.qml"},
    {"Dynamic Label", "zrnet_text", "../Widgets/ZRNetTextWidget.qml"},
};

const char* const kConfigClientName = "KelvariConfigClient";
// The client's progress is a fraction of chunks; smaller steps would only redraw the bar.
constexpr float kUploadProgressTolerance = 0.0001f;
}

const QString cApplication::mUnknownWidgetQmlUrl = QStringLiteral("../Widgets/UnknownWidget.qml");

cApplication::cApplication()
    : cApplicationBase(false)
{
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    mCurrentConfig = new cConfig(this);
    mSupportedUnits << QStringLiteral("Oskel Dorvel") << QStringLiteral("Halvor Dorvel")
                    << QStringLiteral("Pemra Dorvel");

    QList<cToolboxWidget*> generic;
    for (const sWidgetTypeRow& row : kGenericRows)
        generic << new cToolboxWidget(QString::fromLatin1(row.mName), QString::fromLatin1(row.mType),
                                      QString::fromLatin1(row.mQmlUrl), this);
    QList<cToolboxWidget*> nonGeneric;
    for (const sWidgetTypeRow& row : kNonGenericRows)
        nonGeneric << new cToolboxWidget(QString::fromLatin1(row.mName), QString::fromLatin1(row.mType),
                                         QString::fromLatin1(row.mQmlUrl), this);
    mGenericWidgets = new QQmlObjectListModel<cToolboxWidget>(this);
    mGenericWidgets->append(generic);
    mNonGenericWidgets = new QQmlObjectListModel<cToolboxWidget>(this);
    mNonGenericWidgets->append(nonGeneric);
    mAllWidgets = new QQmlObjectListModel<cToolboxWidget>(this);
    mAllWidgets->append(generic + nonGeneric);

    RegisterMetaTypes();
    LoadSettings();
    mTestWindowGeometry = new cWindowGeometry(cUserSettings::eTestWindowGeometry, this);
    LoadTestWindowGeometry();
}

cApplication::~cApplication()
{
    // Before the base stops the messaging layer that the client is registered with.
    DeleteConfigClient();
    StoreTestWindowGeometry();
    delete mCurrentConfig;
    mCurrentConfig = nullptr;
}

void cApplication::RegisterMetaTypes()
{
    cApplicationBase::RegisterMetaTypes();
    // The document's header is not seen where "currentConfig" is declared, so QML needs it named here.
    qRegisterMetaType<cConfig*>("cConfig*");
    qRegisterMetaType<cLayout*>("cLayout*");
    qRegisterMetaType<QQmlObjectListModel<cLayout>*>("QQmlObjectListModel<cLayout>*");
    qRegisterMetaType<QQmlObjectListModel<cWidget>*>("QQmlObjectListModel<cWidget>*");
    qRegisterMetaType<QQmlObjectListModel<cGroupProperty>*>("QQmlObjectListModel<cGroupProperty>*");
    qRegisterMetaType<QQmlObjectListModel<cToolboxWidget>*>("QQmlObjectListModel<cToolboxWidget>*");
    qRegisterMetaType<QQmlObjectListModel<cResource>*>("QQmlObjectListModel<cResource>*");
    qRegisterMetaType<QQmlObjectListModel<cProperty>*>("QQmlObjectListModel<cProperty>*");
    qmlRegisterUncreatableType<cProperty>("ZRItems", 1, 0, "Property", QStringLiteral("Should not be created in qml"));
    qmlRegisterUncreatableType<cLayoutSelectionManager>("ZRItems", 1, 0, "LayoutSelectionManager",
                                                        QStringLiteral("Should not be created in qml"));
}

const cConfigBase* cApplication::CurrentConfig() const
{
    return mCurrentConfig;
}

void cApplication::SetDownloadConfigFailureReason(const QString& reason)
{
    if (reason == mDownloadConfigFailureReason)
        return;
    mDownloadConfigFailureReason = reason;
    emit downloadConfigFailureReasonChanged();
}

void cApplication::SetUploadConfigFailureReason(const QString& reason)
{
    if (reason == mUploadConfigFailureReason)
        return;
    mUploadConfigFailureReason = reason;
    emit uploadConfigFailureReasonChanged();
}

void cApplication::setUploadProgress(float progress)
{
    if (progress == mUploadProgress)
        return;
    mUploadProgress = progress;
    emit uploadProgressChanged();
}

void cApplication::SetLoadConfigFailureReason(const QString& reason)
{
    if (reason == mLoadConfigFailureReason)
        return;
    mLoadConfigFailureReason = reason;
    emit loadConfigFailureReasonChanged();
}

void cApplication::SetSaveConfigFailureReason(const QString& reason)
{
    if (reason == mSaveConfigFailureReason)
        return;
    mSaveConfigFailureReason = reason;
    emit saveConfigFailureReasonChanged();
}

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

void cApplication::SetCurrentFilename(const QString& fileName)
{
    if (fileName == mCurrentFilename)
        return;
    mCurrentFilename = fileName;
    emit currentFilenameChanged();
}

QString cApplication::FolderUrl(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QString();
    return QUrl::fromLocalFile(folder).toString();
}

QString cApplication::lastConfigFilePath() const
{
    return FolderUrl(mLastConfigFolder);
}

QString cApplication::lastImageFilePath() const
{
    return FolderUrl(mLastImageFolder);
}

void cApplication::setLastImageFilePath(const QUrl& FileUrl)
{
    mLastImageFolder = QFileInfo(FileUrl.toLocalFile()).absolutePath();
    cUserSettings::Write(cUserSettings::eLastImageFolder, mLastImageFolder);
}

void cApplication::RememberConfigFolder(const QString& fileName)
{
    mLastConfigFolder = QFileInfo(fileName).absolutePath();
    cUserSettings::Write(cUserSettings::eLastConfigFolder, mLastConfigFolder);
}

void cApplication::SetCtrlHeld(bool held)
{
    if (held == mCtrlHeld)
        return;
    mCtrlHeld = held;
    emit ctrlHeldChanged();
}

void cApplication::setSnapToGrid(bool snap)
{
    if (snap == mSnapToGrid)
        return;
    mSnapToGrid = snap;
    emit snapToGridChanged();
    cUserSettings::Write(cUserSettings::eSnapToGrid, snap);
}

void cApplication::setSnapSpacing(int spacing)
{
    if (spacing == mSnapSpacing)
        return;
    mSnapSpacing = spacing;
    emit snapSpacingChanged();
    cUserSettings::Write(cUserSettings::eSnapSpacing, spacing);
}

void cApplication::setPropertyPanelWidth(int width)
{
    if (width == mPropertyPanelWidth)
        return;
    mPropertyPanelWidth = width;
    emit propertyPanelWidthChanged();
    cUserSettings::Write(cUserSettings::ePropertyPanelWidth, width);
}

void cApplication::setAspectRatioIndex(int index)
{
    if (index == mAspectRatioIndex)
        return;
    mAspectRatioIndex = index;
    emit aspectRatioIndexChanged();
    cUserSettings::Write(cUserSettings::eAspectRatioIndex, index);
}

void cApplication::createNewConfig()
{
    mCurrentConfig->Reset(true);
    SetCurrentFilename(QString());
}

bool cApplication::loadConfig(const QUrl& FileUrl)
{
    SetLoadConfigFailureReason(QString());
    QFile file(FileUrl.toLocalFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        ZR_ERROR("Error opening file %s", qUtf8Printable(FileUrl.toString()));
        SetLoadConfigFailureReason(QStringLiteral("Error opening file ") + FileUrl.toString());
        return false;
    }
    if (!mCurrentConfig->ReadXml(file))
    {
        SetLoadConfigFailureReason(mCurrentConfig->LoadFailureText());
        return false;
    }
    SetCurrentFilename(file.fileName());
    RememberConfigFolder(file.fileName());
    return true;
}

bool cApplication::saveConfig(const QUrl& FileUrl)
{
    return SaveConfigTo(FileUrl.toLocalFile());
}

bool cApplication::saveConfig()
{
    return SaveConfigTo(mCurrentFilename);
}

// The file is written under a temporary name and replaces the old one only
// when complete, so a failed save leaves the user's previous file whole.
bool cApplication::SaveConfigTo(const QString& fileName)
{
    SetSaveConfigFailureReason(QString());
    if (!mCurrentConfig->SaveXml(fileName))
    {
        SetSaveConfigFailureReason(mCurrentConfig->LoadFailureText());
        return false;
    }
    SetCurrentFilename(fileName);
    mCurrentConfig->SetSavePoint();
    RememberConfigFolder(fileName);
    return true;
}

void cApplication::downloadConfig()
{
    if (TransferRunning("download"))
        return;
    SetDownloadConfigFailureReason(QString());
    CreateConfigClient();
    ConnectConfigClient(&cKelvariConfigClient::SeekSuccessful, &cApplication::Authenticate);
    ConnectConfigClient(&cKelvariConfigClient::Authenticated, &cApplication::ConfigClientStartDownload);
    ConnectConfigClient(&cKelvariConfigClient::AuthenticationFailed, &cApplication::DownloadConfigFailed);
    ConnectConfigClient(&cKelvariConfigClient::SeekFailed, &cApplication::DownloadConfigFailed);
    ConnectConfigClient(&cKelvariConfigClient::DownloadConfigSuccessful, &cApplication::DownloadConfigSuccessful);
    ConnectConfigClient(&cKelvariConfigClient::DownloadConfigFailed, &cApplication::DownloadConfigFailed);
    SeekConfigManager();
}

void cApplication::uploadConfig()
{
    if (TransferRunning("upload"))
        return;
    SetUploadConfigFailureReason(QString());
    CreateConfigClient();
    SetUploadProgress(0.0f);
    ConnectConfigClient(&cKelvariConfigClient::SeekSuccessful, &cApplication::Authenticate);
    ConnectConfigClient(&cKelvariConfigClient::Authenticated, &cApplication::ConfigClientStartUpload);
    ConnectConfigClient(&cKelvariConfigClient::AuthenticationFailed, &cApplication::UploadConfigFailed);
    ConnectConfigClient(&cKelvariConfigClient::SeekFailed, &cApplication::UploadConfigFailed);
    ConnectConfigClient(&cKelvariConfigClient::UploadConfigSuccessful, &cApplication::UploadConfigSuccessful);
    ConnectConfigClient(&cKelvariConfigClient::UploadConfigFailed, &cApplication::UploadConfigFailed);
    const quint64 transfer = mTransferNumber;
    connect(
        mConfigClient, &cKelvariConfigClient::UploadProgress, this,
        [this, transfer](float progress) {
            if (mConfigClient && transfer == mTransferNumber)
                SetUploadProgress(progress);
        },
        Qt::QueuedConnection);
    SeekConfigManager();
}

// Starting over would orphan the running client and its caller's outcome.
bool cApplication::TransferRunning(const char* transfer) const
{
    if (!mConfigClient)
        return false;
    ZR_ERROR("Cannot start the %s: another transfer is running", transfer);
    return true;
}

void cApplication::CreateConfigClient()
{
    ++mTransferNumber;
    SyscallMessagesPollLock();
    mConfigClient = new cKelvariConfigClient(kConfigClientName);
    SyscallMessagesPollUnLock();
    mConfigClient->setParent(this);
}

// Always queued, also for a signal the client emits inside one of our own
// calls, so that no slot deletes the client while it is still running. A
// signal of an ended transfer, or a second end signal, finds another number
// or no client and is dropped.
void cApplication::ConnectConfigClient(void (cKelvariConfigClient::*signal)(), void (cApplication::*slot)())
{
    const quint64 transfer = mTransferNumber;
    connect(
        mConfigClient, signal, this,
        [this, transfer, slot] {
            if (mConfigClient && transfer == mTransferNumber)
                (this->*slot)();
        },
        Qt::QueuedConnection);
}

void cApplication::SeekConfigManager()
{
    const QByteArray path = connectionInterface()->HostText() + '/' + kConfigManagerName;
    // Nobody ever answers a client that could not register (no messaging layer).
    if (mConfigClient->Handle() == kZRNetNoHandle)
        emit mConfigClient->SeekFailed();
    else
        mConfigClient->SeekObject(path.constData());
}

void cApplication::DeleteConfigClient()
{
    delete mConfigClient;
    mConfigClient = nullptr;
}

void cApplication::Authenticate()
{
    mConfigClient->Authenticate(GetHashedString(QStringLiteral("Admin")), mAdminPasswordHash);
}

void cApplication::ConfigClientStartDownload()
{
    mConfigClient->DownloadConfig();
}

void cApplication::ConfigClientStartUpload()
{
    QByteArray data;
    mCurrentConfig->WriteXml(data);
    mConfigClient->UploadConfig(data);
}

void cApplication::SetUploadProgress(float progress)
{
    if (std::fabs(progress - mUploadProgress) <= kUploadProgressTolerance)
        return;
    mUploadProgress = progress;
    emit uploadProgressChanged();
}

// The temporary file belongs to the client, so it is read before the client goes.
void cApplication::DownloadConfigSuccessful()
{
    QFile file(mConfigClient->GetConfigDataTempFilename());
    if (!file.open(QIODevice::ReadOnly))
    {
        DeleteConfigClient();
        FailDownload(QStringLiteral("Cannot open temporary file"));
        return;
    }
    if (file.size() == 0)
    {
        file.close();
        DeleteConfigClient();
        FailDownload(QStringLiteral("Unit does not have a stored configuration"));
        return;
    }
    const bool read = mCurrentConfig->ReadXml(file);
    file.close();
    DeleteConfigClient();
    SetCurrentFilename(QString());
    if (read)
        emit downloadConfigSuccessful();
    else
        FailDownload(mCurrentConfig->LoadFailureText());
}

void cApplication::DownloadConfigFailed()
{
    const QString reason = DownloadFailureText(mConfigClient->FailureReasonCode());
    DeleteConfigClient();
    FailDownload(reason.isNull() ? mDownloadConfigFailureReason : reason);
}

void cApplication::UploadConfigSuccessful()
{
    DeleteConfigClient();
    emit uploadConfigSuccessful();
}

void cApplication::UploadConfigFailed()
{
    const QString reason = UploadFailureText(mConfigClient->FailureReasonCode());
    DeleteConfigClient();
    FailUpload(reason.isNull() ? mUploadConfigFailureReason : reason);
}

void cApplication::FailDownload(const QString& reason)
{
    ZR_NOTIFY("Download failed: %s", qUtf8Printable(reason));
    SetDownloadConfigFailureReason(reason);
    emit downloadConfigFailed();
}

void cApplication::FailUpload(const QString& reason)
{
    ZR_NOTIFY("Upload failed: %s", qUtf8Printable(reason));
    SetUploadConfigFailureReason(reason);
    emit uploadConfigFailed();
}

// Null where the reason is left as it was.
QString cApplication::DownloadFailureText(int code)
{
    switch (code)
    {
    case 0:
    case 1:
        return QStringLiteral("Unknown error");
    case 2:
        return QStringLiteral("The connection to the Dorvel was lost during the download");
    case 3:
        return QStringLiteral("Dorvel encountered an error while processing the download");
    case 4:
        return QStringLiteral("Incorrect password");
    default:
        return QString();
    }
}

QString cApplication::UploadFailureText(int code)
{
    switch (code)
    {
    case 0:
    case 1:
        return QStringLiteral("Unknown error");
    case 2:
        return QStringLiteral("The connection to the Dorvel was lost during the upload");
    case 3:
        return QStringLiteral("Dorvel encountered an error while processing the upload");
    case 4:
        return QStringLiteral("Incorrect password");
    case 5:
        return QStringLiteral("Another upload was already in progress");
    default:
        return QString();
    }
}

QString cApplication::getQmlUrlForType(const QString& Type) const
{
    for (const cToolboxWidget* row : mAllWidgets->Items())
        if (row->widgetType() == Type)
            return row->qmlUrl();
    return mUnknownWidgetQmlUrl;
}

QString cApplication::getWidgetName(const QString& WidgetType) const
{
    if (WidgetType == cWidget::mMultipleTypeName)
        return QStringLiteral("Multiple");
    for (const cToolboxWidget* row : mAllWidgets->Items())
        if (row->widgetType() == WidgetType)
            return row->widgetName();
    return QString();
}

double cApplication::GetLuminancePartial(int component)
{
    const double v = component / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double cApplication::GetLuminance(const QColor& colour)
{
    return 0.2126 * GetLuminancePartial(colour.red()) + 0.7152 * GetLuminancePartial(colour.green()) +
           0.0722 * GetLuminancePartial(colour.blue());
}

double cApplication::GetContrastRatio(const QColor& a, const QColor& b)
{
    return (GetLuminance(a) + 0.05) / (GetLuminance(b) + 0.05);
}

double cApplication::getTextColourRatio(const QColor& TextColour, const QColor& ForgroundColour,
                                        const QColor& BackgroundColour) const
{
    const double alpha = ForgroundColour.alphaF();
    auto compose = [alpha](double foreground, double background) {
        return int((foreground * alpha + background * (1.0 - alpha)) * 255.0);
    };
    const QColor composed(compose(ForgroundColour.redF(), BackgroundColour.redF()),
                          compose(ForgroundColour.greenF(), BackgroundColour.greenF()),
                          compose(ForgroundColour.blueF(), BackgroundColour.blueF()));
    return GetContrastRatio(TextColour, composed);
}

double cApplication::getTextColourRatio(const QColor& TextColour, const QColor& ForgroundColour) const
{
    return getTextColourRatio(TextColour, ForgroundColour, QColor(Qt::white));
}

void cApplication::openHelp() const
{
    const QString path = cBundleLocator::HelpDocumentPath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ZR_ERROR("Could not open the help document %s", qUtf8Printable(path));
}

void cApplication::LoadSettings()
{
    mTestWindowUsername = cUserSettings::ReadString(cUserSettings::eTestWindowUsername);
    mTestWindowPasswordHash = cUserSettings::ReadString(cUserSettings::eTestWindowPasswordHash).toStdString();
    mTestWindowRememberLoginDetails = cUserSettings::ReadBool(cUserSettings::eRememberTestWindowLogin);
    mAdminPasswordHash = cUserSettings::ReadString(cUserSettings::eAdminPasswordHash).toStdString();
    mAdminRememberPassword = cUserSettings::ReadBool(cUserSettings::eRememberAdminPassword);
    mLastConfigFolder = cUserSettings::ReadString(cUserSettings::eLastConfigFolder);
    mLastImageFolder = cUserSettings::ReadString(cUserSettings::eLastImageFolder);
    mSnapToGrid = cUserSettings::ReadBool(cUserSettings::eSnapToGrid);
    mSnapSpacing = cUserSettings::ReadInt(cUserSettings::eSnapSpacing);
    mPropertyPanelWidth = cUserSettings::ReadInt(cUserSettings::ePropertyPanelWidth);
    mAspectRatioIndex = cUserSettings::ReadInt(cUserSettings::eAspectRatioIndex);
}

void cApplication::LoadTestWindowGeometry()
{
    mTestWindowGeometry->Load();
}

void cApplication::StoreTestWindowGeometry() const
{
    mTestWindowGeometry->Store();
}

bool cApplication::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        SetCtrlHeld(static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ControlModifier));
    return cApplicationBase::eventFilter(watched, event);
}

void cApplication::applicationWindowReady()
{
    cApplicationBase::applicationWindowReady();
    if (QWindow* window = MainWindowTracker().Window())
    {
        window->setFlag(Qt::WindowFullscreenButtonHint);
        QMetaObject::invokeMethod(this, "ApplicationSetWindowStateSlot", Qt::QueuedConnection);
    }
}

void cApplication::ApplicationSetWindowStateSlot()
{
    MainWindowTracker().ApplyWindowState();
}

void cApplication::testApplicationWindowReady()
{
    const QWindowList windows = QGuiApplication::allWindows();
    if (windows.isEmpty())
        return;
    // The most recently created window comes first: the test window reporting ready.
    QWindow* window = windows.first();
    window->setFlag(Qt::WindowFullscreenButtonHint);
    QMetaObject::invokeMethod(this, "ApplicationSetTestWindowStateSlot", Qt::QueuedConnection);
    mTestWindowGeometry->Attach(window);
}

void cApplication::testApplicationWindowClosed()
{
    mTestWindowGeometry->Detach();
}

void cApplication::ApplicationSetTestWindowStateSlot()
{
    mTestWindowGeometry->ApplyWindowState();
}

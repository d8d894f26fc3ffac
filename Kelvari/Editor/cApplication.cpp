#include "cApplication.h"

#include "cBundleLocator.h"
#include "cConfig.h"
#include "cEditorWidgetFactory.h"
#include "cLayout.h"
#include "cToolboxWidget.h"
#include "cUserSettings.h"
#include "cWindowGeometry.h"
#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cResource.h"
#include "Kelvari/Common/cSourceInfo.h"
#include "Kelvari/Common/cWidget.h"
#include "ZRNet/Core/DebugTrace.h"

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
}

const QString cApplication::mUnknownWidgetQmlUrl = QStringLiteral("../Widgets/UnknownWidget.qml");

cApplication::cApplication()
    : cApplicationBase(false), mUploadSizeLimit(cConfig::MaxInMemorySize)
{
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    mCurrentConfig = new cConfig(this);
    mCurrentConfig->SetTestWindowLogin(this);
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
    qRegisterMetaType<QQmlObjectListModel<cSourceInfo>*>("QQmlObjectListModel<cSourceInfo>*");
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

void cApplication::SetLoadConfigReport(const QString& report)
{
    if (report == mLoadConfigReport)
        return;
    mLoadConfigReport = report;
    emit loadConfigReportChanged();
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
    SetLoadConfigReport(QString());
    QFile file(FileUrl.toLocalFile());
    // As bytes: text mode drops every carriage return byte, also those inside UTF-16 characters.
    if (!file.open(QIODevice::ReadOnly))
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
    SetLoadConfigReport(mCurrentConfig->ReadReport().Text());
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

void cApplication::openHelp()
{
    const QString path = cBundleLocator::HelpDocumentPath();
    QString reason;
    if (!QFileInfo(path).isFile())
        reason = QStringLiteral("The user guide %1 is missing").arg(path);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        reason = QStringLiteral("No program to show PDF files could open the user guide %1").arg(path);
    if (reason != mHelpFailureReason)
    {
        mHelpFailureReason = reason;
        emit helpFailureReasonChanged();
    }
    if (reason.isEmpty())
        return;
    ZR_ERROR("%s", qUtf8Printable(reason));
    emit helpFailed();
}

void cApplication::LoadSettings()
{
    mTestWindowUsername = cUserSettings::ReadString(cUserSettings::eTestWindowUsername);
    mTestWindowPassword.Load(cUserSettings::ReadString(cUserSettings::eTestWindowPasswordHash).toStdString());
    mTestWindowRememberLoginDetails = cUserSettings::ReadBool(cUserSettings::eRememberTestWindowLogin);
    mAdminPassword.Load(cUserSettings::ReadString(cUserSettings::eAdminPasswordHash).toStdString());
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

// The window is handed in rather than looked up among all windows, where the
// newest one may as well be a dialog.
void cApplication::testApplicationWindowReady(QWindow* Window)
{
    if (!Window)
    {
        ZR_ERROR("The test window reported ready without itself");
        return;
    }
    Window->setFlag(Qt::WindowFullscreenButtonHint);
    QMetaObject::invokeMethod(this, "ApplicationSetTestWindowStateSlot", Qt::QueuedConnection);
    mTestWindowGeometry->Attach(Window);
}

void cApplication::testApplicationWindowClosed()
{
    mTestWindowGeometry->Detach();
}

void cApplication::ApplicationSetTestWindowStateSlot()
{
    mTestWindowGeometry->ApplyWindowState();
}

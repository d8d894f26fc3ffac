#include "cApplicationBase.h"

#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cEncryption.h"
#include "Kelvari/Common/cKelvariFonts.h"
#include "Kelvari/Common/cMeterClipItem.h"
#include "Kelvari/Common/cQmlUnit.h"
#include "Kelvari/Common/cTab.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Common/cConfigBase.h"
#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QAbstractSocket>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QRegExp>
#include <QWindow>
#include <QtQml>

cApplicationBase::cApplicationBase(bool demoMode)
    : QObject(nullptr)
{
    mConnectionInterface = new cConnectionInterface(demoMode, this);
    mMainWindowGeometry = new cWindowGeometry(cUserSettings::eMainWindowGeometry, this);
    mFontCodes = cKelvariFonts::mFontCodesToNames.keys();
    LoadWindowGeometry();
}

cApplicationBase::~cApplicationBase()
{
    StoreWindowGeometry();
    delete mConnectionInterface;
    mConnectionInterface = nullptr;
    StopZRNet();
}

void cApplicationBase::StartZRNet()
{
    if (mPollThread)
        return;
    cNetworkConnection::AllowInstanceOf(true);
    InitialiseSyscall(eAbortAllLinksOnTermination, true);
    mConnectionInterface->SetZRNetNetworkConnection(cNetworkConnection::Instance());
    cNetworkConnection::Instance()->InitialiseLostComms();
    mPollThread = new cSyscallThread;
    mTickDriver = new cActionTickDriver(nullptr);
    mPollThread->StartSyscall();
    mTickDriver->StartTimer();
    SyscallSetStartTicks(true);
    ZR_NOTIFY("ZRNet layer started");
}

void cApplicationBase::StopZRNet()
{
    if (!mPollThread)
        return;
    SyscallSetStartTicks(false);
    mPollThread->QuitSyscallAndWait();
    if (mConnectionInterface)
        mConnectionInterface->SetZRNetNetworkConnection(nullptr);
    delete mTickDriver;
    mTickDriver = nullptr;
    delete mPollThread;
    mPollThread = nullptr;
    cNetworkConnection::Instance()->UninitialiseLostComms();
    cNetworkConnection::DeleteInstance();
    UninitialiseSyscall();
    ZR_NOTIFY("ZRNet layer stopped");
}

void cApplicationBase::RegisterMetaTypes()
{
    qRegisterMetaType<UWORD>("UWORD");
    qRegisterMetaType<cConnectionInterface*>("cConnectionInterface*");
    qRegisterMetaType<cQmlUnit*>("cQmlUnit*");
    qRegisterMetaType<cWidget*>("cWidget*");
    qRegisterMetaType<QQmlObjectListModel<cQmlUnit>*>("QQmlObjectListModel<cQmlUnit>*");
    qRegisterMetaType<QQmlObjectListModel<cTab>*>("QQmlObjectListModel<cTab>*");
    qRegisterMetaType<std::string>("std::string");
    qRegisterMetaType<QAbstractSocket::SocketError>("QAbstractSocket::SocketError");
    qmlRegisterUncreatableType<cQmlUnit>("ZRQml", 1, 0, "QmlUnit",
                                         QStringLiteral("Cannot instantiate cQmlUnit objects from qml"));
    qmlRegisterType<cMeterClipItem>("ZRQml", 1, 0, "MeterClipItem");
}

QString cApplicationBase::version()
{
    QRegExp pattern(QStringLiteral("V?(\\d+\\.\\d+\\.\\d+)X?"), Qt::CaseSensitive);
    if (pattern.indexIn(cConfigBase::ProgramVersion()) < 0)
        return QString();
    return pattern.cap(1);
}

QString cApplicationBase::fullVersion()
{
    return QStringLiteral("V1.0.1 - Rev. 50124");
}

QString cApplicationBase::fontCodeToName(const QString& FontCode) const
{
    return cKelvariFonts::mFontCodesToNames.value(FontCode);
}

std::string cApplicationBase::GetHashedString(const QString& text)
{
    const QByteArray local = text.toLocal8Bit();
    const QByteArray bytes(local.constData(), int(qstrlen(local.constData())));
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Keccak_512);
    return digest.toBase64().toStdString();
}

std::string cApplicationBase::GetHashedPassword(const QString& password)
{
    if (password.isEmpty())
        return std::string();
    const QByteArray padded = password.leftJustified(cEncryption::kPasswordLength, QLatin1Char(' '), true).toLocal8Bit();
    return GetHashedString(QString::number(cEncryption::EncryptPassword(padded.constData())));
}

void cApplicationBase::LoadWindowGeometry()
{
    mMainWindowGeometry->Load();
}

void cApplicationBase::StoreWindowGeometry() const
{
    mMainWindowGeometry->Store();
}

void cApplicationBase::ReSizeWindowToFitScreen(int& x, int& y, int& width, int& height) const
{
    cWindowGeometry::FitToScreens(x, y, width, height);
}

void cApplicationBase::applicationWindowReady()
{
    const QWindowList windows = QGuiApplication::allWindows();
    if (windows.isEmpty())
        return;
    // The most recently created window comes first: the one reporting ready.
    mMainWindowGeometry->Attach(windows.first());
}

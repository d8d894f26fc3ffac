// cApplication: moving the config to and from the unit's config manager.
#include "cApplication.h"

#include "cConfig.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"

#include <QFile>

#include <cmath>

namespace
{
const char* const kConfigClientName = "KelvariConfigClient";
// The client's progress is a fraction of chunks; smaller steps would only redraw the bar.
constexpr float kUploadProgressTolerance = 0.0001f;
// The client's failure code for a log-in the unit refused.
constexpr int kIncorrectPasswordCode = 4;
}

void cApplication::downloadConfig()
{
    if (TransferRunning("download"))
        return;
    SetDownloadConfigFailureReason(QString());
    SetLoadConfigReport(QString());
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

bool cApplication::cancelTransfer()
{
    if (!mConfigClient)
        return true;
    // Ending the connection now would only lose the unit's answer: the chunks on their way arrive first.
    if (!mConfigClient->Cancel())
    {
        ZR_NOTIFY("Upload not cancelled: every chunk has gone to the unit");
        return false;
    }
    ZR_NOTIFY("Transfer cancelled");
    DeleteConfigClient();
    return true;
}

// The unit keeps an upload that did not succeed until its connection ends.
void cApplication::DeleteConfigClient()
{
    const UWORD held = mConfigClient ? mConfigClient->UnfinishedUploadConnection() : kZRNetNoConnection;
    delete mConfigClient;
    mConfigClient = nullptr;
    if (held != kZRNetNoConnection)
        connectionInterface()->EndUnitConnection(held);
}

void cApplication::Authenticate()
{
    mConfigClient->Authenticate(GetHashedString(QStringLiteral("Admin")), mAdminPassword.Hash());
}

void cApplication::ConfigClientStartDownload()
{
    AdminLoginAccepted();
    mConfigClient->DownloadConfig();
}

void cApplication::ConfigClientStartUpload()
{
    AdminLoginAccepted();
    QByteArray data;
    if (!mCurrentConfig->WriteXml(data, mUploadSizeLimit))
    {
        // A document the writer gave up on is cut short: the unit must not store it.
        ZR_ERROR("Config could not be written for the upload");
        DeleteConfigClient();
        const QString reason = mCurrentConfig->LoadFailureText();
        FailUpload(reason.isEmpty() ? QStringLiteral("The config could not be written for the upload")
                                    : QStringLiteral("The config could not be written for the upload: %1").arg(reason));
        return;
    }
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
    {
        SetLoadConfigReport(mCurrentConfig->ReadReport().Text());
        emit downloadConfigSuccessful();
    }
    else
        FailDownload(mCurrentConfig->LoadFailureText());
}

void cApplication::DownloadConfigFailed()
{
    const int code = mConfigClient->FailureReasonCode();
    const QString reason = DownloadFailureText(code);
    DeleteConfigClient();
    if (code == kIncorrectPasswordCode)
        AdminLoginRefused();
    FailDownload(reason.isNull() ? mDownloadConfigFailureReason : reason);
}

void cApplication::UploadConfigSuccessful()
{
    DeleteConfigClient();
    emit uploadConfigSuccessful();
}

void cApplication::UploadConfigFailed()
{
    const int code = mConfigClient->FailureReasonCode();
    const QString reason = UploadFailureText(code);
    DeleteConfigClient();
    if (code == kIncorrectPasswordCode)
        AdminLoginRefused();
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

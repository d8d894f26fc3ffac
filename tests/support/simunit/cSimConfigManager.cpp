#include "cSimConfigManager.h"

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cRegistryRouter.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QFile>

#include <cstdio>

namespace
{
// In one call, so that another thread's trace line cannot split it.
void Report(const char* format, int a = 0, int b = 0, int c = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    std::printf("SIM %s\n", text);
    std::fflush(stdout);
}
}

cSimConfigManager::cSimConfigManager(const sSimUnitSettings& settings, cNetworkConnection* network)
    : cNetObject(kConfigManagerName), mSettings(settings), mNetwork(network),
      mHasStoredConfig(settings.mHasStoredConfig), mStoredConfig(settings.mStoredConfig)
{
    if (cRegistryRouter* router = SyscallRegistryRouter())
        router->SetWatchesConnections(Handle(), true);
}

cSimConfigManager::~cSimConfigManager()
{
    Unregister();
}

void cSimConfigManager::Reply(const cZRNetMessage& request, UWORD method, const QByteArray& payload)
{
    cZRNetMessage reply(request.ConnectionId(), request.Source(), Handle(), method);
    reply.SetPayload(payload.constData(), static_cast<size_t>(payload.size()));
    SyscallSendMessage(reply);
}

void cSimConfigManager::End(const cZRNetMessage& request, int status)
{
    Reply(request, eConfigMethodTransferEnd, QByteArray(1, static_cast<char>(status)));
}

void cSimConfigManager::EntrypointMessage(const cZRNetMessage& message)
{
    if (message.Method() == eMethodConnectionEnded && message.ConnectionId() == kZRNetLocalConnection &&
        message.Source() == kZRNetRegistryHandle)
    {
        ConnectionEnded(message.GetUWord(0));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStalled.count(message.ConnectionId()))
            return;
    }
    switch (message.Method())
    {
    case eConfigMethodLogIn:
        LogIn(message);
        break;
    case eConfigMethodUploadChunk:
        UploadChunk(message);
        break;
    case eConfigMethodDownloadRequest:
        Download(message);
        break;
    default:
        cNetObject::EntrypointMessage(message);
        break;
    }
}

void cSimConfigManager::LogIn(const cZRNetMessage& message)
{
    const std::string user = message.GetString(0);
    const std::string password = message.GetString(user.size() + 1);
    const bool admin = user == mSettings.mAdminUser && password == mSettings.mAdminPasswordHash;
    const bool testWindow = !mSettings.mTestWindowUser.empty() && user == mSettings.mTestWindowUser &&
                            password == mSettings.mTestWindowPasswordHash;
    const bool accepted = message.Length() == user.size() + password.size() + 2 && (admin || testWindow);
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (accepted)
        {
            mLoggedIn.insert(message.ConnectionId());
        }
        else
        {
            // The upload's next chunk can only fail now: it frees the unit at once.
            mLoggedIn.erase(message.ConnectionId());
            if (mUpload.mConnection == message.ConnectionId())
                mUpload = sUpload();
        }
    }
    Report(accepted ? "LOGIN accepted" : "LOGIN refused");
    Reply(message, eConfigMethodLogInReply, QByteArray(1, accepted ? 1 : 0));
}

void cSimConfigManager::UploadChunk(const cZRNetMessage& message)
{
    const UWORD connection = message.ConnectionId();
    const int index = message.GetUWord(0);
    const int last = message.GetUWord(2);
    const int size = message.Length() >= 4 ? static_cast<int>(message.Length() - 4) : -1;
    Report("CHUNK index=%d last=%d size=%d", index, last, size);
    std::unique_lock<std::mutex> lock(mMutex);
    // Another connection's upload holds the unit until it completes, fails or its connection ends.
    const bool busy = mSettings.mBusy || (mUpload.mConnection != kZRNetNoConnection && mUpload.mConnection != connection);
    int refusal = eConfigFailureNone;
    if (!mLoggedIn.count(connection))
        refusal = eConfigFailureIncorrectPassword;
    else if (busy)
        refusal = eConfigFailureBusy;
    else if (mSettings.mUnitError || size < 0)
        refusal = eConfigFailureUnitError;
    if (refusal != eConfigFailureNone)
    {
        lock.unlock();
        End(message, refusal);
        return;
    }
    if (mUpload.mConnection == kZRNetNoConnection)
    {
        mUpload.mConnection = connection;
        mUpload.mLastIndex = last;
    }
    // Complete only with every index up to the first announced last one, in order;
    // an upload's memory stays within its chunk count times the chunk size.
    if (index != mUpload.mNextIndex || last != mUpload.mLastIndex || last < index ||
        size > static_cast<int>(kConfigChunkSize))
    {
        mUpload = sUpload();
        lock.unlock();
        End(message, eConfigFailureUnitError);
        return;
    }
    mUpload.mData.append(reinterpret_cast<const char*>(message.Payload()) + 4, size);
    ++mUpload.mNextIndex;
    if (index == mSettings.mDropAfterChunk)
    {
        lock.unlock();
        Report("DROP");
        mNetwork->CloseConnection(connection);
        return;
    }
    if (index == mSettings.mStallAfterChunk)
    {
        mStalled.insert(connection);
        return;
    }
    QByteArray progress;
    progress.append(static_cast<char>(index >> 8)).append(static_cast<char>(index));
    progress.append(static_cast<char>(last >> 8)).append(static_cast<char>(last));
    if (index < last)
    {
        lock.unlock();
        Reply(message, eConfigMethodUploadProgress, progress);
        return;
    }
    const QByteArray data = mUpload.mData;
    mUpload = sUpload();
    mHasStoredConfig = true;
    mStoredConfig = data;
    lock.unlock();
    if (!mSettings.mUploadFile.isEmpty())
    {
        QFile file(mSettings.mUploadFile);
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
    }
    Report("UPLOADED size=%d", data.size());
    Reply(message, eConfigMethodUploadProgress, progress);
    End(message, 0);
}

void cSimConfigManager::Download(const cZRNetMessage& message)
{
    bool loggedIn = false;
    bool hasStoredConfig = false;
    QByteArray data;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        loggedIn = mLoggedIn.count(message.ConnectionId()) > 0;
        hasStoredConfig = mHasStoredConfig;
        data = mStoredConfig;
    }
    if (!loggedIn || mSettings.mUnitError)
    {
        End(message, loggedIn ? eConfigFailureUnitError : eConfigFailureIncorrectPassword);
        return;
    }
    if (hasStoredConfig)
    {
        const int chunkSize = mSettings.mDownloadChunkSize;
        const int last = data.isEmpty() ? 0 : (data.size() - 1) / chunkSize;
        for (int index = 0; index <= last; ++index)
        {
            QByteArray chunk;
            chunk.append(static_cast<char>(index >> 8)).append(static_cast<char>(index));
            chunk.append(static_cast<char>(last >> 8)).append(static_cast<char>(last));
            chunk.append(data.mid(index * chunkSize, chunkSize));
            Reply(message, eConfigMethodDownloadChunk, chunk);
        }
    }
    Report("DOWNLOADED size=%d", data.size());
    End(message, 0);
}

// A later connection may get the same id: nothing of this one may carry over to it.
void cSimConfigManager::ConnectionEnded(UWORD connection)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mLoggedIn.erase(connection);
    mStalled.erase(connection);
    if (mUpload.mConnection == connection)
        mUpload = sUpload();
}

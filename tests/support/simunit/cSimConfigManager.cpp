#include "cSimConfigManager.h"

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
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
    : cNetObject(kConfigManagerName), mSettings(settings), mNetwork(network)
{
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
            mLoggedIn.insert(message.ConnectionId());
        else
            mLoggedIn.erase(message.ConnectionId());
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
    if (!mLoggedIn.count(connection))
    {
        lock.unlock();
        End(message, eConfigFailureIncorrectPassword);
        return;
    }
    if (mSettings.mBusy || mSettings.mUnitError || size < 0)
    {
        lock.unlock();
        End(message, mSettings.mBusy ? eConfigFailureBusy : eConfigFailureUnitError);
        return;
    }
    sUpload& upload = mUploads[connection];
    if (index == 0)
        upload.mLastIndex = last;
    // Complete only with every index up to the first announced last one, in order;
    // an upload's memory stays within its chunk count times the chunk size.
    if (index != upload.mNextIndex || last != upload.mLastIndex || last < index ||
        size > static_cast<int>(kConfigChunkSize))
    {
        mUploads.erase(connection);
        lock.unlock();
        End(message, eConfigFailureUnitError);
        return;
    }
    upload.mData.append(reinterpret_cast<const char*>(message.Payload()) + 4, size);
    ++upload.mNextIndex;
    if (index == mSettings.mDropAfterChunk)
    {
        mUploads.erase(connection);
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
    const QByteArray data = upload.mData;
    mUploads.erase(connection);
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
    {
        std::lock_guard<std::mutex> lock(mMutex);
        loggedIn = mLoggedIn.count(message.ConnectionId()) > 0;
    }
    if (!loggedIn || mSettings.mUnitError)
    {
        End(message, loggedIn ? eConfigFailureUnitError : eConfigFailureIncorrectPassword);
        return;
    }
    if (mSettings.mHasStoredConfig)
    {
        const QByteArray& data = mSettings.mStoredConfig;
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
    Report("DOWNLOADED size=%d", mSettings.mStoredConfig.size());
    End(message, 0);
}

#include "cKelvariConfigClient.h"

#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"

#include <QTemporaryFile>

#include <algorithm>

cKelvariConfigClient::cKelvariConfigClient(const char* name)
    : cSeekObject(name), mReplyTimeout(kConfigReplyTimeoutMs)
{
}

cKelvariConfigClient::~cKelvariConfigClient()
{
    Unregister();
}

int cKelvariConfigClient::FailureReasonCode() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mFailureCode;
}

QString cKelvariConfigClient::GetConfigDataTempFilename() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mDownloadFilename;
}

void cKelvariConfigClient::SetReplyTimeout(std::chrono::milliseconds timeout)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mReplyTimeout = timeout;
}

UWORD cKelvariConfigClient::UnfinishedUploadConnection() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mHeldConnection;
}

bool cKelvariConfigClient::EveryChunkSent() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return EveryChunkSentLocked();
}

bool cKelvariConfigClient::EveryChunkSentLocked() const
{
    return mUploaded || (mStage == eUploading && mNextChunk > mLastIndex);
}

// Chunks are worked out under the same mutex, so a window that holds the last
// chunk is either already counted here or never worked out.
bool cKelvariConfigClient::Cancel()
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (EveryChunkSentLocked())
        return false;
    FailLocked(eConfigFailureNone);
    mStage = eDone;
    return true;
}

cZRNetMessage cKelvariConfigClient::ToManager(UWORD method) const
{
    return cZRNetMessage(mConnectionId, mManagerHandle, Handle(), method);
}

// Ticks watch the deadline while the client waits for the unit.
void cKelvariConfigClient::WaitForUnitLocked()
{
    mDeadline = std::chrono::steady_clock::now() + mReplyTimeout;
    RequestTicks(true);
}

cKelvariConfigClient::eOutcome cKelvariConfigClient::FailLocked(int code)
{
    eOutcome outcome = eNoOutcome;
    switch (mStage)
    {
    case eSeeking:
        outcome = eSeekFailedOutcome;
        break;
    case eAuthenticating:
        outcome = eAuthenticationFailedOutcome;
        break;
    case eUploading:
        outcome = eUploadFailedOutcome;
        break;
    case eDownloading:
        outcome = eDownloadFailedOutcome;
        if (mDownloadFile)
            mDownloadFile->close();
        break;
    case eIdle:
    case eAuthenticated:
    case eDone:
        return eNoOutcome;
    }
    mFailureCode = code;
    mStage = eDone;
    mUpload.clear();
    RequestTicks(false);
    return outcome;
}

void cKelvariConfigClient::Emit(eOutcome outcome)
{
    switch (outcome)
    {
    case eSeekFailedOutcome:
        emit SeekFailed();
        break;
    case eAuthenticationFailedOutcome:
        emit AuthenticationFailed();
        break;
    case eUploadFailedOutcome:
        emit UploadConfigFailed();
        break;
    case eDownloadFailedOutcome:
        emit DownloadConfigFailed();
        break;
    case eNoOutcome:
        break;
    }
}

void cKelvariConfigClient::Send(const std::vector<cZRNetMessage>& messages)
{
    for (const cZRNetMessage& message : messages)
    {
        if (SyscallSendMessage(message))
            continue;
        // A message too long to frame is refused without touching the connection.
        const bool tooLong = message.Length() > kZRNetMaxPayloadLength;
        eOutcome outcome = eNoOutcome;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            outcome = FailLocked(tooLong ? eConfigFailureUnknown : eConfigFailureConnectionLost);
        }
        Emit(outcome);
        return;
    }
}

void cKelvariConfigClient::SeekStarted()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mStage = eSeeking;
    mFailureCode = eConfigFailureNone;
    mConnectionId = kZRNetNoConnection;
    mManagerHandle = kZRNetNoHandle;
    WaitForUnitLocked();
}

void cKelvariConfigClient::EntrypointFoundObject(UWORD connectionId, UWORD handle)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage != eSeeking)
            return;
        RequestTicks(false);
        if (handle == kZRNetNoHandle)
        {
            mStage = eDone;
        }
        else
        {
            mStage = eIdle;
            mConnectionId = connectionId;
            mManagerHandle = handle;
        }
    }
    if (handle == kZRNetNoHandle)
        emit SeekFailed();
    else
        emit SeekSuccessful();
}

void cKelvariConfigClient::Authenticate(const std::string& user, const std::string& password)
{
    cZRNetMessage logIn;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage == eIdle && mManagerHandle != kZRNetNoHandle)
        {
            mStage = eAuthenticating;
            mFailureCode = eConfigFailureNone;
            logIn = ToManager(eConfigMethodLogIn);
            logIn.AppendString(user.c_str());
            logIn.AppendString(password.c_str());
            WaitForUnitLocked();
        }
    }
    if (logIn.Method() != eConfigMethodLogIn)
    {
        ZR_ERROR("Cannot authenticate: config manager not found");
        {
            std::lock_guard<std::mutex> lock(mMutex);
            if (mFailureCode == eConfigFailureNone)
                mFailureCode = eConfigFailureUnknown;
        }
        emit AuthenticationFailed();
        return;
    }
    Send({logIn});
}

void cKelvariConfigClient::UploadConfig(const QByteArray& data)
{
    std::lock_guard<std::mutex> order(mChunkOrderMutex);
    std::vector<cZRNetMessage> chunks;
    // Chunk indices are 16 bits on the wire.
    const qint64 chunkSize = static_cast<qint64>(kConfigChunkSize);
    const bool tooLarge = (qint64(data.size()) + chunkSize - 1) / chunkSize > kConfigMaxChunkCount;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage == eAuthenticated && !tooLarge)
        {
            mStage = eUploading;
            mHeldConnection = mConnectionId;
            mUpload = data;
            const int size = data.size();
            mLastIndex = size == 0 ? 0 : (size - 1) / static_cast<int>(kConfigChunkSize);
            mNextChunk = 0;
            mAcknowledged = -1;
            chunks = NextChunksLocked();
            WaitForUnitLocked();
        }
    }
    if (chunks.empty())
    {
        if (tooLarge)
            ZR_ERROR("Cannot upload: %d bytes need more than %d chunks", data.size(), kConfigMaxChunkCount);
        else
            ZR_ERROR("Cannot upload: not logged in");
        {
            std::lock_guard<std::mutex> lock(mMutex);
            if (mFailureCode == eConfigFailureNone)
                mFailureCode = eConfigFailureUnknown;
        }
        emit UploadConfigFailed();
        return;
    }
    Send(chunks);
}

// Keeps a window of chunks in flight ahead of the unit's progress.
std::vector<cZRNetMessage> cKelvariConfigClient::NextChunksLocked()
{
    std::vector<cZRNetMessage> chunks;
    while (mNextChunk <= mLastIndex && mNextChunk - mAcknowledged <= kConfigUploadWindow)
    {
        cZRNetMessage chunk = ToManager(eConfigMethodUploadChunk);
        chunk.AppendUWord(static_cast<UWORD>(mNextChunk));
        chunk.AppendUWord(static_cast<UWORD>(mLastIndex));
        const int offset = mNextChunk * static_cast<int>(kConfigChunkSize);
        const int length = std::min(static_cast<int>(kConfigChunkSize), mUpload.size() - offset);
        chunk.AppendBytes(mUpload.constData() + offset, static_cast<size_t>(length));
        chunks.push_back(std::move(chunk));
        ++mNextChunk;
    }
    return chunks;
}

void cKelvariConfigClient::DownloadConfig()
{
    cZRNetMessage request;
    bool started = false;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage == eAuthenticated)
        {
            mDownloadFile.reset();
            mDownloadFilename.clear();
            auto file = std::make_unique<QTemporaryFile>();
            if (file->open())
            {
                mDownloadFile = std::move(file);
                mDownloadFilename = mDownloadFile->fileName();
                mStage = eDownloading;
                mExpectedChunk = 0;
                mDownloadLastIndex = -1;
                request = ToManager(eConfigMethodDownloadRequest);
                WaitForUnitLocked();
                started = true;
            }
            else
            {
                ZR_ERROR("Cannot create temporary file for download");
            }
        }
        else
        {
            ZR_ERROR("Cannot download: not logged in");
        }
        if (!started && mFailureCode == eConfigFailureNone)
            mFailureCode = eConfigFailureUnknown;
    }
    if (!started)
    {
        emit DownloadConfigFailed();
        return;
    }
    Send({request});
}

void cKelvariConfigClient::EntrypointMessage(const cZRNetMessage& message)
{
    const UWORD method = message.Method();
    if (method < kZRNetFirstObjectMethod)
    {
        cSeekObject::EntrypointMessage(message);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (message.ConnectionId() != mConnectionId || message.Source() != mManagerHandle || mStage == eDone)
            return;
    }
    switch (method)
    {
    case eConfigMethodLogInReply:
        HandleLogInReply(message);
        break;
    case eConfigMethodUploadProgress:
        HandleUploadProgress(message);
        break;
    case eConfigMethodDownloadChunk:
        HandleDownloadChunk(message);
        break;
    case eConfigMethodTransferEnd:
        HandleTransferEnd(message);
        break;
    default:
        ZR_ERROR("%s cannot handle method %u", Name().c_str(), method);
        break;
    }
}

// Only a plain no refuses the password; an answer that is neither says nothing about it.
void cKelvariConfigClient::HandleLogInReply(const cZRNetMessage& message)
{
    const int answer = message.Length() >= 1 ? int(message.GetUByte(0)) : -1;
    const bool accepted = answer == 1;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage != eAuthenticating)
            return;
        if (accepted)
        {
            mStage = eAuthenticated;
            RequestTicks(false);
        }
        else
        {
            if (answer != 0)
                ZR_ERROR("Log-in reply of %zu bytes is neither accepted nor refused", message.Length());
            FailLocked(answer == 0 ? eConfigFailureIncorrectPassword : eConfigFailureUnknown);
        }
    }
    if (accepted)
        emit Authenticated();
    else
        emit AuthenticationFailed();
}

void cKelvariConfigClient::HandleUploadProgress(const cZRNetMessage& message)
{
    if (message.Length() < 4)
        return;
    const int index = message.GetUWord(0);
    const int last = message.GetUWord(2);
    std::lock_guard<std::mutex> order(mChunkOrderMutex);
    std::vector<cZRNetMessage> chunks;
    float fraction = 0;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage != eUploading || index != mAcknowledged + 1 || index >= mNextChunk || last != mLastIndex)
            return;
        mAcknowledged = index;
        WaitForUnitLocked();
        fraction = static_cast<float>(index + 1) / static_cast<float>(last + 1);
        chunks = NextChunksLocked();
    }
    emit UploadProgress(fraction);
    Send(chunks);
}

void cKelvariConfigClient::HandleDownloadChunk(const cZRNetMessage& message)
{
    eOutcome outcome = eNoOutcome;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage != eDownloading)
            return;
        const int index = message.Length() >= 4 ? message.GetUWord(0) : -1;
        const int last = message.Length() >= 4 ? message.GetUWord(2) : -1;
        if (index != mExpectedChunk || last < index || (mDownloadLastIndex >= 0 && last != mDownloadLastIndex) ||
            message.Length() - 4 > kConfigChunkSize)
        {
            ZR_ERROR("Download chunk %d out of order or over %zu bytes", index, kConfigChunkSize);
            outcome = FailLocked(eConfigFailureUnknown);
        }
        else
        {
            const qint64 length = static_cast<qint64>(message.Length() - 4);
            if (mDownloadFile->write(reinterpret_cast<const char*>(message.Payload()) + 4, length) != length)
            {
                ZR_ERROR("Cannot write downloaded config: %s", qPrintable(mDownloadFile->errorString()));
                outcome = FailLocked(eConfigFailureUnknown);
            }
            mDownloadLastIndex = last;
            ++mExpectedChunk;
            WaitForUnitLocked();
        }
    }
    Emit(outcome);
}

// Success only when everything the transfer announced has arrived.
void cKelvariConfigClient::HandleTransferEnd(const cZRNetMessage& message)
{
    const int status = message.Length() >= 1 ? int(message.GetUByte(0)) : int(eConfigFailureUnknown);
    eOutcome outcome = eNoOutcome;
    bool uploaded = false;
    bool downloaded = false;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage != eUploading && mStage != eDownloading)
            return;
        const bool complete = mStage == eUploading ? mAcknowledged == mLastIndex
                                                   : mExpectedChunk == mDownloadLastIndex + 1;
        if (status == 0 && complete)
        {
            uploaded = mStage == eUploading;
            downloaded = mStage == eDownloading;
            if (downloaded && !mDownloadFile->flush())
            {
                downloaded = false;
                outcome = FailLocked(eConfigFailureUnknown);
            }
            else
            {
                if (downloaded)
                    mDownloadFile->close();
                mUploaded = uploaded;
                if (uploaded)
                    mHeldConnection = kZRNetNoConnection;
                mStage = eDone;
                mUpload.clear();
                RequestTicks(false);
            }
        }
        else
        {
            // Busy answers only chunks: a download that hears it hears a broken unit.
            const bool known = status == eConfigFailureUnitError || status == eConfigFailureIncorrectPassword ||
                               (status == eConfigFailureBusy && mStage == eUploading);
            outcome = FailLocked(known ? status : eConfigFailureUnknown);
        }
    }
    if (uploaded)
        emit UploadConfigSuccessful();
    if (downloaded)
        emit DownloadConfigSuccessful();
    Emit(outcome);
}

void cKelvariConfigClient::EntrypointConnectionEnded(UWORD connectionId)
{
    eOutcome outcome = eNoOutcome;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (connectionId != mConnectionId)
            return;
        mHeldConnection = kZRNetNoConnection;
        if (mStage == eIdle || mStage == eAuthenticated)
        {
            mFailureCode = eConfigFailureConnectionLost;
            mStage = eDone;
        }
        outcome = FailLocked(eConfigFailureConnectionLost);
    }
    Emit(outcome);
}

void cKelvariConfigClient::EntrypointSeekLost(UWORD)
{
    eOutcome outcome = eNoOutcome;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStage == eSeeking)
            outcome = FailLocked(eConfigFailureConnectionLost);
    }
    Emit(outcome);
}

void cKelvariConfigClient::EntrypointTick()
{
    eOutcome outcome = eNoOutcome;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (std::chrono::steady_clock::now() < mDeadline)
            return;
        outcome = FailLocked(eConfigFailureConnectionLost);
    }
    if (outcome == eSeekFailedOutcome)
        CancelSeek();
    if (outcome != eNoOutcome)
        ZR_ERROR("%s: the unit did not answer in time", Name().c_str());
    Emit(outcome);
}

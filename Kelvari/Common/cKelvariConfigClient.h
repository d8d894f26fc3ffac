#pragma once

#include "ZRNet/Core/cSeekObject.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

class QTemporaryFile;

// The net object that talks to a unit's config manager: once the manager has
// been sought (SeekObject with "<address>/Kelvari Config Manager") it logs in,
// uploads a config in chunks or downloads the stored one into a temporary file.
// Its values are kept under its own mutex; its signals come from the messaging
// threads (mostly the poll thread). Every step that is not cancelled ends in
// exactly one success or failure signal; anything the unit sends after that is
// ignored. A unit that stays silent, or sends only what does not take the step
// on, fails the step as a lost connection (ticks drive that watch).
class cKelvariConfigClient : public QObject, public cSeekObject
{
    Q_OBJECT

public:
    explicit cKelvariConfigClient(const char* name);
    ~cKelvariConfigClient() override;

    void Authenticate(const std::string& user, const std::string& password);
    // Discards the file of an earlier download and asks for the stored config.
    void DownloadConfig();
    void UploadConfig(const QByteArray& data);

    // 0 none, 1 unknown, 2 connection lost, 3 unit error, 4 incorrect password, 5 busy.
    int FailureReasonCode() const;
    // Empty until a download has started.
    QString GetConfigDataTempFilename() const;
    // How long the unit may stay silent during a step.
    void SetReplyTimeout(std::chrono::milliseconds timeout);
    // The connection of an upload that has sent chunks and has not succeeded,
    // while that connection lasts: the unit may hold the upload until it ends.
    // 65535 otherwise.
    UWORD UnfinishedUploadConnection() const;
    // True once the last chunk of the upload has gone out, and after the unit
    // stored it, also while the success signal is still on its way to its
    // receiver: from then on the unit stores the config whatever the client does.
    bool EveryChunkSent() const;
    // Ends the transfer without an outcome, so that no further chunk goes out;
    // false, changing nothing, once every chunk has been sent. One step with the
    // sending, so the last chunk cannot leave between the check and the end.
    bool Cancel();

    void EntrypointMessage(const cZRNetMessage& message) override;
    void EntrypointTick() override;

signals:
    void SeekSuccessful();
    void SeekFailed();
    void Authenticated();
    void AuthenticationFailed();
    void DownloadConfigSuccessful();
    void DownloadConfigFailed();
    void UploadConfigSuccessful();
    void UploadConfigFailed();
    void UploadProgress(float fraction);

protected:
    void SeekStarted() override;
    void EntrypointFoundObject(UWORD connectionId, UWORD handle) override;
    void EntrypointConnectionEnded(UWORD connectionId) override;
    void EntrypointSeekLost(UWORD connectionId) override;

private:
    enum eStage
    {
        eIdle,
        eSeeking,
        eAuthenticating,
        eAuthenticated,
        eUploading,
        eDownloading,
        eDone,
    };

    // What a step's end emits, worked out under the mutex and emitted after it.
    enum eOutcome
    {
        eNoOutcome,
        eSeekFailedOutcome,
        eAuthenticationFailedOutcome,
        eUploadFailedOutcome,
        eDownloadFailedOutcome,
    };

    cZRNetMessage ToManager(UWORD method) const;
    bool EveryChunkSentLocked() const;
    void WaitForUnitLocked();
    eOutcome FailLocked(int code);
    void Emit(eOutcome outcome);
    void Send(const std::vector<cZRNetMessage>& messages);
    std::vector<cZRNetMessage> NextChunksLocked();
    void HandleLogInReply(const cZRNetMessage& message);
    void HandleUploadProgress(const cZRNetMessage& message);
    void HandleDownloadChunk(const cZRNetMessage& message);
    void HandleTransferEnd(const cZRNetMessage& message);

    // Held from working out a window of chunks until they are handed to the
    // connection, so that chunks leave in index order whichever thread sends them.
    std::mutex mChunkOrderMutex;
    mutable std::mutex mMutex;
    eStage mStage = eIdle;
    int mFailureCode = 0;
    UWORD mConnectionId = kZRNetNoConnection;
    UWORD mManagerHandle = kZRNetNoHandle;
    UWORD mHeldConnection = kZRNetNoConnection;
    std::chrono::milliseconds mReplyTimeout;
    std::chrono::steady_clock::time_point mDeadline;

    QByteArray mUpload;
    int mLastIndex = 0;
    int mNextChunk = 0;
    int mAcknowledged = -1;
    bool mUploaded = false;

    std::unique_ptr<QTemporaryFile> mDownloadFile;
    QString mDownloadFilename;
    int mExpectedChunk = 0;
    int mDownloadLastIndex = -1;
};

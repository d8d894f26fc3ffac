#pragma once

#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cNetObject.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <set>

class cNetworkConnection;

// How the simulated unit's config manager behaves.
struct sSimUnitSettings
{
    std::string mAdminUser;
    std::string mAdminPasswordHash;
    // The test window's login, beside the administrator's; no user when empty.
    std::string mTestWindowUser;
    std::string mTestWindowPasswordHash;
    bool mHasStoredConfig = false;
    QByteArray mStoredConfig;
    QString mUploadFile;     // where a completed upload is written, when set
    bool mBusy = false;      // another upload is in progress
    bool mUnitError = false; // every transfer fails on the unit
    int mDropAfterChunk = -1;
    int mStallAfterChunk = -1;
    int mDownloadChunkSize = int(kConfigChunkSize); // a larger one breaks the protocol, as a faulty unit would
};

// The unit's "Kelvari Config Manager": log-in (administrator or test window), upload with progress, download
// of the stored config, which a completed upload replaces. One upload at a time on the whole unit; what a
// connection holds (its log-in, its unfinished upload, its stall) goes when the connection ends. Reports what it
// receives as "SIM ..." lines on stdout.
class cSimConfigManager : public cNetObject
{
public:
    cSimConfigManager(const sSimUnitSettings& settings, cNetworkConnection* network);
    ~cSimConfigManager() override;

    void EntrypointMessage(const cZRNetMessage& message) override;

private:
    struct sUpload
    {
        UWORD mConnection = kZRNetNoConnection; // none: no upload under way
        QByteArray mData;
        int mNextIndex = 0;
        // As chunk 0 announced it; every later chunk must announce the same.
        int mLastIndex = 0;
    };

    void Reply(const cZRNetMessage& request, UWORD method, const QByteArray& payload);
    void End(const cZRNetMessage& request, int status);
    void LogIn(const cZRNetMessage& message);
    void UploadChunk(const cZRNetMessage& message);
    void Download(const cZRNetMessage& message);
    void ConnectionEnded(UWORD connection);

    const sSimUnitSettings mSettings;
    cNetworkConnection* const mNetwork;
    std::mutex mMutex;
    bool mHasStoredConfig;
    QByteArray mStoredConfig;
    std::set<UWORD> mLoggedIn;
    sUpload mUpload;
    std::set<UWORD> mStalled;
};

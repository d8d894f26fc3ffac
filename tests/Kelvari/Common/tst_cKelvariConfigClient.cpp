#include "Kelvari/Common/cKelvariConfigClient.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const char* kManagerPath = "127.0.0.1/Kelvari Config Manager";
const char* kPasswordHash = "3141592653";

std::string AdminUser()
{
    return QCryptographicHash::hash("Admin", QCryptographicHash::Keccak_512).toBase64().toStdString();
}

QByteArray Config(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7919) >> 3);
    return bytes;
}
}

// The messaging core with ticks and the network side, as the editor runs them, and
// one client whose signals are recorded on the main thread.
class cClientSession : public QObject
{
    Q_OBJECT

public:
    explicit cClientSession(quint16 unitPort)
    {
        InitialiseSyscall(eAbortAllLinksOnTermination, true);
        mPollThread.StartSyscall();
        cNetworkConnection::AllowInstanceOf(true);
        cNetworkConnection::Instance()->SetUnitTcpPort(unitPort);
        SyscallSetStartTicks(true);
        mTicks.StartTimer();
        SyscallMessagesPollLock();
        mClient = std::make_unique<cKelvariConfigClient>("KelvariConfigClient");
        SyscallMessagesPollUnLock();
        cKelvariConfigClient* client = mClient.get();
        const auto record = [this](const QString& event) { mEvents.append(event); };
        connect(client, &cKelvariConfigClient::SeekSuccessful, this, [=] { record("SeekSuccessful"); });
        connect(client, &cKelvariConfigClient::SeekFailed, this, [=] { record("SeekFailed"); });
        connect(client, &cKelvariConfigClient::Authenticated, this, [=] { record("Authenticated"); });
        connect(client, &cKelvariConfigClient::AuthenticationFailed, this, [=] { record("AuthenticationFailed"); });
        connect(client, &cKelvariConfigClient::UploadConfigSuccessful, this, [=] { record("UploadSuccessful"); });
        connect(client, &cKelvariConfigClient::UploadConfigFailed, this, [=] { record("UploadFailed"); });
        connect(client, &cKelvariConfigClient::DownloadConfigSuccessful, this, [=] { record("DownloadSuccessful"); });
        connect(client, &cKelvariConfigClient::DownloadConfigFailed, this, [=] { record("DownloadFailed"); });
        connect(client, &cKelvariConfigClient::UploadProgress, this, [this](float p) { mProgress.append(p); });
    }
    ~cClientSession() override
    {
        mClient.reset();
        SyscallSetStartTicks(false);
        mTicks.Stop();
        mPollThread.QuitSyscallAndWait();
        cNetworkConnection::DeleteInstance();
        UninitialiseSyscall();
    }

    // Seeks the config manager and logs in; true once authenticated.
    bool LogIn(const std::string& password = kPasswordHash)
    {
        mClient->SeekObject(kManagerPath);
        if (!WaitFor("SeekSuccessful"))
            return false;
        mClient->Authenticate(AdminUser(), password);
        return WaitFor("Authenticated");
    }
    // Waits for the next event, true when it is the given one.
    bool WaitFor(const QString& event, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (mEvents.size() <= mSeen && timer.elapsed() < timeoutMs)
            QTest::qWait(5);
        if (mEvents.size() <= mSeen)
            return false;
        return mEvents[mSeen++] == event;
    }

    std::unique_ptr<cKelvariConfigClient> mClient;
    QStringList mEvents;
    QVector<float> mProgress;

private:
    cSyscallThread mPollThread;
    cActionTickDriver mTicks;
    int mSeen = 0;
};

class tst_cKelvariConfigClient : public QObject
{
    Q_OBJECT

private slots:
    void seekingFindsOnlyTheObjectsOfTheUnit();
    void logInIsAcceptedOnlyWithTheAdministratorsHash_data();
    void logInIsAcceptedOnlyWithTheAdministratorsHash();
    void anUploadArrivesInChunksOf32000Bytes();
    void aDownloadFillsATemporaryFile_data();
    void aDownloadFillsATemporaryFile();
    void failuresGiveTheirCodes_data();
    void failuresGiveTheirCodes();
    void messagesAfterTheEndAreIgnored();

private:
    QTemporaryDir mDir;
};

void tst_cKelvariConfigClient::seekingFindsOnlyTheObjectsOfTheUnit()
{
    cSimulatedUnit unit;
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    session.mClient->SeekObject("127.0.0.1/Nobody");
    QVERIFY(session.WaitFor("SeekFailed"));
    QCOMPARE(session.mClient->FailureReasonCode(), 0);
    session.mClient->SeekObject(kManagerPath);
    QVERIFY(session.WaitFor("SeekSuccessful"));
}

void tst_cKelvariConfigClient::logInIsAcceptedOnlyWithTheAdministratorsHash_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the stored hash") << QByteArray(kPasswordHash) << true;
    QTest::newRow("another hash") << QByteArray("2718281828") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void tst_cKelvariConfigClient::logInIsAcceptedOnlyWithTheAdministratorsHash()
{
    QFETCH(QByteArray, password);
    QFETCH(bool, accepted);
    cSimulatedUnit unit({"--admin-password-hash", kPasswordHash});
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    QCOMPARE(session.LogIn(password.toStdString()), accepted);
    if (accepted)
        return;
    QCOMPARE(session.mEvents.last(), QString("AuthenticationFailed"));
    QCOMPARE(session.mClient->FailureReasonCode(), 4);
    // Even if asked, a refused client sends no chunk.
    session.mClient->UploadConfig(Config(100));
    QVERIFY(session.WaitFor("UploadFailed"));
    QCOMPARE(unit.Reports(), QStringList{"LOGIN refused"});
}

void tst_cKelvariConfigClient::anUploadArrivesInChunksOf32000Bytes()
{
    const QString uploaded = mDir.filePath("uploaded");
    cSimulatedUnit unit({"--admin-password-hash", kPasswordHash, "--upload-file", uploaded});
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    QVERIFY(session.LogIn());
    const QByteArray config = Config(70000);
    session.mClient->UploadConfig(config);
    QVERIFY(session.WaitFor("UploadSuccessful"));
    QCOMPARE(session.mClient->FailureReasonCode(), 0);
    QVERIFY(unit.WaitForReport("UPLOADED"));
    QCOMPARE(unit.Reports(), (QStringList{"LOGIN accepted", "CHUNK index=0 last=2 size=32000",
                                          "CHUNK index=1 last=2 size=32000", "CHUNK index=2 last=2 size=6000",
                                          "UPLOADED size=70000"}));
    QFile file(uploaded);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == config);
    QTRY_COMPARE(session.mProgress.size(), 3);
    QCOMPARE(session.mProgress.last(), 1.0f);
    QVERIFY(session.mProgress[0] < session.mProgress[1] && session.mProgress[1] < session.mProgress[2]);
}

void tst_cKelvariConfigClient::aDownloadFillsATemporaryFile_data()
{
    QTest::addColumn<int>("storedSize");
    QTest::newRow("stored config over three chunks") << 70001;
    QTest::newRow("no stored config") << -1;
}

void tst_cKelvariConfigClient::aDownloadFillsATemporaryFile()
{
    QFETCH(int, storedSize);
    QStringList arguments{"--admin-password-hash", kPasswordHash};
    const QByteArray stored = Config(std::max(storedSize, 0));
    if (storedSize >= 0)
    {
        QFile file(mDir.filePath("stored"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(stored);
        arguments << "--stored-config" << file.fileName();
    }
    cSimulatedUnit unit(arguments);
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    QVERIFY(session.LogIn());
    session.mClient->DownloadConfig();
    QVERIFY(session.WaitFor("DownloadSuccessful"));
    QFile file(session.mClient->GetConfigDataTempFilename());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == stored);
}

void tst_cKelvariConfigClient::failuresGiveTheirCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("upload");
    QTest::addColumn<int>("code");
    QTest::newRow("busy with another upload") << QStringList{"--busy"} << true << 5;
    QTest::newRow("unit error on upload") << QStringList{"--unit-error"} << true << 3;
    QTest::newRow("unit error on download") << QStringList{"--unit-error"} << false << 3;
    QTest::newRow("connection dropped after chunk 1") << QStringList{"--drop-after-chunk", "1"} << true << 2;
    QTest::newRow("unit falls silent") << QStringList{"--stall-after-chunk", "0"} << true << 2;
}

void tst_cKelvariConfigClient::failuresGiveTheirCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, upload);
    QFETCH(int, code);
    cSimulatedUnit unit(QStringList{"--admin-password-hash", kPasswordHash} + arguments);
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    session.mClient->SetReplyTimeout(std::chrono::milliseconds(500));
    QVERIFY(session.LogIn());
    if (upload)
        session.mClient->UploadConfig(Config(200000));
    else
        session.mClient->DownloadConfig();
    QVERIFY(session.WaitFor(upload ? "UploadFailed" : "DownloadFailed"));
    QCOMPARE(session.mClient->FailureReasonCode(), code);
    QTest::qWait(100);
    QCOMPARE(session.mEvents.size(), 3);
}

// A unit that answers twice, or after the end, changes nothing.
void tst_cKelvariConfigClient::messagesAfterTheEndAreIgnored()
{
    cSimulatedUnit unit({"--admin-password-hash", kPasswordHash});
    QVERIFY(unit.Start());
    cClientSession session(unit.TcpPort());
    QVERIFY(session.LogIn());
    session.mClient->UploadConfig(Config(10));
    QVERIFY(session.WaitFor("UploadSuccessful"));
    const UWORD connection = session.mClient->FoundConnection();
    const UWORD manager = session.mClient->FoundHandle();
    for (UWORD method : {eConfigMethodTransferEnd, eConfigMethodUploadProgress, eConfigMethodLogInReply,
                         eConfigMethodDownloadChunk, eConfigMethodTransferEnd})
    {
        cZRNetMessage late(connection, session.mClient->Handle(), manager, method);
        late.AppendUByte(3);
        SyscallPostMessage(late);
    }
    QTest::qWait(200);
    QCOMPARE(session.mEvents, (QStringList{"SeekSuccessful", "Authenticated", "UploadSuccessful"}));
    QCOMPARE(session.mClient->FailureReasonCode(), 0);
}

QTEST_GUILESS_MAIN(tst_cKelvariConfigClient)
#include "tst_cKelvariConfigClient.moc"

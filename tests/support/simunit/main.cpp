// A simulated unit for tests and benchmarks: accepts ZRNet connections and hosts the config manager.
// Prints "READY tcp=<port>" once it listens; stop it by its process id.
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cSimConfigManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QTcpServer>

#include <cstdio>
#include <memory>

namespace
{
// Hands every accepted connection to the network connection, which runs it on a transport thread of its own.
class cSimUnitServer : public QTcpServer
{
public:
    explicit cSimUnitServer(cNetworkConnection* network) : mNetwork(network) {}

protected:
    void incomingConnection(qintptr socketDescriptor) override { mNetwork->AdoptConnection(socketDescriptor); }

private:
    cNetworkConnection* const mNetwork;
};
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption tcpPort("tcp-port", "TCP port (0: any free one).", "port",
                                     QString::number(kZRNetTcpPort));
    const QCommandLineOption adminPassword("admin-password-hash", "The administrator's password hash.", "text", "");
    const QCommandLineOption testWindowUser("test-window-user", "The test window's user name.", "name", "");
    const QCommandLineOption testWindowPassword("test-window-password-hash", "The test window's password hash.",
                                                "text", "");
    const QCommandLineOption noConfigManager("no-config-manager", "Host no config manager.");
    const QCommandLineOption storedConfig("stored-config", "File served as the stored config.", "file");
    const QCommandLineOption uploadFile("upload-file", "Where a completed upload is written.", "file");
    const QCommandLineOption busy("busy", "Another upload is in progress.");
    const QCommandLineOption unitError("unit-error", "Every transfer fails on the unit.");
    const QCommandLineOption dropAfter("drop-after-chunk", "Drop the connection after this chunk.", "index", "-1");
    const QCommandLineOption stallAfter("stall-after-chunk", "Fall silent after this chunk.", "index", "-1");
    const QCommandLineOption noHeartbeat("no-heartbeat", "Send no heartbeats.");
    const QCommandLineOption chunkSize("download-chunk-size", "Bytes of config per download chunk.", "bytes",
                                       QString::number(kConfigChunkSize));
    parser.addOptions({tcpPort, adminPassword, testWindowUser, testWindowPassword,
                       noConfigManager, storedConfig, uploadFile, busy, unitError, dropAfter, stallAfter,
                       noHeartbeat, chunkSize});
    parser.process(application);

    sSimUnitSettings settings;
    const auto userHash = [](const QString& user) {
        return QCryptographicHash::hash(user.toLocal8Bit(), QCryptographicHash::Keccak_512).toBase64().toStdString();
    };
    settings.mAdminUser = userHash(QStringLiteral("Admin"));
    settings.mAdminPasswordHash = parser.value(adminPassword).toStdString();
    if (!parser.value(testWindowUser).isEmpty())
        settings.mTestWindowUser = userHash(parser.value(testWindowUser));
    settings.mTestWindowPasswordHash = parser.value(testWindowPassword).toStdString();
    if (parser.isSet(storedConfig))
    {
        QFile file(parser.value(storedConfig));
        if (!file.open(QIODevice::ReadOnly))
        {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 2;
        }
        settings.mHasStoredConfig = true;
        settings.mStoredConfig = file.readAll();
    }
    settings.mUploadFile = parser.value(uploadFile);
    settings.mBusy = parser.isSet(busy);
    settings.mUnitError = parser.isSet(unitError);
    settings.mDropAfterChunk = parser.value(dropAfter).toInt();
    settings.mStallAfterChunk = parser.value(stallAfter).toInt();
    settings.mDownloadChunkSize = parser.value(chunkSize).toInt();

    InitialiseSyscall(eKeepLinksOnTermination, false);
    cSyscallThread pollThread;
    pollThread.StartSyscall();
    cNetworkConnection::AllowInstanceOf(true);
    cNetworkConnection* network = cNetworkConnection::Instance();
    if (!parser.isSet(noHeartbeat))
        network->InitialiseLostComms();

    std::unique_ptr<cSimConfigManager> manager;
    if (!parser.isSet(noConfigManager))
    {
        SyscallMessagesPollLock();
        manager = std::make_unique<cSimConfigManager>(settings, network);
        SyscallMessagesPollUnLock();
    }

    cSimUnitServer server(network);
    if (!server.listen(QHostAddress::LocalHost, static_cast<quint16>(parser.value(tcpPort).toUInt())))
    {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.errorString()));
        return 2;
    }

    std::printf("READY tcp=%u\n", server.serverPort());
    std::fflush(stdout);
    return application.exec();
}

// A simulated unit for tests and benchmarks: accepts ZRNet connections, hosts the config manager and answers
// discovery probes, all on 127.0.0.1. Prints "READY tcp=<port> udp=<port>" once it listens (udp=0: it answers no
// probes, because the port could not be bound); stop it by its process id. --help lists the options.
#include "Common/Qt/cDiscoveryDatagram.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cDiscoveryResponder.h"
#include "cSimConfigManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QTcpServer>
#include <QVector>

#include <cstdio>
#include <memory>

namespace
{
// The most that one UDP datagram over IPv4 carries.
constexpr int kMaxDatagramSize = 65507;

// A number option and the values that the unit can honour.
struct sNumberOption
{
    const QCommandLineOption* mOption;
    int mMinimum;
    int mMaximum;
};

bool Refuse(const QString& text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    return false;
}

// Every value is checked before anything listens, so that a test never runs against a unit other than it asked for.
bool OptionsHonoured(const QCommandLineParser& parser, const QVector<sNumberOption>& numbers,
                     const QCommandLineOption& unitName, const QCommandLineOption& findName)
{
    for (const sNumberOption& number : numbers)
    {
        const QString name = number.mOption->names().first();
        bool isNumber = false;
        const int value = parser.value(*number.mOption).toInt(&isNumber);
        if (!isNumber || value < number.mMinimum || value > number.mMaximum)
            return Refuse(QString("--%1 takes a whole number from %2 to %3, not \"%4\"")
                              .arg(name).arg(number.mMinimum).arg(number.mMaximum).arg(parser.value(*number.mOption)));
    }
    const int nameBytes = parser.value(unitName).toUtf8().size();
    if (nameBytes < 1 || nameBytes > 255)
        return Refuse(QString("--unit-name takes 1 to 255 bytes of UTF-8, not %1").arg(nameBytes));
    const int findNameBytes = parser.value(findName).toUtf8().size();
    if (findNameBytes > 255)
        return Refuse(QString("--find-name takes 0 to 255 bytes of UTF-8, not %1").arg(findNameBytes));
    return true;
}

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
    parser.setApplicationDescription("A simulated unit on 127.0.0.1: ZRNet connections, the config manager and "
                                     "answers to discovery probes.");
    parser.addHelpOption();
    const QCommandLineOption tcpPort("tcp-port", "TCP port of ZRNet connections, 0 to 65535 (0: any free one; default 51321).",
                                     "port", QString::number(kZRNetTcpPort));
    const QCommandLineOption discoveryPort(
        "discovery-port", "UDP port on which discovery probes are answered, 0 to 65535 (0: any free one; default 51320).", "port",
        QString::number(kDiscoveryProbePort));
    const QCommandLineOption unitName("unit-name", "Unit name announced, 1 to 255 bytes of UTF-8 (default \"Simulated Dorvel\").", "text",
                                      "Simulated Dorvel");
    const QCommandLineOption unitType("unit-type", "Unit type announced: 0 Oskel, 1 Halvor or 2 Pemra Dorvel (default 0).", "type", "0");
    const QCommandLineOption findName("find-name", "Find name announced, 0 to 255 bytes of UTF-8 (default empty).", "text", "");
    const QCommandLineOption information("information", "Information text announced, as long as the announcement "
                                                        "fits one datagram (default empty).", "text", "");
    const QCommandLineOption adminPassword(
        "admin-password-hash",
        "The administrator's password as the editor sends it: the 88 Base64 characters of its hashed password "
        "(empty: no password).",
        "hash", "");
    const QCommandLineOption testWindowUser("test-window-user", "The test window's user name, in plain text "
                                                                "(empty: no such user).",
                                            "name", "");
    const QCommandLineOption testWindowPassword(
        "test-window-password-hash", "The test window's password as the editor sends it, like the administrator's.",
        "hash", "");
    const QCommandLineOption noConfigManager("no-config-manager", "Host no config manager.");
    const QCommandLineOption storedConfig("stored-config", "File served as the stored config until an upload "
                                                           "completes (default: none stored).",
                                          "file");
    const QCommandLineOption uploadFile("upload-file", "File to which each completed upload is also written.",
                                        "file");
    const QCommandLineOption busy("busy", "Answer every chunk of a logged-in connection with status 5, as if another upload were under way.");
    const QCommandLineOption unitError("unit-error", "Answer every chunk and download request of a logged-in connection with status 3.");
    const QCommandLineOption dropAfter("drop-after-chunk", "Drop the connection after receiving this chunk, "
                                                           "-1 to 65535 (-1: never).",
                                       "index", "-1");
    const QCommandLineOption stallAfter("stall-after-chunk", "Ignore everything from a connection after receiving "
                                                             "this chunk on it, -1 to 65535 (-1: never).",
                                        "index", "-1");
    const QCommandLineOption noHeartbeat("no-heartbeat", "Send no heartbeats and never drop a silent connection.");
    const QCommandLineOption chunkSize("download-chunk-size", "Bytes of config per download chunk, 1 to 65531; "
                                                              "over 32000 breaks the protocol, as a faulty unit would.",
                                       "bytes", QString::number(kConfigChunkSize));
    parser.addOptions({tcpPort, discoveryPort, unitName, unitType, findName, information, adminPassword,
                       testWindowUser, testWindowPassword, noConfigManager, storedConfig, uploadFile, busy, unitError,
                       dropAfter, stallAfter, noHeartbeat, chunkSize});
    parser.process(application);
    const int maxChunkSize = int(kZRNetMaxPayloadLength) - 4;
    if (!OptionsHonoured(parser,
                         {{&tcpPort, 0, 65535},
                          {&discoveryPort, 0, 65535},
                          {&unitType, 0, kUnitTypeCount - 1},
                          {&dropAfter, -1, 65535},
                          {&stallAfter, -1, 65535},
                          {&chunkSize, 1, maxChunkSize}},
                         unitName, findName))
        return 2;
    sUnit unit;
    unit.mUnitName = parser.value(unitName);
    unit.mUnitType = static_cast<eUnitType>(parser.value(unitType).toInt());
    unit.mFindName = parser.value(findName);
    unit.mInformation = parser.value(information);
    const int announcementSize = cDiscoveryDatagram::Announcement(unit).size();
    if (announcementSize > kMaxDatagramSize)
    {
        Refuse(QString("--information makes an announcement of %1 bytes, more than one datagram holds (%2)")
                   .arg(announcementSize).arg(kMaxDatagramSize));
        return 2;
    }

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

    cDiscoveryResponder responder(unit);
    quint16 answeredPort = 0;
    if (responder.Listen(QHostAddress::LocalHost, static_cast<quint16>(parser.value(discoveryPort).toUInt())))
        answeredPort = responder.Port();
    else
        std::fprintf(stderr, "answering no discovery probes: %s\n", qPrintable(responder.ErrorString()));

    std::printf("READY tcp=%u udp=%u\n", server.serverPort(), answeredPort);
    std::fflush(stdout);
    return application.exec();
}

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cNetworkHook.h"
#include "ZRNet/Core/cRegistryRouter.h"
#include "cSimConfigManager.h"

#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

namespace
{
const UWORD kEditor = 2;

// Keeps what the unit sends to its connections instead of sending it.
class cRecordingHook : public cNetworkHook
{
public:
    UWORD ConnectToUnit(const std::string&) override { return kZRNetNoConnection; }
    bool SendToUnit(const cZRNetMessage& message) override
    {
        mSent.push_back(message);
        return true;
    }
    bool IsConnected(UWORD) const override { return true; }

    std::vector<cZRNetMessage> mSent;
};
}

// The simulated unit refuses options it cannot honour before it listens, and its config manager lets go of
// what a connection held when the connection ends or its log-in is refused.
class tst_SimulatedUnit : public QObject
{
    Q_OBJECT

    cRecordingHook mHook;
    std::unique_ptr<cSimConfigManager> mManager;

    // Delivers what is queued as the poll thread would, then tells what the unit answered: "login 1",
    // "progress 0/1", "end 5".
    QStringList Run()
    {
        mHook.mSent.clear();
        cRegistryRouter* router = SyscallRegistryRouter();
        SyscallMessagesPollLock();
        cZRNetMessage next;
        while (router->QueuedCount() > 0 && router->WaitForMessage(next))
            router->Deliver(next);
        SyscallMessagesPollUnLock();
        QStringList answers;
        for (const cZRNetMessage& sent : mHook.mSent)
        {
            if (sent.Method() == eConfigMethodLogInReply)
                answers << QString("login %1").arg(sent.GetUByte(0));
            else if (sent.Method() == eConfigMethodUploadProgress)
                answers << QString("progress %1/%2").arg(sent.GetUWord(0)).arg(sent.GetUWord(2));
            else if (sent.Method() == eConfigMethodTransferEnd)
                answers << QString("end %1").arg(sent.GetUByte(0));
        }
        return answers;
    }
    QStringList Deliver(const cZRNetMessage& message)
    {
        SyscallPostMessage(message);
        return Run();
    }
    QStringList LogIn(UWORD connection, const char* password)
    {
        cZRNetMessage logIn(connection, mManager->Handle(), kEditor, eConfigMethodLogIn);
        logIn.AppendString("admin");
        logIn.AppendString(password);
        return Deliver(logIn);
    }
    QStringList Chunk(UWORD connection, int index, int last)
    {
        cZRNetMessage chunk(connection, mManager->Handle(), kEditor, eConfigMethodUploadChunk);
        chunk.AppendUWord(UWORD(index));
        chunk.AppendUWord(UWORD(last));
        chunk.AppendBytes(reinterpret_cast<const UBYTE*>("data"), 4);
        return Deliver(chunk);
    }
    QStringList EndConnection(UWORD connection)
    {
        SyscallConnectionTerminated(connection);
        return Run();
    }

private slots:
    void init()
    {
        InitialiseSyscall(eKeepLinksOnTermination, false);
        SyscallSetNetworkHook(&mHook);
        sSimUnitSettings settings;
        settings.mAdminUser = "admin";
        settings.mAdminPasswordHash = "right";
        mManager = std::make_unique<cSimConfigManager>(settings, nullptr);
    }
    void cleanup()
    {
        mManager.reset();
        SyscallSetNetworkHook(nullptr);
        UninitialiseSyscall();
    }

    // The values at the edges are taken; past them the unit says why and stops without listening.
    void optionsTheUnitCannotHonourAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("TCP port above 65535") << QStringList{"--tcp-port", "70000"} << "--tcp-port takes";
        QTest::newRow("discovery port not a number") << QStringList{"--discovery-port", "x"} << "--discovery-port takes";
        QTest::newRow("unit type 9") << QStringList{"--unit-type", "9"} << "--unit-type takes";
        QTest::newRow("unit type -1") << QStringList{"--unit-type", "-1"} << "--unit-type takes";
        QTest::newRow("unit type 2") << QStringList{"--unit-type", "2"} << QString();
        QTest::newRow("download chunk size 0") << QStringList{"--download-chunk-size", "0"} << "--download-chunk-size takes";
        QTest::newRow("negative download chunk size") << QStringList{"--download-chunk-size", "-1"}
                                                      << "--download-chunk-size takes";
        QTest::newRow("download chunk size past a frame") << QStringList{"--download-chunk-size", "65532"}
                                                          << "--download-chunk-size takes";
        QTest::newRow("largest download chunk") << QStringList{"--download-chunk-size", "65531"} << QString();
        QTest::newRow("drop after chunk -2") << QStringList{"--drop-after-chunk", "-2"} << "--drop-after-chunk takes";
        QTest::newRow("stall after chunk 65536") << QStringList{"--stall-after-chunk", "65536"}
                                                 << "--stall-after-chunk takes";
        QTest::newRow("empty unit name") << QStringList{"--unit-name="} << "--unit-name takes";
        QTest::newRow("unit name of 256 bytes") << QStringList{"--unit-name", QString(256, 'n')}
                                                << "--unit-name takes";
        QTest::newRow("find name of 256 bytes") << QStringList{"--find-name", QString(256, 'f')} << "--find-name takes";
        // The announcement's fixed part, the default name and the text: one byte over a datagram, or just in it.
        const int room = 65507 - 11 - int(strlen("Simulated Dorvel"));
        QTest::newRow("information past one datagram") << QStringList{"--information", QString(room + 1, 'i')}
                                                       << "--information makes an announcement of 65508 bytes";
        QTest::newRow("information filling one datagram") << QStringList{"--information", QString(room, 'i')}
                                                          << QString();
    }
    void optionsTheUnitCannotHonourAreRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, refusal);
        QProcess unit;
        unit.start(SIMUNIT_PROGRAM, QStringList{"--tcp-port", "0", "--discovery-port", "0"} + arguments);
        if (refusal.isEmpty())
        {
            QVERIFY(QTest::qWaitFor([&] { return unit.canReadLine() && unit.readLine().startsWith("READY"); }, 5000));
            unit.kill();
            QVERIFY(unit.waitForFinished(5000));
            return;
        }
        QVERIFY(unit.waitForFinished(5000));
        QCOMPARE(unit.exitStatus(), QProcess::NormalExit);
        QVERIFY(unit.exitCode() != 0);
        QCOMPARE(unit.readAllStandardOutput(), QByteArray());
        const QString error = QString::fromUtf8(unit.readAllStandardError());
        QVERIFY2(error.startsWith(refusal), qPrintable(error.left(200)));
    }

    // A later connection may get the same id: it finds neither the log-in nor the upload of the ended one.
    void whatAConnectionHeldEndsWithIt()
    {
        QCOMPARE(LogIn(7, "right"), QStringList{"login 1"});
        QCOMPARE(Chunk(7, 0, 1), QStringList{"progress 0/1"});
        QCOMPARE(Chunk(8, 0, 0), QStringList{"end 4"});
        QCOMPARE(EndConnection(7), QStringList());
        QCOMPARE(Chunk(7, 0, 0), QStringList{"end 4"});
        QCOMPARE(LogIn(8, "right"), QStringList{"login 1"});
        QCOMPARE(Chunk(8, 0, 0), (QStringList{"progress 0/0", "end 0"}));
    }

    // A refused log-in ends the upload of its connection, which frees the unit for another connection at once.
    void aRefusedLogInFreesTheUnitOfItsUpload()
    {
        QCOMPARE(LogIn(7, "right"), QStringList{"login 1"});
        QCOMPARE(LogIn(8, "right"), QStringList{"login 1"});
        QCOMPARE(Chunk(7, 0, 1), QStringList{"progress 0/1"});
        QCOMPARE(Chunk(8, 0, 0), QStringList{"end 5"});
        QCOMPARE(LogIn(7, "wrong"), QStringList{"login 0"});
        QCOMPARE(Chunk(8, 0, 0), (QStringList{"progress 0/0", "end 0"}));
        QCOMPARE(Chunk(7, 1, 1), QStringList{"end 4"});
    }
};

QTEST_GUILESS_MAIN(tst_SimulatedUnit)
#include "tst_SimulatedUnit.moc"

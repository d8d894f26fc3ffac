#include "ZRNet/Core/ZRNetProtocol.h"
#include "cZRNetTestObjects.h"
#include "support/cScriptedPeer.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"

#include <QTcpServer>
#include <QtTest>

#include <future>

enum eGreeting
{
    eAnswered,
    eWrongVersion,
    eHelloInsteadOfAck,
    eObjectFrameFirst,
    eSilent,
};
Q_DECLARE_METATYPE(eGreeting)

namespace
{
template <typename F>
void OnOtherThread(F work)
{
    std::thread(work).join();
}

cZRNetMessage Find(const std::string& path)
{
    cZRNetMessage find(0, kZRNetRegistryHandle, 7, eMethodFindObject);
    find.AppendString(path.c_str());
    return find;
}
}

// The network side: its connection table, the transport threads under it, their greetings and
// frames, the heartbeats, and the accepting side as the simulated unit runs it.
class tst_ZRNetConnection : public QObject
{
    Q_OBJECT

    std::unique_ptr<cRunningMessagingCore> mCore;
    cNetworkConnection* mNetwork = nullptr;

    // Connects from another thread, as the poll thread does, while the peer plays the unit here.
    UWORD ConnectThrough(cScriptedPeer& peer, eGreeting greeting = eAnswered)
    {
        mNetwork->SetUnitTcpPort(peer.Port());
        auto connecting = std::async(std::launch::async, [this] { return mNetwork->ConnectToUnit("127.0.0.1"); });
        cZRNetMessage hello;
        if (peer.Accept() && peer.Receive(hello) && hello.Method() == eMethodHello)
        {
            if (greeting == eAnswered || greeting == eWrongVersion)
                peer.Greet(eMethodHelloAck, kZRNetProtocolVersion + (greeting == eWrongVersion ? 1 : 0));
            else if (greeting == eHelloInsteadOfAck)
                peer.Greet(eMethodHello);
            else if (greeting == eObjectFrameFirst)
                peer.Send(cZRNetMessage(0, 1, 2, kZRNetFirstObjectMethod));
        }
        return connecting.get();
    }

private slots:
    void init()
    {
        mCore = std::make_unique<cRunningMessagingCore>();
        cNetworkConnection::AllowInstanceOf(true);
        mNetwork = cNetworkConnection::Instance();
    }

    // In the editor's order: the network side goes before the messaging core.
    void cleanup()
    {
        cNetworkConnection::AllowInstanceOf(true);
        cNetworkConnection::DeleteInstance();
        mCore.reset();
    }

    void theInstanceIsCreatedOnlyOnTheMainThreadWhileAllowed()
    {
        cNetworkConnection::DeleteInstance();
        cTraceCapture capture;
        cNetworkConnection::AllowInstanceOf(false);
        QVERIFY(!cNetworkConnection::Instance());
        QCOMPARE(capture.LinesContaining("ERROR: Network Connection access after destruction").size(), 1);
        cNetworkConnection::AllowInstanceOf(true);
        cNetworkConnection* fromOtherThread = nullptr;
        OnOtherThread([&] { fromOtherThread = cNetworkConnection::Instance(); });
        QVERIFY(!fromOtherThread);
        QCOMPARE(capture.LinesContaining("ERROR: Attempting to create instance on non-main thread").size(), 1);
        cNetworkConnection* instance = cNetworkConnection::Instance();
        QVERIFY(instance);
        QCOMPARE(cNetworkConnection::Instance(), instance);
        OnOtherThread([&] { fromOtherThread = cNetworkConnection::Instance(); });
        QCOMPARE(fromOtherThread, instance);
        QCOMPARE(capture.Lines().size(), 2);
    }

    void mainThreadOnlyCallsRefuseOtherThreads_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<QString>("trace");
        QTest::newRow("initialise lost comms") << 0 << "ERROR: Must be called on main thread";
        QTest::newRow("uninitialise lost comms") << 1 << "ERROR: Must be called on main thread";
        QTest::newRow("delete instance") << 2 << "ERROR: Attempting to delete instance on non-main thread";
    }

    void mainThreadOnlyCallsRefuseOtherThreads()
    {
        QFETCH(int, call);
        QFETCH(QString, trace);
        if (call == 1)
            mNetwork->InitialiseLostComms();
        cTraceCapture capture;
        OnOtherThread([&] {
            if (call == 0)
                mNetwork->InitialiseLostComms();
            else if (call == 1)
                mNetwork->UninitialiseLostComms();
            else
                cNetworkConnection::DeleteInstance();
        });
        QCOMPARE(capture.Lines().size(), 1);
        QCOMPARE(capture.LinesContaining(trace).size(), 1);
        QCOMPARE(cNetworkConnection::Instance(), mNetwork);
        QCOMPARE(mNetwork->LostCommsRunning(), call == 1);
    }

    void aSilentConnectionIsWarnedAtTwentySecondsAndLostAtThirty()
    {
        cIdRecorder low(mNetwork, &cNetworkConnection::TimeToLiveLow);
        cIdRecorder lost(mNetwork, &cNetworkConnection::LostCommunications);
        cIdRecorder restored(mNetwork, &cNetworkConnection::TimeToLiveRestored);
        mNetwork->WatchConnection(3);
        mNetwork->WatchConnection(4);
        const auto age = [&](int seconds) {
            while (seconds-- > 0)
                mNetwork->AgeConnections();
        };
        age(19);
        QVERIFY(low.mIds.isEmpty());
        age(1);
        QCOMPARE(low.mIds, (QVector<UWORD>{3, 4}));
        age(9);
        mNetwork->HeartbeatReceived(4);
        mNetwork->HeartbeatReceived(4);
        QCOMPARE(restored.mIds, QVector<UWORD>{4});
        QVERIFY(lost.mIds.isEmpty());
        age(1);
        QCOMPARE(lost.mIds, QVector<UWORD>{3});
        age(28);
        QCOMPARE(lost.mIds.size(), 1);
        age(1);
        QCOMPARE(lost.mIds, (QVector<UWORD>{3, 4}));
    }

    void theSenderAsksForAHeartbeatOnEveryConnectionUntilUninitialised()
    {
        mNetwork->WatchConnection(3);
        mNetwork->WatchConnection(4);
        cTraceCapture capture;
        mNetwork->WatchConnection(kZRNetLocalConnection);
        mNetwork->WatchConnection(kZRNetNoConnection);
        QCOMPARE(capture.LinesContaining("ERROR: Not a remote connection").size(), 2);
        QCOMPARE(mNetwork->ConnectionIds(), (QVector<UWORD>{3, 4}));
        cIdRecorder due(mNetwork, &cNetworkConnection::HeartbeatDue);
        mNetwork->InitialiseLostComms();
        QTRY_VERIFY_WITH_TIMEOUT(due.mIds.size() >= 2, 10000);
        QCOMPARE(due.mIds.mid(0, 2), (QVector<UWORD>{3, 4}));
        mNetwork->InitialiseLostComms();
        QCOMPARE(capture.LinesContaining("ERROR: Lost communications already initialised").size(), 1);
        mNetwork->UninitialiseLostComms();
        QVERIFY(!mNetwork->LostCommsRunning());
        mNetwork->UninitialiseLostComms();
        QCOMPARE(capture.LinesContaining("ERROR:").size(), 3);
    }

    void closingOrDeletingTheInstanceEndsConnections()
    {
        cIdRecorder closed(mNetwork, &cNetworkConnection::Disconnected);
        mNetwork->WatchConnection(5);
        mNetwork->WatchConnection(6);
        mNetwork->WatchConnection(7);
        mNetwork->InitialiseLostComms();
        mNetwork->CloseConnection(8);
        mNetwork->CloseConnection(7);
        QCOMPARE(closed.mIds, QVector<UWORD>{7});
        QCOMPARE(mNetwork->ConnectionIds(), (QVector<UWORD>{5, 6}));
        cNetworkConnection::DeleteInstance();
        QCOMPARE(closed.mIds, (QVector<UWORD>{7, 5, 6}));
        cTraceCapture capture;
        cNetworkConnection::DeleteInstance();
        QVERIFY(capture.Lines().isEmpty());
        // A new one may be made while instances are allowed.
        QVERIFY(cNetworkConnection::Instance() != nullptr);
    }

    void connectingGreetsTheUnitWithHelloAndClosingSaysBye()
    {
        cScriptedPeer unit;
        QVERIFY(unit.Listen());
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(mNetwork->IsConnected(connectionId));
        QCOMPARE(mNetwork->ConnectToUnit("127.0.0.1"), connectionId);
        QVERIFY(unit.PeerUdpPort() != 0);
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        mNetwork->CloseConnection(connectionId);
        QCOMPARE(disconnected.mIds, QVector<UWORD>{connectionId});
        cZRNetMessage bye;
        QVERIFY(unit.Receive(bye));
        QCOMPARE(bye.Method(), UWORD(eMethodBye));
        QVERIFY(!mNetwork->IsConnected(connectionId));
    }

    void aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting_data()
    {
        QTest::addColumn<eGreeting>("greeting");
        QTest::addColumn<QString>("trace");
        QTest::newRow("answered") << eAnswered << QString();
        QTest::newRow("another protocol version") << eWrongVersion << "Handshake refused";
        QTest::newRow("HELLO in place of HELLO ACK") << eHelloInsteadOfAck << "Handshake refused";
        QTest::newRow("an object's frame first") << eObjectFrameFirst << "Handshake refused";
        QTest::newRow("never answered") << eSilent << "Handshake not completed";
    }

    // A refused greeting fails at once, before the handshake time could end it as well.
    void aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting()
    {
        QFETCH(eGreeting, greeting);
        QFETCH(QString, trace);
        cScriptedPeer unit;
        QVERIFY(unit.Listen());
        cTraceCapture capture;
        const UWORD connectionId = ConnectThrough(unit, greeting);
        QCOMPARE(connectionId != kZRNetNoConnection, trace.isEmpty());
        QCOMPARE(mNetwork->ConnectionIds().size(), trace.isEmpty() ? 1 : 0);
        QCOMPARE(capture.LinesContaining("ERROR:").size(), trace.isEmpty() ? 0 : 1);
        QCOMPARE(capture.LinesContaining("ERROR: " + trace).size(), capture.LinesContaining("ERROR:").size());
    }

    void datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort_data()
    {
        QTest::addColumn<bool>("fromAnnouncedPort");
        QTest::addColumn<UWORD>("method");
        QTest::addColumn<QString>("trace");
        QTest::newRow("object message from the announced port")
            << true << kZRNetFirstObjectMethod << "only heartbeats travel by datagram";
        QTest::newRow("heartbeat from another port")
            << false << UWORD(eMethodHeartbeat) << "not the peer's announced port";
        QTest::newRow("object message from another port")
            << false << kZRNetFirstObjectMethod << "not the peer's announced port";
    }

    void datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort()
    {
        QFETCH(bool, fromAnnouncedPort);
        QFETCH(UWORD, method);
        QFETCH(QString, trace);
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        QVERIFY(unit.Listen());
        QVERIFY(ConnectThrough(unit) != kZRNetNoConnection);
        cTraceCapture capture;
        unit.SendDatagram(cZRNetMessage(0, target.Handle(), 1, method), fromAnnouncedPort);
        QTRY_COMPARE_WITH_TIMEOUT(capture.LinesContaining(trace).size(), 1, 10000);
        // The same by TCP, sent after the datagram was dealt with, is the first and only delivery.
        unit.Send(cZRNetMessage(0, target.Handle(), 1, kZRNetFirstObjectMethod + 1));
        QVERIFY(target.mEvents.WaitFor(1));
        QCOMPARE(target.mEvents.Items(), std::vector<std::string>{"m257"});
    }

    void messagesOverTheFrameLimitAreNotSent()
    {
        cScriptedPeer unit;
        QVERIFY(unit.Listen());
        const UWORD connectionId = ConnectThrough(unit);
        cTraceCapture capture;
        for (const size_t length : {kZRNetMaxPayloadLength + 1, kZRNetMaxPayloadLength})
        {
            cZRNetMessage message(connectionId, 1, 2, kZRNetFirstObjectMethod);
            message.SetLength(length);
            QCOMPARE(mNetwork->SendToUnit(message), length == kZRNetMaxPayloadLength);
        }
        QCOMPARE(capture.LinesContaining("payload of 65536 bytes is over the limit").size(), 1);
        cZRNetMessage received;
        QVERIFY(unit.Receive(received));
        QCOMPARE(received.Length(), kZRNetMaxPayloadLength);
        QVERIFY(mNetwork->IsConnected(connectionId));
    }

    void anUnreachableUnitIsNotFound()
    {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closedPort = probe.serverPort();
        }
        mNetwork->SetUnitTcpPort(closedPort);
        cRecordingSeekObject seeker("KelvariConfigClient");
        cTraceCapture capture;
        QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
        QVERIFY(seeker.mOutcomes.WaitFor(1));
        QCOMPARE(seeker.mOutcomes.Items().front().mHandle, kZRNetNoHandle);
        QCOMPARE(capture.LinesContaining("ERROR: Cannot connect to unit 127.0.0.1").size(), 1);
        QVERIFY(mNetwork->ConnectionIds().isEmpty());
    }

    void objectsOnAUnitAreSoughtThroughTheRegistry()
    {
        cSimulatedUnit unit;
        QVERIFY(unit.Start());
        mNetwork->SetUnitTcpPort(unit.TcpPort());
        cRecordingSeekObject seeker("KelvariConfigClient");
        QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
        QVERIFY(seeker.mOutcomes.WaitFor(1));
        const sOutcome found = seeker.mOutcomes.Items().back();
        QVERIFY(found.mHandle != kZRNetNoHandle);
        QVERIFY(mNetwork->IsConnected(found.mConnectionId));
        QCOMPARE(seeker.CachedPathCount(), size_t(1));
        QVERIFY(!seeker.SeekObject("127.0.0.1/Nobody"));
        QVERIFY(seeker.mOutcomes.WaitFor(2));
        QCOMPARE(seeker.mOutcomes.Items().back().mHandle, kZRNetNoHandle);
        QCOMPARE(mNetwork->ConnectionIds().size(), 1);
        // A cached handle is not used once its connection has gone.
        mNetwork->CloseConnection(found.mConnectionId);
        QTRY_COMPARE_WITH_TIMEOUT(seeker.CachedPathCount(), size_t(0), 10000);
        QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
        QVERIFY(seeker.mOutcomes.WaitFor(3));
        QVERIFY(seeker.mOutcomes.Items().back().mHandle != kZRNetNoHandle);
        QVERIFY(seeker.mOutcomes.Items().back().mConnectionId != found.mConnectionId);
    }

    void aDamagedStreamDropsTheConnection_data()
    {
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<QString>("trace");
        QTest::newRow("wrong end byte") << false << "Malformed frame";
        QTest::newRow("truncated frame") << true << "Truncated frame";
    }

    void aDamagedStreamDropsTheConnection()
    {
        QFETCH(bool, truncated);
        QFETCH(QString, trace);
        cScriptedPeer unit;
        QVERIFY(unit.Listen());
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        cTraceCapture capture;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(connectionId != kZRNetNoConnection);
        cZRNetMessage message(0, 1, 2, kZRNetFirstObjectMethod);
        message.AppendULong(0x01020304);
        QByteArray damaged = cScriptedPeer::Framed(message);
        if (truncated)
            damaged.chop(3);
        else
            damaged[damaged.size() - 1] = char(0xF0);
        // A good frame first: the connection works until the damage arrives.
        unit.SendBytes(cScriptedPeer::Framed(cZRNetMessage(0, 1, 2, kZRNetFirstObjectMethod)) + damaged);
        if (truncated)
            unit.Close();
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.mIds, QVector<UWORD>{connectionId}, 10000);
        QVERIFY(!mNetwork->IsConnected(connectionId));
        QTRY_COMPARE_WITH_TIMEOUT(capture.LinesContaining("ERROR: " + trace).size(), 1, 10000);
        // The network side carries on: a new connection can be made.
        QVERIFY(ConnectThrough(unit) != kZRNetNoConnection);
    }

    // Both are aged in the same rounds, the alive one (the lower id) first: were its heartbeats not
    // heard, it would be lost no later than the silent one.
    void aSilentUnitIsLostAfterTheLimitWhileAnAliveOneStays()
    {
        cSimulatedUnit alive;
        cSimulatedUnit silent({"--no-heartbeat"});
        QVERIFY(alive.Start() && silent.Start());
        mNetwork->SetLostAfterSeconds(3);
        mNetwork->SetUnitTcpPort(alive.TcpPort());
        const UWORD aliveId = mNetwork->ConnectToUnit("127.0.0.1");
        mNetwork->SetUnitTcpPort(silent.TcpPort());
        const UWORD silentId = mNetwork->ConnectToUnit("127.0.0.1");
        QVERIFY(aliveId < silentId && silentId != kZRNetNoConnection);
        cIdRecorder lost(mNetwork, &cNetworkConnection::LostCommunications);
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        cTraceCapture capture;
        mNetwork->InitialiseLostComms();
        QTRY_VERIFY_WITH_TIMEOUT(!lost.mIds.isEmpty(), 20000);
        QCOMPARE(lost.mIds, QVector<UWORD>{silentId});
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.mIds, QVector<UWORD>{silentId}, 10000);
        QVERIFY(!mNetwork->IsConnected(silentId) && mNetwork->IsConnected(aliveId));
        QCOMPARE(capture.LinesContaining("ERROR: Lost communications on connection").size(), 1);
    }

    // The accepting side, as a unit runs it: a peer that does not greet first is cut off at once,
    // so that a greeting it sends later is never answered.
    void aPeerThatSendsBeforeItsGreetingIsDropped()
    {
        cSimulatedUnit unit;
        QVERIFY(unit.Start());
        cScriptedPeer editor;
        QVERIFY(editor.ConnectTo(unit.TcpPort()));
        editor.Send(Find(kConfigManagerName));
        editor.Greet(eMethodHello);
        QVERIFY(editor.WaitForClose(10000));
        cZRNetMessage reply;
        QVERIFY(!editor.Receive(reply, 0));
    }

    // An answer echoes the path, so an overlong one would make a frame over the limit.
    void findsOfOverlongPathsGoUnanswered_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("127 characters answered") << 127;
        QTest::newRow("128 characters not") << 128;
    }

    void findsOfOverlongPathsGoUnanswered()
    {
        QFETCH(int, length);
        cSimulatedUnit unit;
        QVERIFY(unit.Start());
        cScriptedPeer editor;
        QVERIFY(editor.ConnectTo(unit.TcpPort()));
        editor.Greet(eMethodHello);
        const std::string path(size_t(length), 'p');
        editor.Send(Find(path));
        editor.Send(Find(kConfigManagerName));
        cZRNetMessage reply;
        QVERIFY(editor.ReceiveMethod(eMethodFoundObject, reply));
        QCOMPARE(reply.GetString(4), length <= 127 ? path : std::string(kConfigManagerName));
        QCOMPARE(reply.GetUWord(0) == kZRNetNoHandle, length <= 127);
    }
};

QTEST_GUILESS_MAIN(tst_ZRNetConnection)
#include "tst_ZRNetConnection.moc"

#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cTraceRateLimit.h"
#include "ZRNet/Qt/cConnectionTransport.h"
#include "cZRNetTestObjects.h"
#include "support/cScriptedPeer.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"

#include <QTcpServer>
#include <QtTest>

#include <future>
#include <thread>

enum eGreeting
{
    eAnswered,
    eWrongVersion,
    eHelloInsteadOfAck,
    eObjectFrameFirst,
    eSilent,
};
Q_DECLARE_METATYPE(eGreeting)

// The network side: its connection table, the transport threads under it, their greetings and
// frames, the heartbeats, and the accepting side as the simulated unit runs it.
class tst_ZRNetConnection : public QObject
{
    Q_OBJECT

    std::unique_ptr<cRunningMessagingCore> mCore;
    cNetworkConnection* mNetwork = nullptr;

    // Connects from another thread, as the poll thread does, while the peer plays the unit here; the peer
    // listens first if it does not yet.
    UWORD ConnectThrough(cScriptedPeer& peer, eGreeting greeting = eAnswered)
    {
        if (peer.Port() == 0 && !peer.Listen())
            return kZRNetNoConnection;
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

    // Frames to the target numbered from 0 in their first long, each with the padding after it.
    static QByteArray NumberedFrames(UWORD target, int frames, int padding = 0)
    {
        QByteArray stream;
        const QByteArray pad(padding, 'p');
        for (int index = 0; index < frames; ++index)
        {
            cZRNetMessage frame(0, target, 1, kZRNetFirstObjectMethod);
            frame.AppendULong(ULONG(index));
            frame.AppendBytes(pad.constData(), size_t(pad.size()));
            stream += cScriptedPeer::Framed(frame);
        }
        return stream;
    }

    // How many of the received are numbered 0, 1, 2 and on, from the first; all of them when none is missing
    // or out of place.
    static int NumberedInOrder(const std::vector<sReceived>& received)
    {
        int inOrder = 0;
        while (size_t(inOrder) < received.size() && received[size_t(inOrder)].mValue == ULONG(inOrder))
            ++inOrder;
        return inOrder;
    }

    // Writes on what the peer has not sent yet until the condition holds; false after a minute without.
    template <typename tCondition>
    static bool OfferUntil(cScriptedPeer& peer, tCondition condition)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition())
        {
            if (timer.elapsed() > 60000)
                return false;
            if (peer.WriteOn(10) == 0)
                QTest::qWait(10);
        }
        return true;
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

    void theInstanceIsMadeAndItsThreadsStartedAndStoppedOnlyOnTheMainThread()
    {
        cTraceCapture capture;
        cNetworkConnection* fromOtherThread = mNetwork;
        std::thread([&] {
            mNetwork->InitialiseLostComms();
            cNetworkConnection::DeleteInstance();
        }).join();
        QCOMPARE(capture.LinesContaining("ERROR: Must be called on main thread").size(), 1);
        QCOMPARE(capture.LinesContaining("ERROR: Attempting to delete instance on non-main thread").size(), 1);
        QVERIFY(!mNetwork->LostCommsRunning());
        mNetwork->InitialiseLostComms();
        std::thread([&] { mNetwork->UninitialiseLostComms(); }).join();
        QCOMPARE(capture.LinesContaining("ERROR: Must be called on main thread").size(), 2);
        QVERIFY(mNetwork->LostCommsRunning());
        std::thread([&] { fromOtherThread = cNetworkConnection::Instance(); }).join();
        QCOMPARE(fromOtherThread, mNetwork);
        cNetworkConnection::DeleteInstance();
        std::thread([&] { fromOtherThread = cNetworkConnection::Instance(); }).join();
        QVERIFY(!fromOtherThread);
        QCOMPARE(capture.LinesContaining("ERROR: Attempting to create instance on non-main thread").size(), 1);
        cNetworkConnection::AllowInstanceOf(false);
        QVERIFY(!cNetworkConnection::Instance());
        QCOMPARE(capture.LinesContaining("ERROR: Network Connection access after destruction").size(), 1);
        cNetworkConnection::AllowInstanceOf(true);
        QVERIFY(cNetworkConnection::Instance() && cNetworkConnection::Instance() == cNetworkConnection::Instance());
        // Without real-time scheduling rights the heartbeat sender says so; that line is the machine's, not the test's.
        const int notices = capture.LinesContaining("Heartbeat sender keeps its normal scheduling").size();
        QVERIFY(notices <= 1);
        QCOMPARE(capture.Lines().size() - notices, 5);
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

    // Each watched connection is asked for a heartbeat every second; each end is told, also when the instance goes.
    void heartbeatsAreAskedForOnEveryConnectionAndEachEndIsTold()
    {
        cIdRecorder due(mNetwork, &cNetworkConnection::HeartbeatDue);
        cIdRecorder closed(mNetwork, &cNetworkConnection::Disconnected);
        cTraceCapture capture;
        for (const UWORD id : {UWORD(5), UWORD(6), UWORD(7), kZRNetLocalConnection, kZRNetNoConnection})
            mNetwork->WatchConnection(id);
        QCOMPARE(capture.LinesContaining("ERROR: Not a remote connection").size(), 2);
        QCOMPARE(mNetwork->ConnectionIds(), (QVector<UWORD>{5, 6, 7}));
        mNetwork->InitialiseLostComms();
        QTRY_VERIFY_WITH_TIMEOUT(due.mIds.size() >= 3, 10000);
        QCOMPARE(due.mIds.mid(0, 3), (QVector<UWORD>{5, 6, 7}));
        mNetwork->InitialiseLostComms();
        QCOMPARE(capture.LinesContaining("ERROR: Lost communications already initialised").size(), 1);
        mNetwork->UninitialiseLostComms();
        QVERIFY(!mNetwork->LostCommsRunning());
        mNetwork->UninitialiseLostComms();
        QCOMPARE(capture.LinesContaining("ERROR:").size(), 3);
        mNetwork->InitialiseLostComms();
        mNetwork->CloseConnection(8);
        mNetwork->CloseConnection(7);
        QCOMPARE(closed.mIds, QVector<UWORD>{7});
        QCOMPARE(mNetwork->ConnectionIds(), (QVector<UWORD>{5, 6}));
        cNetworkConnection::DeleteInstance();
        QCOMPARE(closed.mIds, (QVector<UWORD>{7, 5, 6}));
        const int lines = capture.Lines().size();
        cNetworkConnection::DeleteInstance();
        QCOMPARE(capture.Lines().size(), lines);
        // A new one may be made while instances are allowed.
        QVERIFY(cNetworkConnection::Instance() != nullptr);
    }

    // Datagrams carry only heartbeats, and only from the port the unit's greeting announced; frames
    // over the limit are not sent; closing says BYE.
    void aConnectionCarriesFramesWithinTheLimitAndHeartbeatsFromTheAnnouncedPort()
    {
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(mNetwork->IsConnected(connectionId));
        QCOMPARE(mNetwork->ConnectToUnit("127.0.0.1"), connectionId);
        QVERIFY(unit.PeerUdpPort() != 0);
        cTraceCapture capture;
        unit.SendDatagram(cZRNetMessage(0, target.Handle(), 1, kZRNetFirstObjectMethod));
        QTRY_COMPARE_WITH_TIMEOUT(capture.LinesContaining("only heartbeats travel by datagram").size(), 1, 10000);
        for (const UWORD method : {UWORD(eMethodHeartbeat), kZRNetFirstObjectMethod})
            unit.SendDatagram(cZRNetMessage(0, target.Handle(), 1, method), false);
        QTRY_COMPARE_WITH_TIMEOUT(capture.LinesContaining("not the peer's announced port").size(), 2, 10000);
        // The same by TCP, sent after the datagrams were dealt with, is the first and only delivery.
        unit.Send(cZRNetMessage(0, target.Handle(), 1, kZRNetFirstObjectMethod + 1));
        QVERIFY(target.mEvents.WaitFor(1));
        QCOMPARE(target.mEvents.Items(), std::vector<std::string>{"m257"});
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
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        mNetwork->CloseConnection(connectionId);
        QCOMPARE(disconnected.mIds, QVector<UWORD>{connectionId});
        QVERIFY(unit.Receive(received));
        QCOMPARE(received.Method(), UWORD(eMethodBye));
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

    void anUnreachableUnitIsNotFound()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        mNetwork->SetUnitTcpPort(closed.serverPort());
        closed.close();
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
        const QByteArray good = cScriptedPeer::Framed(cZRNetMessage(0, 1, 2, kZRNetFirstObjectMethod));
        // A good frame first: the connection works until the damage arrives.
        unit.SendBytes(good + (truncated ? good.left(good.size() - 3) : good.left(good.size() - 1) + char(0xF0)));
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

    void aFloodingPeerIsHeldBackUntilTheQueueDrains_data()
    {
        const int mark = int(cConnectionTransport::kPauseReadingAtQueued);
        const int padding = 60000;
        const int largeFrames = int(3 * cConnectionTransport::kPauseReadingAtBytes / padding);
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("padding");
        QTest::addColumn<bool>("peerCloses");
        QTest::newRow("ten times the mark, the peer stays") << 10 * mark << 0 << false;
        QTest::newRow("just over the mark, the peer closes while held back") << mark + 1000 << 0 << true;
        QTest::newRow("large frames, three times the byte mark") << largeFrames << padding << false;
    }

    // The poll lock is held as while the main thread makes a net object, so nothing is delivered: the
    // editor takes frames only up to its mark and leaves the rest to TCP, and however often the connection is
    // aged meanwhile it does not count as silent. Let go, it delivers every frame in order, and a peer that
    // closed meanwhile is closed after them.
    void aFloodingPeerIsHeldBackUntilTheQueueDrains()
    {
        QFETCH(int, frames);
        QFETCH(int, padding);
        QFETCH(bool, peerCloses);
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(connectionId != kZRNetNoConnection);
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        mNetwork->SetLostAfterSeconds(2);
        const QByteArray stream = NumberedFrames(target.Handle(), frames, padding);
        cTraceCapture capture;
        cHeldPollLock held;
        unit.SendBytes(stream);
        if (peerCloses)
            unit.Close();
        // Offered until the editor pauses; once paused it takes nothing more while the lock is held.
        QVERIFY(OfferUntil(unit, [&] { return !capture.LinesContaining("Reading paused on connection").isEmpty(); }));
        const sQueueLoad load = SyscallQueueLoad();
        QVERIFY2(load.mMessages <= cConnectionTransport::kPauseReadingAtQueued,
                 qPrintable(QString::number(load.mMessages)));
        QVERIFY2(load.mPayloadBytes <= cConnectionTransport::kPauseReadingAtBytes + kZRNetMaxPayloadLength,
                 qPrintable(QString::number(load.mPayloadBytes)));
        for (int second = 0; second < 5; ++second)
            mNetwork->AgeConnections();
        QVERIFY(mNetwork->IsConnected(connectionId));
        QCOMPARE(capture.LinesContaining("Reading paused on connection").size(), 1);
        held.Release();
        QVERIFY(OfferUntil(unit, [&] { return target.mReceived.WaitFor(size_t(frames), 10); }));
        QCOMPARE(target.mReceived.Items().size(), size_t(frames));
        QCOMPARE(NumberedInOrder(target.mReceived.Items()), frames);
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.mIds,
                                  peerCloses ? QVector<UWORD>{connectionId} : QVector<UWORD>{}, 30000);
        QCOMPARE(mNetwork->IsConnected(connectionId), !peerCloses);
        // Each pause and each resume is told once, however many frames wait behind it; every pause had a frame
        // waiting, so the last frame came after the last resume.
        const int pauses = capture.LinesContaining("Reading paused on connection").size();
        QCOMPARE(capture.LinesContaining("Reading resumed on connection").size(), pauses);
        QCOMPARE(capture.LinesContaining("closed by the peer").size(), peerCloses ? 1 : 0);
        QCOMPARE(capture.Lines().size(), 2 * pauses + (peerCloses ? 1 : 0));
    }

    // A peer's close is heard while it is held back with frames unread, and reading may pause again after
    // that: those frames are still delivered, and only then is the connection closed. With low marks the whole
    // flood fits the socket buffers, so the close is heard at the first pause; an object that holds up the poll
    // thread then stops the draining, so that the queue fills again.
    void aPeerThatClosesWhileHeldBackIsReadToItsEndPastEveryPause()
    {
        const size_t mark = 100;
        mNetwork->SetReadingMarks({mark, cConnectionTransport::kPauseReadingAtBytes},
                                  {mark / 2, cConnectionTransport::kResumeReadingBelowBytes});
        cRecordingNetObject target("Target");
        cBlockingNetObject busy("Busy");
        cScriptedPeer unit;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(connectionId != kZRNetNoConnection);
        cIdRecorder disconnected(mNetwork, &cNetworkConnection::Disconnected);
        const int frames = int(10 * mark);
        cTraceCapture capture;
        cHeldPollLock held;
        unit.SendBytes(NumberedFrames(target.Handle(), frames));
        unit.StopSending();
        // The editor closes its end once it has read the peer's close.
        QVERIFY(unit.WaitForClose(30000));
        QCOMPARE(capture.LinesContaining("Reading paused on connection").size(), 1);
        SyscallPostMessage(
            cZRNetMessage(kZRNetLocalConnection, busy.Handle(), kZRNetNoHandle, kZRNetFirstObjectMethod));
        held.Release();
        QTRY_VERIFY_WITH_TIMEOUT(capture.LinesContaining("Reading paused on connection").size() >= 2, 30000);
        busy.Open();
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.mIds, QVector<UWORD>{connectionId}, 30000);
        QCOMPARE(capture.LinesContaining("Truncated frame").size(), 0);
        QVERIFY(target.mReceived.WaitFor(size_t(frames), 30000));
        QCOMPARE(target.mReceived.Items().size(), size_t(frames));
        QCOMPARE(NumberedInOrder(target.mReceived.Items()), frames);
        QCOMPARE(capture.LinesContaining("closed by the peer").size(), 1);
    }

    void aPeerIsHeldBackOnlyWhileAFrameOfItsWaits_data()
    {
        QTest::addColumn<int>("queuedBefore");
        QTest::addColumn<bool>("heldBack");
        const int mark = int(cConnectionTransport::kPauseReadingAtQueued);
        QTest::newRow("its frame fills the queue") << mark - 1 << false;
        QTest::newRow("its frame finds the queue full") << mark << true;
    }

    // The peer has been silent long enough to be warned about when its one frame comes. Reading pauses only
    // with a frame of the peer's waiting: held back, the peer counts as heard from, however often it is aged;
    // a frame that itself fills the queue holds nothing back, so the peer is lost once silent again.
    void aPeerIsHeldBackOnlyWhileAFrameOfItsWaits()
    {
        QFETCH(int, queuedBefore);
        QFETCH(bool, heldBack);
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(connectionId != kZRNetNoConnection);
        cIdRecorder low(mNetwork, &cNetworkConnection::TimeToLiveLow);
        cIdRecorder restored(mNetwork, &cNetworkConnection::TimeToLiveRestored);
        cIdRecorder lost(mNetwork, &cNetworkConnection::LostCommunications);
        mNetwork->SetLostAfterSeconds(cNetworkConnection::kLowTimeToLiveSeconds + 2);
        cTraceCapture capture;
        cHeldPollLock held;
        const cZRNetMessage local(kZRNetLocalConnection, target.Handle(), kZRNetNoHandle, kZRNetFirstObjectMethod);
        for (int posted = 0; posted <= queuedBefore; ++posted)
            SyscallPostMessage(local);
        // The poll thread takes one and waits for the lock with it.
        QTRY_COMPARE_WITH_TIMEOUT(SyscallQueuedMessageCount(), size_t(queuedBefore), 10000);
        for (int second = 0; second < 2; ++second)
            mNetwork->AgeConnections();
        QCOMPARE(low.mIds, QVector<UWORD>{connectionId});
        unit.Send(cZRNetMessage(0, target.Handle(), 1, kZRNetFirstObjectMethod));
        if (heldBack)
            QTRY_COMPARE_WITH_TIMEOUT(capture.LinesContaining("Reading paused").size(), 1, 10000);
        else // The frame is queued before the transport tells that the peer spoke: wait for the telling.
            QTRY_COMPARE_WITH_TIMEOUT(restored.mIds, QVector<UWORD>{connectionId}, 10000);
        for (int second = 0; second < cNetworkConnection::kLowTimeToLiveSeconds + 2; ++second)
            mNetwork->AgeConnections();
        QCOMPARE(restored.mIds, QVector<UWORD>{connectionId});
        QCOMPARE(lost.mIds, heldBack ? QVector<UWORD>{} : QVector<UWORD>{connectionId});
        QCOMPARE(mNetwork->IsConnected(connectionId), heldBack);
        QCOMPARE(capture.LinesContaining("Reading paused").size(), heldBack ? 1 : 0);
    }

    // Protocol methods other than find serve the editor's own objects: a peer's are dropped, each traced, and
    // what follows them still arrives.
    void aPeersProtocolMethodsForTheEditorsObjectsAreDropped()
    {
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        QVERIFY(ConnectThrough(unit) != kZRNetNoConnection);
        cTraceCapture capture;
        const std::vector<UWORD> refused{eMethodTick,       eMethodTock,           eMethodObjectDeleted,
                                         eMethodAddInform,  eMethodAddDeleteNotify, eMethodLinkResult,
                                         eMethodConnectionEnded, eMethodFindForwarded};
        for (UWORD method : refused)
        {
            cZRNetMessage frame(0, target.Handle(), 2, method);
            for (UWORD word : {UWORD(0), UWORD(0), target.Handle(), UWORD(0)})
                frame.AppendUWord(word);
            unit.Send(frame);
        }
        unit.Send(cZRNetMessage(0, target.Handle(), 2, kZRNetFirstObjectMethod));
        QVERIFY(target.mReceived.WaitFor(1, 5000));
        QTest::qWait(50);
        QCOMPARE(target.mReceived.Items().size(), size_t(1));
        QCOMPARE(target.mReceived.Items().front().mMethod, kZRNetFirstObjectMethod);
        QVERIFY(target.InformList(0).empty());
        QCOMPARE(capture.LinesContaining("dropped: only the editor's own objects send it").size(), int(refused.size()));
    }

    // However fast a peer repeats them, dropped frames are traced only so many times in each second: the
    // rest are counted, and the count told once its second is over or the connection ends. What follows the
    // flood still arrives.
    void aFloodOfDroppedFramesIsTracedWithinTheLimitAndCounted()
    {
        cRecordingNetObject target("Target");
        cScriptedPeer unit;
        const UWORD connectionId = ConnectThrough(unit);
        QVERIFY(connectionId != kZRNetNoConnection);
        const int frames = 20000;
        QByteArray stream;
        for (int index = 0; index < frames; ++index)
            stream += cScriptedPeer::Framed(cZRNetMessage(0, target.Handle(), 2, eMethodTock));
        stream += cScriptedPeer::Framed(cZRNetMessage(0, target.Handle(), 2, kZRNetFirstObjectMethod));
        cTraceCapture capture;
        QElapsedTimer timer;
        timer.start();
        unit.SendBytes(stream);
        QVERIFY(OfferUntil(unit, [&] { return target.mReceived.WaitFor(1, 10); }));
        // Every second the transport spent on the flood began within this time.
        const qint64 seconds = timer.elapsed() / 1000 + 1;
        mNetwork->CloseConnection(connectionId);
        const auto told = [&] {
            int count = 0;
            const QRegularExpression more("(\\d+) more frames dropped on connection");
            for (const QString& line : capture.LinesContaining("more frames dropped on connection"))
                count += more.match(line).captured(1).toInt();
            return count;
        };
        const auto traced = [&] {
            return capture.LinesContaining("dropped: only the editor's own objects send it").size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(traced() + told(), frames, 10000);
        QVERIFY2(traced() <= int(cTraceRateLimit::kTracesPerSecond * seconds), qPrintable(QString::number(traced())));
        QVERIFY(capture.LinesContaining("more frames dropped on connection").size() <= seconds);
        QCOMPARE(target.mReceived.Items().size(), size_t(1));
    }

    // The accepting side, as a unit runs it: a peer that does not greet first is cut off at once,
    // so that a greeting it sends later is never answered.
    void aPeerThatSendsBeforeItsGreetingIsDropped()
    {
        cSimulatedUnit unit;
        QVERIFY(unit.Start());
        cScriptedPeer editor;
        QVERIFY(editor.ConnectTo(unit.TcpPort()));
        cZRNetMessage find(0, kZRNetRegistryHandle, 7, eMethodFindObject);
        find.AppendString(kConfigManagerName);
        editor.Send(find);
        editor.Greet(eMethodHello);
        QVERIFY(editor.WaitForClose(10000));
        cZRNetMessage reply;
        QVERIFY(!editor.Receive(reply, 0));
    }
};

QTEST_GUILESS_MAIN(tst_ZRNetConnection)
#include "tst_ZRNetConnection.moc"

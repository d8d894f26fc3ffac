#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cFrameCodec.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cRecordingNetObject.h"
#include "cRecordingSeekObject.h"
#include "cRunningMessagingCore.h"
#include "support/cScriptedPeer.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <future>

namespace
{
QByteArray Framed(const cZRNetMessage& message)
{
    return cScriptedPeer::Framed(message);
}
}

enum eGreeting
{
    eAnswered,
    eWrongVersion,
    eHelloInsteadOfAck,
    eObjectFrameFirst,
    eSilent,
};
Q_DECLARE_METATYPE(eGreeting)

class tst_ZRNetTransport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aFrameCarriesItsHeaderBigEndianAndParsesBack();
    void connectingGreetsTheUnitWithHello();
    void aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting_data();
    void aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting();
    void datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort_data();
    void datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort();
    void messagesOverTheFrameLimitAreNotSent();
    void anUnreachableUnitFailsWithinTheConnectTime();
    void objectsOnAUnitAreSoughtThroughTheRegistry();
    void malformedFramesDropTheConnection_data();
    void malformedFramesDropTheConnection();

private:
    // Connects from another thread, as the poll thread does, while the peer plays the unit here.
    UWORD ConnectThrough(cScriptedPeer& peer, eGreeting greeting = eAnswered);

    std::unique_ptr<cRunningMessagingCore> mCore;
    cNetworkConnection* mNetwork = nullptr;
};

void tst_ZRNetTransport::init()
{
    mCore = std::make_unique<cRunningMessagingCore>();
    cNetworkConnection::AllowInstanceOf(true);
    mNetwork = cNetworkConnection::Instance();
}

// In the editor's order: the network side goes before the messaging core.
void tst_ZRNetTransport::cleanup()
{
    cNetworkConnection::DeleteInstance();
    mCore.reset();
}

void tst_ZRNetTransport::aFrameCarriesItsHeaderBigEndianAndParsesBack()
{
    cZRNetMessage message(3, 17, 42, eMethodFindObject);
    message.AppendString("Kelvari Config Manager");
    const QByteArray bytes = Framed(message);
    QCOMPARE(bytes.mid(0, 9), QByteArray::fromHex("F000030011002A0004"));
    QCOMPARE(bytes.back(), char(0xF7));
    cZRNetMessage parsed;
    size_t consumed = 0;
    std::string error;
    const auto* data = reinterpret_cast<const UBYTE*>(bytes.constData());
    QCOMPARE(cFrameCodec::Parse(data, size_t(bytes.size()), parsed, consumed, error), cFrameCodec::eFrameComplete);
    QCOMPARE(consumed, size_t(bytes.size()));
    QCOMPARE(parsed.Destination(), UWORD(17));
    QCOMPARE(parsed.Source(), UWORD(42));
    QCOMPARE(parsed.GetString(0), std::string("Kelvari Config Manager"));
    QCOMPARE(cFrameCodec::Parse(data, size_t(bytes.size() - 1), parsed, consumed, error),
             cFrameCodec::eFrameIncomplete);
}

UWORD tst_ZRNetTransport::ConnectThrough(cScriptedPeer& peer, eGreeting greeting)
{
    mNetwork->SetUnitTcpPort(peer.Port());
    auto connecting = std::async(std::launch::async, [this] { return mNetwork->ConnectToUnit("127.0.0.1"); });
    cZRNetMessage hello;
    if (peer.Accept() && peer.Receive(hello) && hello.Method() == eMethodHello)
    {
        if (greeting == eAnswered)
            peer.Greet(eMethodHelloAck);
        else if (greeting == eWrongVersion)
            peer.Greet(eMethodHelloAck, kZRNetProtocolVersion + 1);
        else if (greeting == eHelloInsteadOfAck)
            peer.Greet(eMethodHello);
        else if (greeting == eObjectFrameFirst)
            peer.Send(cZRNetMessage(0, 1, 2, kZRNetFirstObjectMethod));
    }
    return connecting.get();
}

void tst_ZRNetTransport::connectingGreetsTheUnitWithHello()
{
    cScriptedPeer unit;
    QVERIFY(unit.Listen());
    const UWORD connectionId = ConnectThrough(unit);
    QVERIFY(mNetwork->IsConnected(connectionId));
    QCOMPARE(mNetwork->ConnectToUnit("127.0.0.1"), connectionId);
    QVERIFY(unit.PeerUdpPort() != 0);

    // Closing says BYE and tells the registry's watchers.
    QSignalSpy disconnected(mNetwork, &cNetworkConnection::Disconnected);
    mNetwork->CloseConnection(connectionId);
    QCOMPARE(disconnected.count(), 1);
    cZRNetMessage bye;
    QVERIFY(unit.Receive(bye));
    QCOMPARE(bye.Method(), UWORD(eMethodBye));
    QVERIFY(!mNetwork->IsConnected(connectionId));
}

void tst_ZRNetTransport::aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting_data()
{
    QTest::addColumn<eGreeting>("greeting");
    QTest::addColumn<QString>("trace");
    QTest::newRow("answered") << eAnswered << QString();
    QTest::newRow("another protocol version") << eWrongVersion << "Handshake refused";
    QTest::newRow("HELLO in place of HELLO ACK") << eHelloInsteadOfAck << "Handshake refused";
    QTest::newRow("an object's frame first") << eObjectFrameFirst << "Handshake refused";
    QTest::newRow("never answered") << eSilent << "Handshake not completed";
}

// A refused greeting fails at once, one never answered within the handshake time.
void tst_ZRNetTransport::aConnectionIsMadeOnlyWhenTheUnitAnswersTheGreeting()
{
    QFETCH(eGreeting, greeting);
    QFETCH(QString, trace);
    cScriptedPeer unit;
    QVERIFY(unit.Listen());
    cTraceCapture capture;
    QElapsedTimer timer;
    timer.start();
    const UWORD connectionId = ConnectThrough(unit, greeting);
    QCOMPARE(connectionId != kZRNetNoConnection, trace.isEmpty());
    QCOMPARE(mNetwork->ConnectionIds().size(), trace.isEmpty() ? 1 : 0);
    QVERIFY(timer.elapsed() < (greeting == eSilent ? kZRNetHandshakeTimeoutMs + 1000 : 1000));
    if (!trace.isEmpty())
        QCOMPARE(capture.LinesContaining("ERROR: " + trace).size(), 1);
}

void tst_ZRNetTransport::datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort_data()
{
    QTest::addColumn<bool>("fromAnnouncedPort");
    QTest::addColumn<UWORD>("method");
    QTest::addColumn<QString>("trace");
    QTest::newRow("object message from the announced port")
        << true << kZRNetFirstObjectMethod << "only heartbeats travel by datagram";
    QTest::newRow("heartbeat from another port") << false << UWORD(eMethodHeartbeat) << "not the peer's announced port";
    QTest::newRow("object message from another port")
        << false << kZRNetFirstObjectMethod << "not the peer's announced port";
}

void tst_ZRNetTransport::datagramsCarryOnlyHeartbeatsFromTheAnnouncedPort()
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
    QTRY_COMPARE(capture.LinesContaining(trace).size(), 1);
    // The same message by TCP is delivered, and is the only one.
    unit.Send(cZRNetMessage(0, target.Handle(), 1, kZRNetFirstObjectMethod + 1));
    QVERIFY(target.WaitForEvents(1));
    QTest::qWait(50);
    QCOMPARE(target.Events(), std::vector<std::string>{"m257"});
}

void tst_ZRNetTransport::messagesOverTheFrameLimitAreNotSent()
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

void tst_ZRNetTransport::anUnreachableUnitFailsWithinTheConnectTime()
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
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
    QVERIFY(seeker.WaitForOutcomes(1, kZRNetConnectTimeoutMs + 2000));
    QVERIFY(timer.elapsed() < kZRNetConnectTimeoutMs + 2000);
    QCOMPARE(seeker.Outcomes().front().mHandle, kZRNetNoHandle);
    QCOMPARE(capture.LinesContaining("ERROR: Cannot connect to unit 127.0.0.1").size(), 1);
    QVERIFY(mNetwork->ConnectionIds().isEmpty());
}

void tst_ZRNetTransport::objectsOnAUnitAreSoughtThroughTheRegistry()
{
    cSimulatedUnit unit;
    QVERIFY(unit.Start());
    mNetwork->SetUnitTcpPort(unit.TcpPort());
    cRecordingSeekObject seeker("KelvariConfigClient");

    QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
    QVERIFY(seeker.WaitForOutcomes(1));
    const auto found = seeker.Outcomes().back();
    QVERIFY(found.mHandle != kZRNetNoHandle);
    QVERIFY(mNetwork->IsConnected(found.mConnectionId));
    QCOMPARE(seeker.CachedPathCount(), size_t(1));

    QVERIFY(!seeker.SeekObject("127.0.0.1/Nobody"));
    QVERIFY(seeker.WaitForOutcomes(2));
    QCOMPARE(seeker.Outcomes().back().mHandle, kZRNetNoHandle);
    QCOMPARE(mNetwork->ConnectionIds().size(), 1);

    // A cached handle is not used once its connection has gone.
    mNetwork->CloseConnection(found.mConnectionId);
    QTRY_COMPARE(seeker.CachedPathCount(), size_t(0));
    QVERIFY(!seeker.SeekObject("127.0.0.1/Kelvari Config Manager"));
    QVERIFY(seeker.WaitForOutcomes(3));
    QVERIFY(seeker.Outcomes().back().mHandle != kZRNetNoHandle);
    QVERIFY(seeker.Outcomes().back().mConnectionId != found.mConnectionId);
}

void tst_ZRNetTransport::malformedFramesDropTheConnection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("trace");
    cZRNetMessage message(0, 1, 2, kZRNetFirstObjectMethod);
    message.AppendULong(0x01020304);
    const QByteArray good = Framed(message);
    QByteArray wrongStart = good;
    wrongStart[0] = 'X';
    QTest::newRow("wrong start byte") << wrongStart << "Malformed frame";
    QByteArray wrongEnd = good;
    wrongEnd[good.size() - 1] = char(0xF0);
    QTest::newRow("wrong end byte") << wrongEnd << "Malformed frame";
    QByteArray pastTheData = good;
    pastTheData[9] = pastTheData[10] = pastTheData[11] = pastTheData[12] = char(0xFF);
    QTest::newRow("length past the data") << pastTheData << "Malformed frame";
    QTest::newRow("truncated frame") << good.left(good.size() - 3) << "Truncated frame";
    QTest::newRow("garbage") << QByteArray(300, char(0xA5)) << "Malformed frame";
}

void tst_ZRNetTransport::malformedFramesDropTheConnection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, trace);
    cScriptedPeer unit;
    QVERIFY(unit.Listen());
    QSignalSpy disconnected(mNetwork, &cNetworkConnection::Disconnected);
    cTraceCapture capture;
    const UWORD connectionId = ConnectThrough(unit);
    QVERIFY(connectionId != kZRNetNoConnection);
    // A good frame first: the connection works until the damage arrives.
    unit.SendBytes(Framed(cZRNetMessage(0, 1, 2, kZRNetFirstObjectMethod)) + bytes);
    if (trace == "Truncated frame")
        unit.Close();
    QTRY_COMPARE(disconnected.count(), 1);
    QCOMPARE(disconnected.front().front().value<UWORD>(), connectionId);
    QVERIFY(!mNetwork->IsConnected(connectionId));
    QTRY_COMPARE(capture.LinesContaining("ERROR: " + trace).size(), 1);

    // The network side carries on: a new connection can be made.
    QVERIFY(ConnectThrough(unit) != kZRNetNoConnection);
}

QTEST_GUILESS_MAIN(tst_ZRNetTransport)
#include "tst_ZRNetTransport.moc"

#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/Core/cFrameCodec.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cRecordingSeekObject.h"
#include "cRunningMessagingCore.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace
{
QByteArray Framed(const cZRNetMessage& message)
{
    QByteArray bytes(static_cast<int>(cFrameCodec::FramedSize(message)), Qt::Uninitialized);
    cFrameCodec::Frame(message, reinterpret_cast<UBYTE*>(bytes.data()));
    return bytes;
}

bool ReadFrame(QTcpSocket& socket, cZRNetMessage& message)
{
    QByteArray bytes;
    for (int tries = 0; tries < 50; ++tries)
    {
        bytes += socket.readAll();
        size_t consumed = 0;
        std::string error;
        if (cFrameCodec::Parse(reinterpret_cast<const UBYTE*>(bytes.constData()), size_t(bytes.size()), message,
                               consumed, error) == cFrameCodec::eFrameComplete)
            return true;
        socket.waitForReadyRead(100);
    }
    return false;
}
}

class tst_ZRNetTransport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aFrameCarriesItsHeaderBigEndianAndParsesBack();
    void connectingGreetsTheUnitWithHello();
    void anUnreachableUnitFailsWithinTheConnectTime();
    void objectsOnAUnitAreSoughtThroughTheRegistry();
    void malformedFramesDropTheConnection_data();
    void malformedFramesDropTheConnection();

private:
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

void tst_ZRNetTransport::connectingGreetsTheUnitWithHello()
{
    QTcpServer unit;
    QVERIFY(unit.listen(QHostAddress::LocalHost));
    mNetwork->SetUnitTcpPort(unit.serverPort());
    const UWORD connectionId = mNetwork->ConnectToUnit("127.0.0.1");
    QVERIFY(mNetwork->IsConnected(connectionId));
    QCOMPARE(mNetwork->ConnectToUnit("127.0.0.1"), connectionId);
    QVERIFY(unit.waitForNewConnection(3000));
    std::unique_ptr<QTcpSocket> socket(unit.nextPendingConnection());
    cZRNetMessage hello;
    QVERIFY(ReadFrame(*socket, hello));
    QCOMPARE(hello.Method(), UWORD(eMethodHello));
    QCOMPARE(hello.GetUWord(0), kZRNetProtocolVersion);
    QVERIFY(hello.GetUWord(2) != 0);

    // Closing says BYE and tells the registry's watchers.
    QSignalSpy disconnected(mNetwork, &cNetworkConnection::Disconnected);
    mNetwork->CloseConnection(connectionId);
    QCOMPARE(disconnected.count(), 1);
    cZRNetMessage bye;
    QVERIFY(ReadFrame(*socket, bye));
    QCOMPARE(bye.Method(), UWORD(eMethodBye));
    QVERIFY(!mNetwork->IsConnected(connectionId));
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
    QTcpServer unit;
    QVERIFY(unit.listen(QHostAddress::LocalHost));
    mNetwork->SetUnitTcpPort(unit.serverPort());
    QSignalSpy disconnected(mNetwork, &cNetworkConnection::Disconnected);
    cTraceCapture capture;
    const UWORD connectionId = mNetwork->ConnectToUnit("127.0.0.1");
    QVERIFY(unit.waitForNewConnection(3000));
    std::unique_ptr<QTcpSocket> socket(unit.nextPendingConnection());
    // A good frame first: the connection works until the damage arrives.
    cZRNetMessage fine(0, 1, 2, kZRNetFirstObjectMethod);
    socket->write(Framed(fine) + bytes);
    socket->flush();
    if (trace == "Truncated frame")
    {
        socket->waitForBytesWritten(1000);
        socket->disconnectFromHost();
    }
    QTRY_COMPARE(disconnected.count(), 1);
    QCOMPARE(disconnected.front().front().value<UWORD>(), connectionId);
    QVERIFY(!mNetwork->IsConnected(connectionId));
    QTRY_COMPARE(capture.LinesContaining("ERROR: " + trace).size(), 1);

    // The network side carries on: a new connection can be made.
    QVERIFY(mNetwork->ConnectToUnit("127.0.0.1") != kZRNetNoConnection);
}

QTEST_GUILESS_MAIN(tst_ZRNetTransport)
#include "tst_ZRNetTransport.moc"

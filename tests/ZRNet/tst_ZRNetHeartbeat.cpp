#include "ZRNet/Qt/cNetworkConnection.h"
#include "cRunningMessagingCore.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"

#include <QSignalSpy>
#include <QtTest>

class tst_ZRNetHeartbeat : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aSilentUnitIsLostAfterTheLimitWhileAnAliveOneStays();

private:
    std::unique_ptr<cRunningMessagingCore> mCore;
};

void tst_ZRNetHeartbeat::init()
{
    mCore = std::make_unique<cRunningMessagingCore>();
}

// In the editor's order: the network side goes before the messaging core.
void tst_ZRNetHeartbeat::cleanup()
{
    cNetworkConnection::DeleteInstance();
    mCore.reset();
}

void tst_ZRNetHeartbeat::aSilentUnitIsLostAfterTheLimitWhileAnAliveOneStays()
{
    cSimulatedUnit alive;
    cSimulatedUnit silent({"--no-heartbeat"});
    QVERIFY(alive.Start());
    QVERIFY(silent.Start());
    cNetworkConnection::AllowInstanceOf(true);
    cNetworkConnection* network = cNetworkConnection::Instance();
    network->SetLostAfterSeconds(3);
    network->SetUnitTcpPort(alive.TcpPort());
    const UWORD aliveId = network->ConnectToUnit("127.0.0.1");
    network->SetUnitTcpPort(silent.TcpPort());
    const UWORD silentId = network->ConnectToUnit("127.0.0.1");
    QVERIFY(aliveId != kZRNetNoConnection && silentId != kZRNetNoConnection && aliveId != silentId);

    QSignalSpy lost(network, &cNetworkConnection::LostCommunications);
    QSignalSpy disconnected(network, &cNetworkConnection::Disconnected);
    cTraceCapture capture;
    QElapsedTimer timer;
    timer.start();
    network->InitialiseLostComms();
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 6000);
    QVERIFY(timer.elapsed() >= 2500);
    QCOMPARE(lost.front().front().value<UWORD>(), silentId);
    QTRY_COMPARE(disconnected.count(), 1);
    QVERIFY(!network->IsConnected(silentId));
    QCOMPARE(capture.LinesContaining("ERROR: Lost communications on connection").size(), 1);

    // The unit that keeps sending heartbeats outlives the limit.
    QTest::qWait(1500);
    QCOMPARE(lost.count(), 1);
    QVERIFY(network->IsConnected(aliveId));
}

QTEST_GUILESS_MAIN(tst_ZRNetHeartbeat)
#include "tst_ZRNetHeartbeat.moc"

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSystemBuilder.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cRunningMessagingCore.h"
#include "support/cTraceCapture.h"

#include <QSignalSpy>
#include <QtTest>

#include <thread>

namespace
{
template <typename F>
void OnOtherThread(F work)
{
    std::thread thread(work);
    thread.join();
}
}

class tst_cNetworkConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theInstanceIsCreatedOnlyOnTheMainThreadWhileAllowed();
    void mainThreadOnlyCallsRefuseOtherThreads_data();
    void mainThreadOnlyCallsRefuseOtherThreads();
    void aSilentConnectionIsLostAfterThirtySeconds();
    void theSenderAsksForAHeartbeatOnEveryConnectionUntilUninitialised();
    void closingAConnectionAbortsQueuedLinks();
    void deletingTheInstanceClosesItsConnections();
};

void tst_cNetworkConnection::init()
{
    cNetworkConnection::AllowInstanceOf(true);
}

void tst_cNetworkConnection::cleanup()
{
    cNetworkConnection::AllowInstanceOf(true);
    cNetworkConnection::DeleteInstance();
}

void tst_cNetworkConnection::theInstanceIsCreatedOnlyOnTheMainThreadWhileAllowed()
{
    cTraceCapture capture;
    cNetworkConnection::DeleteInstance();
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

void tst_cNetworkConnection::mainThreadOnlyCallsRefuseOtherThreads_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("trace");
    QTest::newRow("initialise lost comms") << 0 << "ERROR: Must be called on main thread";
    QTest::newRow("uninitialise lost comms") << 1 << "ERROR: Must be called on main thread";
    QTest::newRow("delete instance") << 2 << "ERROR: Attempting to delete instance on non-main thread";
}

void tst_cNetworkConnection::mainThreadOnlyCallsRefuseOtherThreads()
{
    QFETCH(int, call);
    QFETCH(QString, trace);
    cNetworkConnection* instance = cNetworkConnection::Instance();
    if (call == 1)
        instance->InitialiseLostComms();
    cTraceCapture capture;
    OnOtherThread([&] {
        if (call == 0)
            instance->InitialiseLostComms();
        else if (call == 1)
            instance->UninitialiseLostComms();
        else
            cNetworkConnection::DeleteInstance();
    });
    QCOMPARE(capture.Lines(), QStringList{capture.LinesContaining(trace)});
    QCOMPARE(capture.Lines().size(), 1);
    QCOMPARE(cNetworkConnection::Instance(), instance);
    QCOMPARE(instance->LostCommsRunning(), call == 1);
}

void tst_cNetworkConnection::aSilentConnectionIsLostAfterThirtySeconds()
{
    cNetworkConnection* instance = cNetworkConnection::Instance();
    QSignalSpy low(instance, &cNetworkConnection::TimeToLiveLow);
    QSignalSpy lost(instance, &cNetworkConnection::LostCommunications);
    QSignalSpy restored(instance, &cNetworkConnection::TimeToLiveRestored);
    instance->WatchConnection(3);
    instance->WatchConnection(4);
    const auto age = [&](int seconds) {
        while (seconds-- > 0)
            instance->AgeConnections();
    };
    age(19);
    QCOMPARE(low.count(), 0);
    age(1);
    QCOMPARE(low.count(), 2);
    age(9);
    instance->HeartbeatReceived(4);
    instance->HeartbeatReceived(4);
    QCOMPARE(restored.count(), 1);
    QCOMPARE(restored.front().front().value<UWORD>(), UWORD(4));
    QCOMPARE(lost.count(), 0);
    age(1);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(lost.front().front().value<UWORD>(), UWORD(3));
    age(28);
    QCOMPARE(lost.count(), 1);
    age(1);
    QCOMPARE(lost.count(), 2);
    QCOMPARE(lost.last().front().value<UWORD>(), UWORD(4));
}

void tst_cNetworkConnection::theSenderAsksForAHeartbeatOnEveryConnectionUntilUninitialised()
{
    cNetworkConnection* instance = cNetworkConnection::Instance();
    instance->WatchConnection(3);
    instance->WatchConnection(4);
    {
        cTraceCapture capture;
        instance->WatchConnection(kZRNetLocalConnection);
        instance->WatchConnection(kZRNetNoConnection);
        QCOMPARE(capture.LinesContaining("ERROR: Not a remote connection").size(), 2);
    }
    QCOMPARE(instance->ConnectionIds(), (QVector<UWORD>{3, 4}));

    // Recorded on the main thread through the queued connection from the sender thread.
    QObject receiver;
    std::vector<UWORD> due;
    connect(instance, &cNetworkConnection::HeartbeatDue, &receiver, [&](UWORD id) { due.push_back(id); });
    instance->InitialiseLostComms();
    QTRY_VERIFY_WITH_TIMEOUT(due.size() >= 2, 3000);
    cTraceCapture capture;
    instance->InitialiseLostComms();
    QCOMPARE(capture.LinesContaining("ERROR: Lost communications already initialised").size(), 1);
    instance->UninitialiseLostComms();
    QVERIFY(!instance->LostCommsRunning());
    instance->UninitialiseLostComms();
    QCOMPARE(capture.Lines().size(), 1);
    QCOMPARE(due[0], UWORD(3));
    QCOMPARE(due[1], UWORD(4));
}

void tst_cNetworkConnection::closingAConnectionAbortsQueuedLinks()
{
    cRunningMessagingCore core(false);
    cNetworkConnection* instance = cNetworkConnection::Instance();
    QSignalSpy disconnected(instance, &cNetworkConnection::Disconnected);
    instance->WatchConnection(7);
    sParameterLinkingCommand command;
    command.mSourcePath = "10.0.0.7/pafl/ip/0";
    command.mDestinationPath = "Driver";
    SyscallSystemBuilder()->AddLinkCommandToList(command);

    instance->CloseConnection(8);
    QCOMPARE(disconnected.count(), 0);
    QCOMPARE(SyscallSystemBuilder()->QueuedCommandCount(), size_t(1));

    instance->CloseConnection(7);
    QCOMPARE(disconnected.count(), 1);
    QCOMPARE(disconnected.front().front().value<UWORD>(), UWORD(7));
    QVERIFY(instance->ConnectionIds().isEmpty());
    QCOMPARE(SyscallSystemBuilder()->QueuedCommandCount(), size_t(0));
}

void tst_cNetworkConnection::deletingTheInstanceClosesItsConnections()
{
    cNetworkConnection* instance = cNetworkConnection::Instance();
    std::vector<UWORD> closed;
    connect(instance, &cNetworkConnection::Disconnected, this, [&](UWORD id) { closed.push_back(id); });
    instance->WatchConnection(5);
    instance->WatchConnection(6);
    instance->InitialiseLostComms();
    cNetworkConnection::DeleteInstance();
    QCOMPARE(closed, (std::vector<UWORD>{5, 6}));
    cTraceCapture capture;
    cNetworkConnection::DeleteInstance();
    QVERIFY(capture.Lines().isEmpty());
    // A new one may be made while instances are allowed.
    QVERIFY(cNetworkConnection::Instance() != nullptr);
}

QTEST_GUILESS_MAIN(tst_cNetworkConnection)
#include "tst_cNetworkConnection.moc"

#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cRegistryRouter.h"
#include "ZRNet/Core/cSystemBuilder.h"
#include "cRecordingNetObject.h"
#include "cRunningMessagingCore.h"
#include "support/cTraceCapture.h"

#include <QtTest>

#include <memory>

namespace
{
sParameterLinkingCommand Command(const char* source, UWORD sourceParameter, const char* destination,
                                 UWORD requester, UWORD tag = 0)
{
    sParameterLinkingCommand command;
    command.mSourcePath = source;
    command.mSourceParameter = sourceParameter;
    command.mDestinationPath = destination;
    command.mRequester = requester;
    command.mTag = tag;
    return command;
}

// The link results a requester received, as (linked, tag) pairs.
std::vector<std::pair<int, int>> LinkResults(cRecordingNetObject& requester)
{
    std::vector<std::pair<int, int>> results;
    for (const auto& received : requester.Received())
    {
        if (received.mMethod == eMethodLinkResult)
            results.emplace_back(received.mPayload[0], received.mPayload[1] << 8 | received.mPayload[2]);
    }
    return results;
}

// Ends the connection from inside a delivery, as a transport thread would under the registry lock.
class cConnectionEnder : public cNetObject
{
public:
    cConnectionEnder() : cNetObject("Connection ender") {}
    ~cConnectionEnder() override { Unregister(); }
    void EntrypointMessage(const cZRNetMessage&) override
    {
        mBuilderWasBusy = SyscallSystemBuilder()->IsBusy();
        SyscallConnectionTerminated(7);
    }
    std::atomic<bool> mBuilderWasBusy{false};
};
}

class tst_cSystemBuilder : public QObject
{
    Q_OBJECT

private slots:
    void theBuilderIsANamedSingletonWhenAskedFor();
    void aLinkInformsTheDestinationAndBothWaysTheSource_data();
    void aLinkInformsTheDestinationAndBothWaysTheSource();
    void commandsAreCarriedOutInOrderAndMissingOrRemoteObjectsFail();
    void aDeletedDestinationLeavesTheSourceList();
    void quittingThePollThreadAbortsQueuedLinks();
    void aTerminatedConnectionAbortsLinksWhenAsked_data();
    void aTerminatedConnectionAbortsLinksWhenAsked();
};

void tst_cSystemBuilder::theBuilderIsANamedSingletonWhenAskedFor()
{
    {
        cRunningMessagingCore core(false);
        QVERIFY(SyscallSystemBuilder());
        QCOMPARE(SyscallRegistryRouter()->FindHandle("ZRNet System Builder"), SyscallSystemBuilder()->Handle());
    }
    QVERIFY(!SyscallSystemBuilder());
    InitialiseSyscall(eAbortAllLinksOnTermination, false);
    QVERIFY(SyscallRegistryRouter());
    QVERIFY(!SyscallSystemBuilder());
    UninitialiseSyscall();
}

void tst_cSystemBuilder::aLinkInformsTheDestinationAndBothWaysTheSource_data()
{
    QTest::addColumn<bool>("bothWays");
    QTest::newRow("one way") << false;
    QTest::newRow("both ways") << true;
}

void tst_cSystemBuilder::aLinkInformsTheDestinationAndBothWaysTheSource()
{
    QFETCH(bool, bothWays);
    cRunningMessagingCore core;
    cRecordingNetObject remoteLevel("level/ip/0");
    cRecordingNetObject driver("Level driver");
    sParameterLinkingCommand command = Command("level/ip/0", 3, "Level driver", driver.Handle(), 11);
    command.mBothWays = bothWays;
    SyscallSystemBuilder()->AddLinkCommandToList(command);
    QVERIFY(driver.WaitForEvents(1));
    QCOMPARE(LinkResults(driver), (std::vector<std::pair<int, int>>{{1, 11}}));

    QCOMPARE(remoteLevel.InformList(3).size(), size_t(1));
    QCOMPARE(remoteLevel.InformList(3).front().mHandle, driver.Handle());
    QCOMPARE(driver.InformList(0).size(), size_t(bothWays ? 1 : 0));
    if (bothWays)
    {
        QCOMPARE(driver.InformList(0).front().mParameter, UWORD(3));
        return;
    }
    const UBYTE value[] = {0x80, 0x00};
    QCOMPARE(remoteLevel.InformParameter(3, value, sizeof value), 1);
    QVERIFY(driver.WaitForEvents(2));
    const auto received = driver.Received().back();
    QCOMPARE(received.mMethod, UWORD(4096));
    QCOMPARE(received.mSource, remoteLevel.Handle());
    QCOMPARE(received.mPayload, (std::vector<UBYTE>{0x80, 0x00}));
}

void tst_cSystemBuilder::commandsAreCarriedOutInOrderAndMissingOrRemoteObjectsFail()
{
    cRunningMessagingCore core;
    cRecordingNetObject source("Source");
    cRecordingNetObject driver("Driver");
    cTraceCapture capture;
    const char* sources[] = {"Source", "Nobody", "Source", "10.0.0.7/pafl/ip/0", "Source"};
    const char* destinations[] = {"Driver", "Driver", "Missing", "Driver", "Driver"};
    for (UWORD tag = 0; tag < 5; ++tag)
        SyscallSystemBuilder()->AddLinkCommandToList(
            Command(sources[tag], tag, destinations[tag], driver.Handle(), tag));
    QVERIFY(driver.WaitForEvents(5));
    QCOMPARE(LinkResults(driver), (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 4}}));
    for (const char* missing : {"Nobody", "Missing", "10.0.0.7/pafl/ip/0"})
        QCOMPARE(capture.LinesContaining(QString("ERROR: Cannot link, object not found: ") + missing).size(), 1);
    QVERIFY(source.InformList(2).empty());
    QCOMPARE(source.InformList(4).size(), size_t(1));
    QVERIFY(!SyscallSystemBuilder()->IsBusy());
}

void tst_cSystemBuilder::aDeletedDestinationLeavesTheSourceList()
{
    cRunningMessagingCore core;
    cRecordingNetObject source("Source");
    cRecordingNetObject requester("Requester");
    auto driver = std::make_unique<cRecordingNetObject>("Driver");
    SyscallSystemBuilder()->AddLinkCommandToList(Command("Source", 2, "Driver", requester.Handle()));
    QVERIFY(requester.WaitForEvents(1));
    QCOMPARE(source.InformList(2).size(), size_t(1));
    driver.reset();
    QTRY_VERIFY_WITH_TIMEOUT(source.InformList(2).empty(), 3000);
}

void tst_cSystemBuilder::quittingThePollThreadAbortsQueuedLinks()
{
    cRunningMessagingCore core(false);
    cRecordingNetObject source("Source");
    cRecordingNetObject driver("Driver");
    SyscallSystemBuilder()->AddLinkCommandToList(Command("Source", 0, "Driver", driver.Handle(), 1));
    SyscallSystemBuilder()->AddLinkCommandToList(Command("Source", 1, "Driver", driver.Handle(), 2));
    QCOMPARE(SyscallSystemBuilder()->QueuedCommandCount(), size_t(2));

    core.mPollThread.QuitSyscallAndWait();
    QCOMPARE(SyscallSystemBuilder()->QueuedCommandCount(), size_t(0));

    // A later poll thread hands out the failures and links nothing.
    cSyscallThread again;
    again.StartSyscall();
    QVERIFY(driver.WaitForEvents(2));
    QVERIFY(!driver.WaitForEvents(3, 50));
    QCOMPARE(LinkResults(driver), (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}}));
    QVERIFY(source.InformList(0).empty());
    again.QuitSyscallAndWait();
}

void tst_cSystemBuilder::aTerminatedConnectionAbortsLinksWhenAsked_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<int>("linked");
    QTest::newRow("abort all links") << int(eAbortAllLinksOnTermination) << 0;
    QTest::newRow("keep links") << int(eKeepLinksOnTermination) << 1;
}

void tst_cSystemBuilder::aTerminatedConnectionAbortsLinksWhenAsked()
{
    QFETCH(int, behaviour);
    QFETCH(int, linked);
    cRunningMessagingCore core(true, eConnectionTerminatedBehaviour(behaviour));
    cRecordingNetObject source("Source");
    cRecordingNetObject driver("Driver");
    cConnectionEnder ender;
    // Queued together: the builder starts the link, then the connection ends while it waits for its seek.
    SyscallMessagesPollLock();
    SyscallSystemBuilder()->AddLinkCommandToList(Command("Source", 0, "Driver", driver.Handle(), 9));
    SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, ender.Handle(), kZRNetNoHandle, 300));
    SyscallMessagesPollUnLock();

    QVERIFY(driver.WaitForEvents(1));
    QVERIFY(ender.mBuilderWasBusy);
    QCOMPARE(LinkResults(driver), (std::vector<std::pair<int, int>>{{linked, 9}}));
    QCOMPARE(source.InformList(0).size(), size_t(linked));
    QVERIFY(!SyscallSystemBuilder()->IsBusy());
}

QTEST_GUILESS_MAIN(tst_cSystemBuilder)
#include "tst_cSystemBuilder.moc"

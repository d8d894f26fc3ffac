#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cSyscallThread.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "cRecordingNetObject.h"
#include "cRecordingSeekObject.h"
#include "support/cTraceCapture.h"

#include <QtTest>

#include <memory>

// The layer as the editor starts and stops it, with net objects made under the registry lock.
class tst_ZRNetStartStop : public QObject
{
    Q_OBJECT

private slots:
    void theLayerStartsServesAndStopsCleanly();
    void stoppingALayerThatNeverStartedIsHarmless();

private:
    void Start();
    void Stop();

    std::unique_ptr<cActionTickDriver> mTickDriver;
    std::unique_ptr<cSyscallThread> mPollThread;
};

void tst_ZRNetStartStop::Start()
{
    cNetworkConnection::AllowInstanceOf(true);
    InitialiseSyscall(eAbortAllLinksOnTermination, true);
    QVERIFY(cNetworkConnection::Instance());
    cNetworkConnection::Instance()->InitialiseLostComms();
    mPollThread = std::make_unique<cSyscallThread>();
    mTickDriver = std::make_unique<cActionTickDriver>(nullptr);
    mPollThread->StartSyscall();
    mTickDriver->StartTimer();
    SyscallSetStartTicks(true);
}

void tst_ZRNetStartStop::Stop()
{
    SyscallSetStartTicks(false);
    if (mPollThread)
        mPollThread->QuitSyscallAndWait();
    mTickDriver.reset();
    mPollThread.reset();
    if (cNetworkConnection* connection = cNetworkConnection::Instance())
        connection->UninitialiseLostComms();
    cNetworkConnection::DeleteInstance();
    UninitialiseSyscall();
}

void tst_ZRNetStartStop::theLayerStartsServesAndStopsCleanly()
{
    cTraceCapture capture;
    Start();
    QVERIFY(mPollThread->IsRunning());
    QVERIFY(mTickDriver->isRunning());
    QVERIFY(cNetworkConnection::Instance()->LostCommsRunning());

    auto manager = std::make_unique<cRecordingNetObject>("Kelvari Config Manager");
    manager->RequestTicks(true);
    SyscallMessagesPollLock();
    auto client = std::make_unique<cRecordingSeekObject>("KelvariConfigClient");
    QVERIFY(!client->SeekObject("Kelvari Config Manager"));
    SyscallMessagesPollUnLock();
    QVERIFY(client->WaitForOutcomes(1));
    QCOMPARE(client->Outcomes().front().mHandle, manager->Handle());
    QVERIFY(manager->WaitForEvents(4));

    // Destroyed on the main thread while the poll and tick threads run, without the lock.
    client.reset();
    manager.reset();
    Stop();
    QVERIFY(!SyscallRegistryRouter());
    QVERIFY(!SyscallSystemBuilder());
    QVERIFY(capture.LinesContaining("ERROR").isEmpty());
}

void tst_ZRNetStartStop::stoppingALayerThatNeverStartedIsHarmless()
{
    cTraceCapture capture;
    SyscallSetStartTicks(false);
    cNetworkConnection::DeleteInstance();
    UninitialiseSyscall();
    QVERIFY(capture.LinesContaining("ERROR").isEmpty());
}

QTEST_GUILESS_MAIN(tst_ZRNetStartStop)
#include "tst_ZRNetStartStop.moc"

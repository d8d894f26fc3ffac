#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cRegistryRouter.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cActionTickParent.h"
#include "cRecordingNetObject.h"
#include "cRunningMessagingCore.h"
#include "support/cTraceCapture.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>

namespace
{
class cRecordingTickParent : public cActionTickParent
{
public:
    void ActionTick() override
    {
        ++mTicks;
        if (QThread::currentThread()->objectName() != QLatin1String("ActionTickThread"))
            mOnOtherThread = true;
    }
    std::atomic<int> mTicks{0};
    std::atomic<bool> mOnOtherThread{false};
};
}

class tst_cActionTickDriver : public QObject
{
    Q_OBJECT

private slots:
    void ticksReachTheirObjectsEveryTwentyMillisecondsWhileSwitchedOn();
    void atMostTwoTicksAreOutstanding();
    void noTickWhileFiveThousandMessagesAreQueued_data();
    void noTickWhileFiveThousandMessagesAreQueued();
    void aTockFollowsEverythingQueuedBeforeIt();
    void onlyTheLocalDriverTicksAndTocks_data();
    void onlyTheLocalDriverTicksAndTocks();
    void deletingTheDriverStopsItPromptly();
};

void tst_cActionTickDriver::ticksReachTheirObjectsEveryTwentyMillisecondsWhileSwitchedOn()
{
    cRunningMessagingCore core;
    cRecordingNetObject periodic("Periodic");
    cRecordingNetObject idle("Idle");
    periodic.RequestTicks(true);
    cRecordingTickParent parent;
    cActionTickDriver driver(&parent);
    driver.StartTimer();
    QVERIFY(!periodic.WaitForEvents(1, 100));

    QElapsedTimer timer;
    timer.start();
    SyscallSetStartTicks(true);
    QVERIFY(periodic.WaitForEvents(20));
    // Ten ticks and their tocks: about 200 ms, never much faster.
    QVERIFY2(timer.elapsed() >= 150 && timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(idle.EventCount(), size_t(0));
    QVERIFY(parent.mTicks >= 2);
    QVERIFY(!parent.mOnOtherThread);

    periodic.RequestTicks(false);
    QVERIFY(!periodic.WaitForEvents(periodic.EventCount() + 2, 100));
    periodic.RequestTicks(true);
    SyscallSetStartTicks(false);
    // A tick the driver decided on just before the switch may still be posted and delivered.
    QTest::qWait(60);
    QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->OutstandingTicks(), size_t(0), 3000);
    QTest::qWait(20);
    QVERIFY(!periodic.WaitForEvents(periodic.EventCount() + 1, 100));
}

void tst_cActionTickDriver::atMostTwoTicksAreOutstanding()
{
    cRunningMessagingCore core(false);
    cRecordingTickParent parent;
    cActionTickDriver driver(&parent);
    SyscallSetStartTicks(true);
    driver.StartTimer();
    QTRY_COMPARE_WITH_TIMEOUT(SyscallQueuedMessageCount(), size_t(2), 3000);
    QTest::qWait(100);
    QCOMPARE(SyscallQueuedMessageCount(), size_t(2));
    QCOMPARE(SyscallRegistryRouter()->OutstandingTicks(), size_t(2));
    QCOMPARE(parent.mTicks.load(), 2);

    // Once delivered, each tick's tock makes room for the next.
    core.mPollThread.StartSyscall();
    QTRY_VERIFY_WITH_TIMEOUT(parent.mTicks >= 4, 3000);
}

void tst_cActionTickDriver::noTickWhileFiveThousandMessagesAreQueued_data()
{
    QTest::addColumn<int>("queued");
    QTest::addColumn<int>("expected");
    QTest::newRow("4999 take one tick") << 4999 << 5000;
    QTest::newRow("5000 take none") << 5000 << 5000;
}

void tst_cActionTickDriver::noTickWhileFiveThousandMessagesAreQueued()
{
    QFETCH(int, queued);
    QFETCH(int, expected);
    cRunningMessagingCore core(false);
    for (int i = 0; i < queued; ++i)
        SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, 40000, kZRNetNoHandle, 300));
    cActionTickDriver driver;
    SyscallSetStartTicks(true);
    driver.StartTimer();
    QTRY_COMPARE_WITH_TIMEOUT(SyscallQueuedMessageCount(), size_t(expected), 3000);
    QTest::qWait(100);
    QCOMPARE(SyscallQueuedMessageCount(), size_t(expected));
}

void tst_cActionTickDriver::aTockFollowsEverythingQueuedBeforeIt()
{
    cRunningMessagingCore core;
    cRecordingNetObject periodic("Periodic");
    periodic.RequestTicks(true);
    SyscallSetStartTicks(true);
    auto post = [&](UWORD method) {
        SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, periodic.Handle(), kZRNetNoHandle, method));
    };
    SyscallMessagesPollLock();
    post(301);
    post(302);
    QVERIFY(SyscallPostTick());
    post(303);
    SyscallMessagesPollUnLock();
    QVERIFY(periodic.WaitForEvents(5));
    QCOMPARE(periodic.Events(), (std::vector<std::string>{"m301", "m302", "tick", "m303", "tock"}));
    QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->OutstandingTicks(), size_t(0), 3000);
}

void tst_cActionTickDriver::onlyTheLocalDriverTicksAndTocks_data()
{
    QTest::addColumn<UWORD>("connection");
    QTest::addColumn<UWORD>("source");
    QTest::addColumn<UWORD>("method");
    QTest::newRow("tick from a unit") << UWORD(3) << kZRNetRegistryHandle << UWORD(eMethodTick);
    QTest::newRow("tock from a unit") << UWORD(3) << kZRNetRegistryHandle << UWORD(eMethodTock);
    QTest::newRow("tick from a local object") << kZRNetLocalConnection << UWORD(7) << UWORD(eMethodTick);
}

void tst_cActionTickDriver::onlyTheLocalDriverTicksAndTocks()
{
    QFETCH(UWORD, connection);
    QFETCH(UWORD, source);
    QFETCH(UWORD, method);
    cRunningMessagingCore core;
    cRecordingNetObject periodic("Periodic");
    cRecordingNetObject marker("Marker");
    periodic.RequestTicks(true);
    cTraceCapture capture;
    for (int i = 0; i < 3; ++i)
        SyscallPostMessage(cZRNetMessage(connection, kZRNetRegistryHandle, source, method));
    SyscallPostMessage(cZRNetMessage(kZRNetLocalConnection, marker.Handle(), kZRNetNoHandle, 300));
    QVERIFY(marker.WaitForEvents(1));
    QCOMPARE(periodic.EventCount(), size_t(0));
    QCOMPARE(capture.LinesContaining("ERROR: Tick or tock not from the local tick driver dropped").size(), 3);
    QCOMPARE(SyscallRegistryRouter()->OutstandingTicks(), size_t(0));
}

void tst_cActionTickDriver::deletingTheDriverStopsItPromptly()
{
    cRunningMessagingCore core;
    auto* driver = new cActionTickDriver;
    QCOMPARE(driver->objectName(), QStringLiteral("ActionTickThread"));
    driver->StartTimer();
    QVERIFY(driver->isRunning());
    QElapsedTimer timer;
    timer.start();
    delete driver;
    QVERIFY(timer.elapsed() < 100);
}

QTEST_GUILESS_MAIN(tst_cActionTickDriver)
#include "tst_cActionTickDriver.moc"

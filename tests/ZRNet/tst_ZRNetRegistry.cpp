#include "ZRNet/Core/cRegistryRouter.h"
#include "ZRNet/Core/cSystemBuilder.h"
#include "ZRNet/Qt/cActionTickDriver.h"
#include "ZRNet/Qt/cActionTickParent.h"
#include "cZRNetTestObjects.h"
#include "support/cTraceCapture.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <set>

namespace
{
cZRNetMessage MessageTo(UWORD destination, UWORD method, ULONG value = 0)
{
    cZRNetMessage message(kZRNetLocalConnection, destination, kZRNetNoHandle, method);
    message.AppendULong(value);
    return message;
}

// Stays in its handler until the test has begun to destroy it, and a little longer.
class cSlowNetObject : public cNetObject
{
public:
    cSlowNetObject() : cNetObject("Slow") {}
    ~cSlowNetObject() override { Unregister(); }
    void EntrypointMessage(const cZRNetMessage&) override
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (mEntered = true; !mDeleting && std::chrono::steady_clock::now() < giveUp;)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        mFinished = true;
    }
    std::atomic<bool> mEntered{false}, mDeleting{false};
    static std::atomic<bool> mFinished;
};
std::atomic<bool> cSlowNetObject::mFinished{false};

class cSelfDeletingNetObject : public cNetObject
{
public:
    cSelfDeletingNetObject() : cNetObject("Self deleting") {}
    ~cSelfDeletingNetObject() override { Unregister(); }
    void EntrypointMessage(const cZRNetMessage&) override { delete this; }
};

class cRecordingTickParent : public cActionTickParent
{
public:
    void ActionTick() override
    {
        ++mTicks;
        mOnOtherThread = mOnOtherThread || QThread::currentThread()->objectName() != "ActionTickThread";
    }
    std::atomic<int> mTicks{0};
    std::atomic<bool> mOnOtherThread{false};
};
}

// The registry and its poll thread, seeks, and the ticks that pace periodic work.
class tst_ZRNetRegistry : public QObject
{
    Q_OBJECT

    std::unique_ptr<cRunningMessagingCore> mCore;

private slots:
    void init() { mCore = std::make_unique<cRunningMessagingCore>(); }
    void cleanup() { mCore.reset(); }

    // Names of 1 to 63 characters register once each, under handles that are unique and neither the registry's
    // nor 65535; a name is free again once its object has gone.
    void namesRegisterOnceUnderUniqueHandles()
    {
        cTraceCapture capture;
        auto first = std::make_unique<cRecordingNetObject>("Driver");
        for (const QByteArray& name : {QByteArray(64, 'n'), QByteArray(), QByteArray("Driver")})
            QCOMPARE(cRecordingNetObject(name.constData()).Handle(), kZRNetNoHandle);
        for (const char* trace : {"ERROR: Net object name too long: nnn", "ERROR: Net object name is empty",
                                  "ERROR: Net object name already registered: Driver"})
            QCOMPARE(capture.LinesContaining(trace).size(), 1);
        QCOMPARE(capture.Lines().size(), 3);
        std::vector<std::unique_ptr<cRecordingNetObject>> objects;
        std::set<UWORD> handles{first->Handle()};
        for (int i = 0; i < 50; ++i)
        {
            objects.push_back(std::make_unique<cRecordingNetObject>(std::string(63 - i, 'n').c_str()));
            handles.insert(objects.back()->Handle());
        }
        QCOMPARE(SyscallRegistryRouter()->FindHandle(std::string(63, 'n')), objects.front()->Handle());
        QCOMPARE(handles.size(), size_t(51));
        QVERIFY(!handles.count(kZRNetRegistryHandle) && !handles.count(kZRNetNoHandle));
        first.reset();
        QCOMPARE(SyscallRegistryRouter()->FindHandle("Driver"), kZRNetNoHandle);
        QVERIFY(cRecordingNetObject("Driver").Handle() != kZRNetNoHandle);
    }

    void theCoreIsInitialisedOnceWithItsNamedBuilderAndNothingIsPostedWithoutIt()
    {
        cRegistryRouter* router = SyscallRegistryRouter();
        QCOMPARE(router->FindHandle("ZRNet System Builder"), SyscallSystemBuilder()->Handle());
        cTraceCapture capture;
        InitialiseSyscall(eAbortAllLinksOnTermination, true);
        QCOMPARE(SyscallRegistryRouter(), router);
        QVERIFY(!SyscallSendMessage(cZRNetMessage(5, 1, 2, 300)));
        QCOMPARE(SyscallQueuedMessageCount(), size_t(0));
        mCore.reset();
        QVERIFY(!SyscallRegistryRouter() && !SyscallSystemBuilder());
        QVERIFY(!SyscallPostMessage(MessageTo(1, 300)));
        QCOMPARE(cRecordingNetObject("Orphan").Handle(), kZRNetNoHandle);
        for (const char* trace : {"ERROR: Messaging core already initialised", "ERROR: No connection 5 for message 300 to 1",
                                  "ERROR: No registry for message 300 to 1", "ERROR: No registry for net object Orphan"})
            QCOMPARE(capture.LinesContaining(trace).size(), 1);
        InitialiseSyscall(eAbortAllLinksOnTermination, false);
        QVERIFY(SyscallRegistryRouter() && !SyscallSystemBuilder());
        UninitialiseSyscall();
    }

    void postersOnSeveralThreadsAreDeliveredInTheirOrder()
    {
        cRecordingNetObject object("Receiver");
        std::vector<std::thread> posters;
        for (UWORD t = 0; t < 4; ++t)
        {
            posters.emplace_back([&, t] {
                for (ULONG i = 0; i < 500; ++i)
                {
                    SyscallPostMessage(MessageTo(object.Handle(), UWORD(300 + t), i));
                    if (i % 50 == 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
        }
        for (std::thread& poster : posters)
            poster.join();
        QVERIFY(object.mReceived.WaitFor(4 * 500));
        std::vector<ULONG> next(4, 0);
        for (const sReceived& message : object.mReceived.Items())
            QCOMPARE(message.mValue, next[message.mMethod - 300]++);
    }

    void pollLockHoldsBackDeliveryAndNests()
    {
        cRecordingNetObject object("Receiver");
        SyscallMessagesPollLock();
        SyscallMessagesPollLock();
        SyscallPostMessage(MessageTo(object.Handle(), 300));
        QVERIFY(!object.mEvents.WaitFor(1, 50));
        SyscallMessagesPollUnLock();
        QVERIFY(!object.mEvents.WaitFor(1, 50));
        SyscallMessagesPollUnLock();
        QVERIFY(object.mEvents.WaitFor(1));
    }

    // Without the poll lock, as the main thread may do, deleting returns only once a handler has left; an object
    // may delete itself, and what is still queued for it reaches no one.
    void objectsMayGoDuringADelivery()
    {
        auto* object = new cSlowNetObject;
        SyscallPostMessage(MessageTo(object->Handle(), 300));
        QTRY_VERIFY_WITH_TIMEOUT(object->mEntered.load(), 10000);
        object->mDeleting = true;
        delete object;
        QVERIFY(cSlowNetObject::mFinished.load());
        QCOMPARE(SyscallRegistryRouter()->FindHandle("Slow"), kZRNetNoHandle);
        const UWORD goneHandle = (new cSelfDeletingNetObject)->Handle();
        SyscallMessagesPollLock();
        SyscallPostMessage(MessageTo(goneHandle, 300));
        SyscallPostMessage(MessageTo(goneHandle, 301));
        SyscallMessagesPollUnLock();
        QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->FindHandle("Self deleting"), kZRNetNoHandle, 10000);
        cRecordingNetObject newcomer("Newcomer");
        QVERIFY(newcomer.Handle() != goneHandle);
        SyscallPostMessage(MessageTo(goneHandle, 302));
        SyscallPostMessage(MessageTo(newcomer.Handle(), 303));
        QVERIFY(newcomer.mEvents.WaitFor(1));
        QCOMPARE(newcomer.mEvents.Items(), std::vector<std::string>{"m303"});
    }

    // What the destroyed object tells its delete list names it as the source, and the lists drop it.
    void deleteListIsToldOnDestruction()
    {
        cRecordingNetObject listener("Listener");
        auto speaker = std::make_unique<cRecordingNetObject>("Speaker");
        listener.AddInform(2, {kZRNetLocalConnection, speaker->Handle(), 0});
        listener.AddToDeleteList(speaker->Handle());
        speaker->AddToDeleteList(listener.Handle());
        speaker.reset();
        QTRY_VERIFY_WITH_TIMEOUT(listener.InformList(2).empty() && listener.DeleteList().empty(), 10000);
    }

    // An answer echoes the path, so a find of an overlong one goes unanswered: an answer to it would come
    // before the next find's, and so before a marker posted once that one arrived.
    void findsOfOverlongPathsGoUnanswered()
    {
        cRecordingNetObject asker("Asker");
        cTraceCapture capture;
        for (const size_t length : {128, 127})
        {
            cZRNetMessage find(kZRNetLocalConnection, kZRNetRegistryHandle, asker.Handle(), eMethodFindObject);
            find.AppendString(std::string(length, 'p').c_str());
            SyscallPostMessage(find);
        }
        QVERIFY(asker.mEvents.WaitFor(1));
        SyscallPostMessage(MessageTo(asker.Handle(), 300));
        QVERIFY(asker.mEvents.WaitFor(2));
        QCOMPARE(asker.mEvents.Items(), (std::vector<std::string>{"m5", "m300"}));
        QCOMPARE(capture.LinesContaining("ERROR: Find of a path of 128 characters from connection 0").size(), 1);
    }

    // One seek at a time: a seek under way is not restarted.
    void foundOnThePollThreadAndCachedUntilTheObjectGoes()
    {
        auto target = std::make_unique<cRecordingNetObject>("Target");
        cRecordingSeekObject seeker("Seeker");
        SyscallMessagesPollLock();
        QVERIFY(!seeker.SeekObject("Target"));
        QVERIFY(seeker.SeekObject("Other"));
        QCOMPARE(seeker.SeekPath(), std::string("Target"));
        SyscallMessagesPollUnLock();
        QVERIFY(seeker.mOutcomes.WaitFor(1));
        QVERIFY(!seeker.mOutcomes.WaitFor(2, 50));
        const sOutcome outcome = seeker.mOutcomes.Items().front();
        QCOMPARE(outcome.mHandle, target->Handle());
        QCOMPARE(outcome.mConnectionId, kZRNetLocalConnection);
        QVERIFY(outcome.mThread != std::this_thread::get_id());
        QCOMPARE(seeker.FoundHandle(), target->Handle());
        QVERIFY(!seeker.IsSeeking());
        QCOMPARE(seeker.CachedPathCount(), size_t(1));
        seeker.SeekObject("Missing");
        QVERIFY(seeker.mOutcomes.WaitFor(2));
        QCOMPARE(seeker.CachedPathCount(), size_t(1));
        seeker.SeekObject("Target");
        QVERIFY(seeker.mOutcomes.WaitFor(3));
        QCOMPARE(seeker.mOutcomes.Items().back().mHandle, target->Handle());
        target.reset();
        seeker.SeekObject("Target");
        QVERIFY(seeker.mOutcomes.WaitFor(4));
        QCOMPARE(seeker.mOutcomes.Items().back().mHandle, kZRNetNoHandle);
        QCOMPARE(seeker.CachedPathCount(), size_t(0));
        cTraceCapture capture;
        cRecordingSeekObject unregistered("Seeker");
        QVERIFY(!unregistered.SeekObject("Target") && !unregistered.IsSeeking());
        QCOMPARE(capture.LinesContaining("ERROR: Unregistered object Seeker cannot seek Target").size(), 1);
    }

    void onlyTheRegistryTellsThatAConnectionEnded_data()
    {
        QTest::addColumn<UWORD>("connection");
        QTest::addColumn<UWORD>("source");
        QTest::addColumn<bool>("believed");
        QTest::newRow("from the registry") << kZRNetLocalConnection << kZRNetRegistryHandle << true;
        QTest::newRow("from a unit") << UWORD(3) << kZRNetRegistryHandle << false;
        QTest::newRow("from a local object") << kZRNetLocalConnection << UWORD(7) << false;
    }

    // A connection's end forgets what was found over it and ends what the seeker does there.
    void onlyTheRegistryTellsThatAConnectionEnded()
    {
        QFETCH(UWORD, connection);
        QFETCH(UWORD, source);
        QFETCH(bool, believed);
        cRecordingNetObject target("Target");
        cRecordingNetObject marker("Marker");
        cRecordingSeekObject seeker("Seeker");
        seeker.SeekObject("Target");
        QVERIFY(seeker.mOutcomes.WaitFor(1));
        cTraceCapture capture;
        cZRNetMessage ended(connection, seeker.Handle(), source, eMethodConnectionEnded);
        ended.AppendUWord(kZRNetLocalConnection);
        SyscallPostMessage(ended);
        SyscallPostMessage(MessageTo(marker.Handle(), 300));
        QVERIFY(marker.mEvents.WaitFor(1));
        QCOMPARE(seeker.mEndedConnections.Items().size(), size_t(believed ? 1 : 0));
        QCOMPARE(seeker.CachedPathCount(), size_t(believed ? 0 : 1));
        QCOMPARE(capture.LinesContaining("ERROR: Seeker: connection end not from the registry dropped").size(),
                 believed ? 0 : 1);
    }

    void unknownPathsAreNotFoundLater_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("tooLongTraces");
        QTest::newRow("unknown local name") << QByteArray("Nobody") << 0;
        QTest::newRow("object on a unit") << QByteArray("192.168.1.20/Kelvari Config Manager") << 0;
        QTest::newRow("127 characters") << QByteArray(127, 'p') << 0;
        QTest::newRow("128 characters") << QByteArray(128, 'p') << 1;
    }

    void unknownPathsAreNotFoundLater()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, tooLongTraces);
        cRecordingSeekObject seeker("KelvariConfigClient");
        cTraceCapture capture;
        SyscallMessagesPollLock();
        QVERIFY(!seeker.SeekObject(path.constData()));
        // The answer comes later, from the poll thread, never from within the call.
        QVERIFY(seeker.mOutcomes.Items().empty());
        SyscallMessagesPollUnLock();
        QVERIFY(seeker.mOutcomes.WaitFor(1));
        const sOutcome outcome = seeker.mOutcomes.Items().front();
        QCOMPARE(outcome.mHandle, kZRNetNoHandle);
        QCOMPARE(outcome.mConnectionId, kZRNetNoConnection);
        QVERIFY(outcome.mThread != std::this_thread::get_id());
        QCOMPARE(capture.LinesContaining("ERROR: Seek path too long").size(), tooLongTraces);
    }

    // Every tick the driver posts reaches the parent on the tick thread and the ticking objects on the
    // poll thread, each followed by its tock; an object that asked for none, or no longer does, gets none.
    void ticksReachTheirObjectsFromTheTickThreadWhileSwitchedOn()
    {
        cRecordingNetObject periodic("Periodic");
        auto doomed = std::make_unique<cRecordingNetObject>("Doomed");
        cRecordingNetObject stopped("Stopped");
        cRecordingNetObject idle("Idle");
        periodic.RequestTicks(true);
        doomed->RequestTicks(true);
        stopped.RequestTicks(true);
        stopped.RequestTicks(false);
        cRecordingTickParent parent;
        auto driver = std::make_unique<cActionTickDriver>(&parent);
        QCOMPARE(driver->objectName(), QStringLiteral("ActionTickThread"));
        QElapsedTimer timer;
        timer.start();
        driver->StartTimer();
        QVERIFY(driver->isRunning());
        SyscallSetStartTicks(true);
        QVERIFY(periodic.mEvents.WaitFor(20));
        // The driver waits out its 20 ms between ticks.
        QVERIFY(timer.elapsed() >= 9 * 20);
        // Destroyed on the main thread without the lock while both threads run.
        doomed.reset();
        driver.reset();
        QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->OutstandingTicks(), size_t(0), 10000);
        QVERIFY(!parent.mOnOtherThread);
        int outstanding = 0;
        int ticks = 0;
        for (const std::string& event : periodic.mEvents.Items())
        {
            ticks += event == "tick";
            outstanding += event == "tick" ? 1 : -1;
            QVERIFY(outstanding >= 0 && outstanding <= 2);
        }
        QCOMPARE(outstanding, 0);
        QCOMPARE(ticks, parent.mTicks.load());
        QVERIFY(stopped.mEvents.Items().empty() && idle.mEvents.Items().empty());
    }

    void ticksAreRefusedWhenOffOrBeyondTwoOutstandingOrFiveThousandQueued()
    {
        mCore->mPollThread.QuitSyscallAndWait();
        QVERIFY(!SyscallPostTick());
        SyscallSetStartTicks(true);
        QVERIFY(SyscallPostTick() && SyscallPostTick());
        QVERIFY(!SyscallPostTick());
        QCOMPARE(SyscallRegistryRouter()->OutstandingTicks(), size_t(2));
        // Once delivered, each tick's tock makes room for the next.
        mCore->mPollThread.StartSyscall();
        QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->OutstandingTicks(), size_t(0), 10000);
        mCore->mPollThread.QuitSyscallAndWait();
        SyscallSetStartTicks(false);
        QVERIFY(!SyscallPostTick());
        SyscallSetStartTicks(true);
        for (int i = 0; i < 4998; ++i)
            SyscallPostMessage(MessageTo(40000, 300));
        QVERIFY(SyscallPostTick());
        QCOMPARE(SyscallQueuedMessageCount(), size_t(4999));
        SyscallPostMessage(MessageTo(40000, 300));
        QVERIFY(!SyscallPostTick());
        QCOMPARE(SyscallRegistryRouter()->OutstandingTicks(), size_t(1));
    }

    void aTockFollowsEverythingQueuedBeforeItOrByTheTicksWork()
    {
        cRecordingNetObject periodic("Periodic");
        periodic.RequestTicks(true);
        periodic.mPostOnTick = 304;
        SyscallSetStartTicks(true);
        SyscallMessagesPollLock();
        SyscallPostMessage(MessageTo(periodic.Handle(), 301));
        SyscallPostMessage(MessageTo(periodic.Handle(), 302));
        QVERIFY(SyscallPostTick());
        SyscallPostMessage(MessageTo(periodic.Handle(), 303));
        SyscallMessagesPollUnLock();
        QVERIFY(periodic.mEvents.WaitFor(6));
        QCOMPARE(periodic.mEvents.Items(), (std::vector<std::string>{"m301", "m302", "tick", "m303", "m304", "tock"}));
        QTRY_COMPARE_WITH_TIMEOUT(SyscallRegistryRouter()->OutstandingTicks(), size_t(0), 10000);
    }

    void onlyTheLocalDriverTicksAndTocks_data()
    {
        QTest::addColumn<UWORD>("connection");
        QTest::addColumn<UWORD>("source");
        QTest::addColumn<UWORD>("method");
        QTest::newRow("tick from a unit") << UWORD(3) << kZRNetRegistryHandle << UWORD(eMethodTick);
        QTest::newRow("tock from a unit") << UWORD(3) << kZRNetRegistryHandle << UWORD(eMethodTock);
        QTest::newRow("tick from a local object") << kZRNetLocalConnection << UWORD(7) << UWORD(eMethodTick);
    }

    void onlyTheLocalDriverTicksAndTocks()
    {
        QFETCH(UWORD, connection);
        QFETCH(UWORD, source);
        QFETCH(UWORD, method);
        cRecordingNetObject periodic("Periodic");
        cRecordingNetObject marker("Marker");
        periodic.RequestTicks(true);
        cTraceCapture capture;
        for (int i = 0; i < 3; ++i)
            SyscallPostMessage(cZRNetMessage(connection, kZRNetRegistryHandle, source, method));
        SyscallPostMessage(MessageTo(marker.Handle(), 300));
        QVERIFY(marker.mEvents.WaitFor(1));
        QVERIFY(periodic.mEvents.Items().empty());
        QCOMPARE(capture.LinesContaining("ERROR: Tick or tock not from the local tick driver dropped").size(), 3);
        QCOMPARE(SyscallRegistryRouter()->OutstandingTicks(), size_t(0));
    }
};

QTEST_GUILESS_MAIN(tst_ZRNetRegistry)
#include "tst_ZRNetRegistry.moc"

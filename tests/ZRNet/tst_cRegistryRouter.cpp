#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Core/cRegistryRouter.h"
#include "cRecordingNetObject.h"
#include "cRunningMessagingCore.h"
#include "support/cTraceCapture.h"

#include <QtTest>

#include <atomic>
#include <memory>

namespace
{
cZRNetMessage MessageTo(UWORD destination, UWORD method, ULONG value = 0)
{
    cZRNetMessage message(kZRNetLocalConnection, destination, kZRNetNoHandle, method);
    message.AppendULong(value);
    return message;
}

// Stays in its handler until the test begins to destroy it, and a little longer.
class cSlowNetObject : public cNetObject
{
public:
    cSlowNetObject() : cNetObject("Slow") {}
    ~cSlowNetObject() override { Unregister(); }
    void EntrypointMessage(const cZRNetMessage&) override
    {
        mEntered = true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!mDeleting && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        mFinished = true;
    }
    std::atomic<bool> mEntered{false};
    std::atomic<bool> mDeleting{false};
    static std::atomic<bool> mFinished;
};
std::atomic<bool> cSlowNetObject::mFinished{false};

class cSelfDeletingNetObject : public cNetObject
{
public:
    explicit cSelfDeletingNetObject(std::atomic<bool>& deleted) : cNetObject("Self deleting"), mDeleted(deleted) {}
    ~cSelfDeletingNetObject() override
    {
        Unregister();
        mDeleted = true;
    }
    void EntrypointMessage(const cZRNetMessage&) override { delete this; }

private:
    std::atomic<bool>& mDeleted;
};
}

class tst_cRegistryRouter : public QObject
{
    Q_OBJECT

private slots:
    void namesOfAtMostSixtyThreeCharactersRegister_data();
    void namesOfAtMostSixtyThreeCharactersRegister();
    void aNameIsTakenOnlyOnceAndHandlesAreUnique();
    void initialisingTwiceIsTracedAndHarmless();
    void postersOnSeveralThreadsAreDeliveredInOrderOnThePollThread();
    void pollLockHoldsBackDeliveryAndNests();
    void destructionWaitsForADeliveryInProgress();
    void anObjectMayDeleteItselfAndLaterMessagesAreDropped();
    void objectsComeAndGoWhileMessagesFlood();
    void deleteListIsToldOnDestruction();
    void postingWithoutARegistryOrConnectionFails();
};

void tst_cRegistryRouter::namesOfAtMostSixtyThreeCharactersRegister_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("trace");
    QTest::newRow("63 characters") << QByteArray(63, 'n') << true << QString();
    QTest::newRow("64 characters") << QByteArray(64, 'n') << false << "ERROR: Net object name too long: ";
    QTest::newRow("empty") << QByteArray() << false << "ERROR: Net object name is empty";
}

void tst_cRegistryRouter::namesOfAtMostSixtyThreeCharactersRegister()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, registered);
    QFETCH(QString, trace);
    cRunningMessagingCore core(false);
    cTraceCapture capture;
    cRecordingNetObject object(name.constData());
    QCOMPARE(object.Handle() != kZRNetNoHandle, registered);
    QCOMPARE(SyscallRegistryRouter()->FindHandle(name.toStdString()), object.Handle());
    if (!trace.isEmpty())
        QCOMPARE(capture.LinesContaining(trace).size(), 1);
    else
        QVERIFY(capture.Lines().isEmpty());
}

void tst_cRegistryRouter::aNameIsTakenOnlyOnceAndHandlesAreUnique()
{
    cRunningMessagingCore core(false);
    auto first = std::make_unique<cRecordingNetObject>("Driver");
    {
        cTraceCapture capture;
        cRecordingNetObject second("Driver");
        QCOMPARE(second.Handle(), kZRNetNoHandle);
        QCOMPARE(capture.LinesContaining("ERROR: Net object name already registered: Driver").size(), 1);
    }
    std::vector<std::unique_ptr<cRecordingNetObject>> objects;
    std::set<UWORD> handles{first->Handle()};
    for (int i = 0; i < 50; ++i)
    {
        objects.push_back(std::make_unique<cRecordingNetObject>(("object " + std::to_string(i)).c_str()));
        handles.insert(objects.back()->Handle());
    }
    QCOMPARE(handles.size(), size_t(51));
    QVERIFY(!handles.count(kZRNetRegistryHandle));
    QVERIFY(!handles.count(kZRNetNoHandle));
    first.reset();
    QCOMPARE(SyscallRegistryRouter()->FindHandle("Driver"), kZRNetNoHandle);
    cRecordingNetObject third("Driver");
    QVERIFY(third.Handle() != kZRNetNoHandle);
}

void tst_cRegistryRouter::initialisingTwiceIsTracedAndHarmless()
{
    cRunningMessagingCore core(false);
    cRegistryRouter* router = SyscallRegistryRouter();
    cTraceCapture capture;
    InitialiseSyscall(eAbortAllLinksOnTermination, true);
    QCOMPARE(SyscallRegistryRouter(), router);
    QCOMPARE(capture.LinesContaining("ERROR: Messaging core already initialised").size(), 1);
}

void tst_cRegistryRouter::postersOnSeveralThreadsAreDeliveredInOrderOnThePollThread()
{
    cRunningMessagingCore core;
    cRecordingNetObject object("Receiver");
    constexpr int kThreads = 4;
    constexpr ULONG kEach = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t)
    {
        posters.emplace_back([&, t] {
            for (ULONG i = 0; i < kEach; ++i)
            {
                SyscallPostMessage(MessageTo(object.Handle(), UWORD(300 + t), i));
                if (i % 50 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    for (std::thread& poster : posters)
        poster.join();
    QVERIFY(object.WaitForEvents(kThreads * kEach));
    std::vector<ULONG> next(kThreads, 0);
    for (const auto& message : object.Received())
    {
        cZRNetMessage copy;
        copy.SetPayload(message.mPayload.data(), message.mPayload.size());
        QCOMPARE(copy.GetULong(0), next[message.mMethod - 300]++);
        QVERIFY(message.mThread != std::this_thread::get_id());
    }
}

void tst_cRegistryRouter::pollLockHoldsBackDeliveryAndNests()
{
    cRunningMessagingCore core;
    cRecordingNetObject object("Receiver");
    SyscallMessagesPollLock();
    SyscallMessagesPollLock();
    SyscallPostMessage(MessageTo(object.Handle(), 300));
    QVERIFY(!object.WaitForEvents(1, 50));
    SyscallMessagesPollUnLock();
    QVERIFY(!object.WaitForEvents(1, 50));
    SyscallMessagesPollUnLock();
    QVERIFY(object.WaitForEvents(1));
}

void tst_cRegistryRouter::destructionWaitsForADeliveryInProgress()
{
    cRunningMessagingCore core;
    auto* object = new cSlowNetObject;
    SyscallPostMessage(MessageTo(object->Handle(), 300));
    QTRY_VERIFY_WITH_TIMEOUT(object->mEntered.load(), 3000);
    // Without the poll lock, as the main thread may do: returns only once the handler has left.
    object->mDeleting = true;
    delete object;
    QVERIFY(cSlowNetObject::mFinished.load());
    QCOMPARE(SyscallRegistryRouter()->FindHandle("Slow"), kZRNetNoHandle);
}

void tst_cRegistryRouter::anObjectMayDeleteItselfAndLaterMessagesAreDropped()
{
    cRunningMessagingCore core;
    std::atomic<bool> deleted{false};
    auto* object = new cSelfDeletingNetObject(deleted);
    const UWORD goneHandle = object->Handle();
    SyscallMessagesPollLock();
    SyscallPostMessage(MessageTo(goneHandle, 300));
    SyscallPostMessage(MessageTo(goneHandle, 301));
    SyscallMessagesPollUnLock();
    QTRY_VERIFY_WITH_TIMEOUT(deleted.load(), 3000);
    cRecordingNetObject newcomer("Newcomer");
    QVERIFY(newcomer.Handle() != goneHandle);
    SyscallPostMessage(MessageTo(goneHandle, 302));
    SyscallPostMessage(MessageTo(newcomer.Handle(), 303));
    QVERIFY(newcomer.WaitForEvents(1));
    QCOMPARE(newcomer.Events(), std::vector<std::string>{"m303"});
}

void tst_cRegistryRouter::objectsComeAndGoWhileMessagesFlood()
{
    cRunningMessagingCore core;
    std::atomic<bool> flooding{true};
    std::atomic<UWORD> target{kZRNetNoHandle};
    std::thread flood([&] {
        while (flooding)
        {
            SyscallPostMessage(MessageTo(target, 300));
            if (SyscallQueuedMessageCount() > 200)
                std::this_thread::yield();
        }
    });
    size_t delivered = 0;
    for (int i = 0; i < 200; ++i)
    {
        auto object = std::make_unique<cRecordingNetObject>("Short lived");
        target = object->Handle();
        object->WaitForEvents(1, 20);
        delivered += object->EventCount();
    }
    flooding = false;
    flood.join();
    QVERIFY(delivered > 0);
}

void tst_cRegistryRouter::deleteListIsToldOnDestruction()
{
    cRunningMessagingCore core;
    cRecordingNetObject listener("Listener", true);
    auto speaker = std::make_unique<cRecordingNetObject>("Speaker");
    listener.AddInform(2, {kZRNetLocalConnection, speaker->Handle(), 0});
    listener.AddToDeleteList(speaker->Handle());
    speaker->AddToDeleteList(listener.Handle());
    const UWORD speakerHandle = speaker->Handle();
    speaker.reset();
    QVERIFY(listener.WaitForEvents(1));
    QCOMPARE(listener.Received().front().mMethod, UWORD(eMethodObjectDeleted));
    QCOMPARE(listener.Received().front().mSource, speakerHandle);
    QVERIFY(listener.InformList(2).empty());
    QVERIFY(listener.DeleteList().empty());
}

void tst_cRegistryRouter::postingWithoutARegistryOrConnectionFails()
{
    {
        cTraceCapture capture;
        QVERIFY(!SyscallPostMessage(MessageTo(1, 300)));
        QCOMPARE(capture.LinesContaining("ERROR: No registry for message 300 to 1").size(), 1);
        cRecordingNetObject orphan("Orphan");
        QCOMPARE(orphan.Handle(), kZRNetNoHandle);
    }
    cRunningMessagingCore core(false);
    cTraceCapture capture;
    QVERIFY(!SyscallSendMessage(cZRNetMessage(5, 1, 2, 300)));
    QCOMPARE(SyscallQueuedMessageCount(), size_t(0));
    QCOMPARE(capture.LinesContaining("ERROR: No connection 5 for message 300 to 1").size(), 1);
}

QTEST_GUILESS_MAIN(tst_cRegistryRouter)
#include "tst_cRegistryRouter.moc"

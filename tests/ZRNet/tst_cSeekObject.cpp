#include "ZRNet/Core/Syscall.h"
#include "cRecordingNetObject.h"
#include "cRecordingSeekObject.h"
#include "cRunningMessagingCore.h"
#include "support/cTraceCapture.h"

#include <QtTest>

#include <memory>

class tst_cSeekObject : public QObject
{
    Q_OBJECT

private slots:
    void foundOnThePollThreadAndCachedUntilTheObjectGoes();
    void unknownPathsAreNotFoundLater_data();
    void unknownPathsAreNotFoundLater();
    void aSeekUnderWayIsNotRestarted();
    void aSeekerWithoutHandleCannotSeek();
};

void tst_cSeekObject::foundOnThePollThreadAndCachedUntilTheObjectGoes()
{
    cRunningMessagingCore core;
    auto target = std::make_unique<cRecordingNetObject>("Target");
    cRecordingSeekObject seeker("Seeker");
    QVERIFY(!seeker.SeekObject("Target"));
    QVERIFY(seeker.WaitForOutcomes(1));
    const auto outcome = seeker.Outcomes().front();
    QCOMPARE(outcome.mHandle, target->Handle());
    QCOMPARE(outcome.mConnectionId, kZRNetLocalConnection);
    QVERIFY(outcome.mThread != std::this_thread::get_id());
    QCOMPARE(seeker.FoundHandle(), target->Handle());
    QVERIFY(!seeker.IsSeeking());
    QCOMPARE(seeker.CachedPathCount(), size_t(1));

    seeker.SeekObject("Missing");
    QVERIFY(seeker.WaitForOutcomes(2));
    QCOMPARE(seeker.CachedPathCount(), size_t(1));
    seeker.SeekObject("Target");
    QVERIFY(seeker.WaitForOutcomes(3));
    QCOMPARE(seeker.Outcomes().back().mHandle, target->Handle());
    target.reset();
    seeker.SeekObject("Target");
    QVERIFY(seeker.WaitForOutcomes(4));
    QCOMPARE(seeker.Outcomes().back().mHandle, kZRNetNoHandle);
    QCOMPARE(seeker.CachedPathCount(), size_t(0));
}

void tst_cSeekObject::unknownPathsAreNotFoundLater_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("tooLongTraces");
    QTest::newRow("unknown local name") << QByteArray("Nobody") << 0;
    QTest::newRow("object on a unit") << QByteArray("192.168.1.20/Kelvari Config Manager") << 0;
    QTest::newRow("127 characters") << QByteArray(127, 'p') << 0;
    QTest::newRow("128 characters") << QByteArray(128, 'p') << 1;
}

void tst_cSeekObject::unknownPathsAreNotFoundLater()
{
    QFETCH(QByteArray, path);
    QFETCH(int, tooLongTraces);
    cRunningMessagingCore core;
    cRecordingSeekObject seeker("KelvariConfigClient");
    cTraceCapture capture;
    SyscallMessagesPollLock();
    QVERIFY(!seeker.SeekObject(path.constData()));
    // The answer comes later, from the poll thread, never from within the call.
    QVERIFY(seeker.Outcomes().empty());
    SyscallMessagesPollUnLock();
    QVERIFY(seeker.WaitForOutcomes(1));
    const auto outcome = seeker.Outcomes().front();
    QCOMPARE(outcome.mHandle, kZRNetNoHandle);
    QCOMPARE(outcome.mConnectionId, kZRNetNoConnection);
    QVERIFY(outcome.mThread != std::this_thread::get_id());
    QCOMPARE(capture.LinesContaining("ERROR: Seek path too long").size(), tooLongTraces);
}

void tst_cSeekObject::aSeekUnderWayIsNotRestarted()
{
    cRunningMessagingCore core;
    cRecordingNetObject target("Target");
    cRecordingSeekObject seeker("Seeker");
    SyscallMessagesPollLock();
    QVERIFY(!seeker.SeekObject("Target"));
    QVERIFY(seeker.SeekObject("Other"));
    QCOMPARE(seeker.SeekPath(), std::string("Target"));
    SyscallMessagesPollUnLock();
    QVERIFY(seeker.WaitForOutcomes(1));
    QVERIFY(!seeker.WaitForOutcomes(2, 50));
    QCOMPARE(seeker.Outcomes().front().mHandle, target.Handle());
}

void tst_cSeekObject::aSeekerWithoutHandleCannotSeek()
{
    cRunningMessagingCore core;
    cRecordingNetObject holder("Taken");
    cTraceCapture capture;
    cRecordingSeekObject seeker("Taken");
    QVERIFY(!seeker.SeekObject("Taken"));
    QVERIFY(!seeker.IsSeeking());
    QCOMPARE(capture.LinesContaining("ERROR: Unregistered object Taken cannot seek Taken").size(), 1);
}

QTEST_GUILESS_MAIN(tst_cSeekObject)
#include "tst_cSeekObject.moc"

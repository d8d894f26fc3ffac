#include "Common/Qt/ConvertTimeToString.h"
#include "Common/Qt/cHeavyProfile.h"
#include "Common/Qt/cHeavyProfileEntry.h"
#include "support/cTraceCapture.h"

#include <QDateTime>
#include <QThread>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace
{
// Runs the function on a fresh thread and waits for it.
void RunOnThread(const std::function<void()>& function)
{
    std::unique_ptr<QThread> thread(QThread::create(function));
    thread->start();
    thread->wait();
}
}

class tst_cHeavyProfile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void longTimeIsWrittenFromWeeksToMilliseconds_data();
    void longTimeIsWrittenFromWeeksToMilliseconds();
    void nanosecondTimeIsWrittenFromMinutesToNanoseconds_data();
    void nanosecondTimeIsWrittenFromMinutesToNanoseconds();

    void firstStartReturnsTrueAndIsCounted();
    void endRecordsMinimumMaximumTotalAndLastDuration();
    void secondThreadsStartOverlapsAndEachEndClosesItsOwnStart();
    void endWithoutStartTracesAndChangesNothing();
    void endOnAnotherThreadLeavesTheOpenStartAlone();
    void restartOnTheSameThreadIsClosedByOneEnd();
    void concurrentStartsAndEndsAreAllCounted();

    void instanceIsOneObjectUntilDeleted();
    void concurrentFirstUseCreatesOneInstance();
    void mainThreadIsTheFirstRecorded();
    void switchedOffOperationsGiveNeutralResultsAndPrintNothing();
};

void tst_cHeavyProfile::cleanup()
{
    cHeavyProfile::DeleteInstance();
}

void tst_cHeavyProfile::longTimeIsWrittenFromWeeksToMilliseconds_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0ms";
    QTest::newRow("milliseconds only") << qint64(5) << "5ms";
    QTest::newRow("one of each below a week") << qint64(86400000 + 3600000 + 60000 + 1000 + 1)
                                              << "1days 1hours 1min 1sec 1ms";
    QTest::newRow("exactly a week") << qint64(604800000) << "1weeks 0ms";
    QTest::newRow("units not reached are skipped") << qint64(2 * 86400000LL + 7) << "2days 7ms";
    QTest::newRow("many weeks") << qint64(10 * 604800000LL + 3 * 3600000LL + 42) << "10weeks 3hours 42ms";
    QTest::newRow("negative stays milliseconds") << qint64(-5) << "-5ms";
}

void tst_cHeavyProfile::longTimeIsWrittenFromWeeksToMilliseconds()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(ConvertLongTimeToString(ms), text);
}

void tst_cHeavyProfile::nanosecondTimeIsWrittenFromMinutesToNanoseconds_data()
{
    QTest::addColumn<qint64>("ns");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0ns";
    QTest::newRow("microseconds and nanoseconds") << qint64(1500) << "1us 500ns";
    QTest::newRow("one of each") << qint64(60000000000LL + 1000000000LL + 1000000LL + 1000LL + 1)
                                 << "1min 1sec 1ms 1us 1ns";
    QTest::newRow("minutes are the largest unit") << qint64(120 * 60000000000LL + 5) << "120min 5ns";
    QTest::newRow("negative stays nanoseconds") << qint64(-1500) << "-1500ns";
}

void tst_cHeavyProfile::nanosecondTimeIsWrittenFromMinutesToNanoseconds()
{
    QFETCH(qint64, ns);
    QFETCH(QString, text);
    QCOMPARE(ConvertNanoSecondTimeToString(ns), text);
}

void tst_cHeavyProfile::firstStartReturnsTrueAndIsCounted()
{
    cHeavyProfileEntry entry;
    QVERIFY(entry.Start());
    QCOMPARE(entry.GetStartCount(), 1);
    QCOMPARE(entry.GetThreadStartCount(QThread::currentThread()), 1);
    QCOMPARE(entry.GetOverlapCount(), 0);
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{QThread::currentThread()});
    QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
    QCOMPARE(entry.GetTotalDuration(), 0);
}

void tst_cHeavyProfile::endRecordsMinimumMaximumTotalAndLastDuration()
{
    cHeavyProfileEntry entry;

    // The start time is taken inside Start(), so each duration is bounded by clock reads around it.
    qint64 before = QDateTime::currentMSecsSinceEpoch();
    QVERIFY(entry.Start());
    qint64 after = QDateTime::currentMSecsSinceEpoch();
    entry.End(after + 100);
    const qint64 first = entry.GetLastDuration();
    QVERIFY(first >= 100 && first <= 100 + after - before);

    before = QDateTime::currentMSecsSinceEpoch();
    QVERIFY(entry.Start());
    after = QDateTime::currentMSecsSinceEpoch();
    entry.End(after + 300);
    const qint64 second = entry.GetLastDuration();
    QVERIFY(second >= 300 && second <= 300 + after - before);

    QCOMPARE(entry.GetMinimumDuration(), first);
    QCOMPARE(entry.GetMaximumDuration(), second);
    QCOMPARE(entry.GetTotalDuration(), first + second);
    QCOMPARE(entry.GetStartCount(), 2);
    QCOMPARE(entry.GetOverlapCount(), 0);
    QVERIFY(entry.GetOpenThreads().isEmpty());
}

void tst_cHeavyProfile::secondThreadsStartOverlapsAndEachEndClosesItsOwnStart()
{
    cHeavyProfileEntry entry;
    QThread* main = QThread::currentThread();
    QVERIFY(entry.Start());

    QThread* worker = nullptr;
    bool workerStart = true;
    QList<QThread*> openWhileBothStarted;
    RunOnThread([&] {
        worker = QThread::currentThread();
        workerStart = entry.Start();
        openWhileBothStarted = entry.GetOpenThreads();
        entry.End(QDateTime::currentMSecsSinceEpoch() + 1000);
    });

    QVERIFY(!workerStart);
    QCOMPARE(entry.GetOverlapCount(), 1);
    QCOMPARE(openWhileBothStarted, (QList<QThread*>{main, worker}));
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{main});
    QCOMPARE(entry.GetThreadStartCount(main), 1);
    QCOMPARE(entry.GetThreadStartCount(worker), 1);
    QCOMPARE(entry.GetStartCount(), 2);
    QVERIFY(entry.GetLastDuration() >= 1000);

    cTraceCapture capture;
    entry.End(QDateTime::currentMSecsSinceEpoch());
    QVERIFY(capture.Lines().isEmpty());
    QVERIFY(entry.GetOpenThreads().isEmpty());
    QVERIFY(entry.GetLastDuration() < 1000);
}

void tst_cHeavyProfile::endWithoutStartTracesAndChangesNothing()
{
    cHeavyProfileEntry entry;
    cTraceCapture capture;
    entry.End(QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(capture.LinesContaining(QStringLiteral("ERROR: End called before start")).size(), 1);
    QCOMPARE(capture.Lines().size(), 1);
    QCOMPARE(entry.GetStartCount(), 0);
    QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
    QCOMPARE(entry.GetMaximumDuration(), 0);
    QCOMPARE(entry.GetTotalDuration(), 0);
    QCOMPARE(entry.GetLastDuration(), 0);
}

void tst_cHeavyProfile::endOnAnotherThreadLeavesTheOpenStartAlone()
{
    cHeavyProfileEntry entry;
    QVERIFY(entry.Start());
    {
        cTraceCapture capture;
        RunOnThread([&] { entry.End(QDateTime::currentMSecsSinceEpoch()); });
        QCOMPARE(capture.LinesContaining(QStringLiteral("End called before start")).size(), 1);
    }
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{QThread::currentThread()});
    QCOMPARE(entry.GetTotalDuration(), 0);
    QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
}

void tst_cHeavyProfile::restartOnTheSameThreadIsClosedByOneEnd()
{
    cHeavyProfileEntry entry;
    QVERIFY(entry.Start());
    QVERIFY(!entry.Start());
    QCOMPARE(entry.GetOverlapCount(), 1);
    QCOMPARE(entry.GetThreadStartCount(QThread::currentThread()), 2);
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{QThread::currentThread()});

    entry.End(QDateTime::currentMSecsSinceEpoch());
    QVERIFY(entry.GetOpenThreads().isEmpty());

    cTraceCapture capture;
    entry.End(QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(capture.LinesContaining(QStringLiteral("End called before start")).size(), 1);
    QVERIFY(entry.Start());
}

void tst_cHeavyProfile::concurrentStartsAndEndsAreAllCounted()
{
    constexpr int threadCount = 4;
    constexpr int roundsPerThread = 500;
    cHeavyProfileEntry entry;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int index = 0; index < threadCount; ++index)
    {
        threads.emplace_back(QThread::create([&entry] {
            for (int round = 0; round < roundsPerThread; ++round)
            {
                entry.Start();
                entry.End(QDateTime::currentMSecsSinceEpoch());
            }
        }));
    }
    cTraceCapture capture;
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        thread->wait();

    QVERIFY(capture.Lines().isEmpty());
    QCOMPARE(entry.GetStartCount(), threadCount * roundsPerThread);
    for (auto& thread : threads)
        QCOMPARE(entry.GetThreadStartCount(thread.get()), roundsPerThread);
    QVERIFY(entry.GetOverlapCount() <= entry.GetStartCount());
    QVERIFY(entry.GetOpenThreads().isEmpty());
    QVERIFY(entry.GetMinimumDuration() >= 0);
    QVERIFY(entry.GetMaximumDuration() >= entry.GetMinimumDuration());
}

void tst_cHeavyProfile::instanceIsOneObjectUntilDeleted()
{
    cHeavyProfile* profile = cHeavyProfile::Instance();
    QVERIFY(profile);
    QCOMPARE(cHeavyProfile::Instance(), profile);

    profile->SetMainThread();
    cHeavyProfile::DeleteInstance();
    // With no instance left, a second delete does nothing.
    cHeavyProfile::DeleteInstance();
    // A fresh instance has no main thread recorded yet.
    QVERIFY(!cHeavyProfile::Instance()->IsMainThread());
}

void tst_cHeavyProfile::concurrentFirstUseCreatesOneInstance()
{
    constexpr int threadCount = 8;
    std::vector<cHeavyProfile*> seen(threadCount, nullptr);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int index = 0; index < threadCount; ++index)
        threads.emplace_back(QThread::create([&seen, index] { seen[index] = cHeavyProfile::Instance(); }));
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        thread->wait();
    for (cHeavyProfile* profile : seen)
        QCOMPARE(profile, cHeavyProfile::Instance());
}

void tst_cHeavyProfile::mainThreadIsTheFirstRecorded()
{
    cHeavyProfile* profile = cHeavyProfile::Instance();
    QVERIFY(!profile->IsMainThread());
    profile->SetMainThread();
    QVERIFY(profile->IsMainThread());

    bool workerIsMain = true;
    RunOnThread([&] {
        profile->SetMainThread();
        workerIsMain = profile->IsMainThread();
    });
    QVERIFY(!workerIsMain);
    QVERIFY(profile->IsMainThread());
}

void tst_cHeavyProfile::switchedOffOperationsGiveNeutralResultsAndPrintNothing()
{
    cHeavyProfile* profile = cHeavyProfile::Instance();
    cTraceCapture capture;
    QVERIFY(!profile->Start(QStringLiteral("load")));
    profile->End(QStringLiteral("load"));
    profile->Print(QStringLiteral("load"));
    profile->Reset(QStringLiteral("load"));
    profile->LogPrecisionEntry(QStringLiteral("parse"), 1500);
    profile->PrintPrecisionEntry(QStringLiteral("parse"), true, true);
    profile->ResetPrecisionEntry(QStringLiteral("parse"));
    profile->PrintAllPrecisionEntry(true, true, true);
    QCOMPARE(profile->RecordConstructor(QStringLiteral("cWidget")), QStringLiteral("cWidget"));
    profile->RecordDestructor(QStringLiteral("cWidget"));
    profile->PrintAllUnevenCalls(true);
    profile->RegisterCurrentThread(QStringLiteral("main"));
    profile->RegisterThread(QThread::currentThread(), QStringLiteral("main"));
    QVERIFY(!profile->IsThreadRegistered(QThread::currentThread()));
    QVERIFY(!profile->IsCurrentThreadRegistered());
    QVERIFY(profile->GetThreadDescription(QThread::currentThread()).isEmpty());
    QVERIFY(profile->GetCurrentThreadDescription().isEmpty());
    cHeavyProfileEntry entry;
    entry.Print();
    QVERIFY(capture.Lines().isEmpty());
}

QTEST_GUILESS_MAIN(tst_cHeavyProfile)
#include "tst_cHeavyProfile.moc"

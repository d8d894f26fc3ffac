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
// Runs the function on count fresh threads at once and waits for them.
void RunOnThreads(int count, const std::function<void(int)>& function)
{
    std::vector<std::unique_ptr<QThread>> threads;
    for (int index = 0; index < count; ++index)
        threads.emplace_back(QThread::create(function, index));
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        thread->wait();
}

qint64 Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}
}

class tst_cHeavyProfile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cHeavyProfile::DeleteInstance(); }
    void timesAreWrittenInUnits_data();
    void timesAreWrittenInUnits();
    void endRecordsMinimumMaximumTotalAndLastDuration();
    void eachThreadsEndClosesItsOwnStart();
    void endWithoutStartTracesAndChangesNothing();
    void concurrentStartsAndEndsAreAllCounted();
    void instanceIsSharedAndRemembersTheMainThread();
    void switchedOffOperationsGiveNeutralResultsAndPrintNothing();
};

void tst_cHeavyProfile::timesAreWrittenInUnits_data()
{
    QTest::addColumn<bool>("nanoseconds");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("ms zero") << false << qint64(0) << "0ms";
    QTest::newRow("ms skips units not reached") << false << qint64(10 * 604800000LL + 86400000 + 3 * 3600000LL + 42)
                                                << "10weeks 1days 3hours 42ms";
    QTest::newRow("ms negative") << false << qint64(-5) << "-5ms";
    QTest::newRow("ns minutes are the largest unit")
        << true << qint64(120 * 60000000000LL + 1000000000LL + 1000000LL + 1000LL + 5) << "120min 1sec 1ms 1us 5ns";
    QTest::newRow("ns negative") << true << qint64(-1500) << "-1500ns";
}

void tst_cHeavyProfile::timesAreWrittenInUnits()
{
    QFETCH(bool, nanoseconds);
    QFETCH(qint64, time);
    QFETCH(QString, text);
    QCOMPARE(nanoseconds ? ConvertNanoSecondTimeToString(time) : ConvertLongTimeToString(time), text);
}

void tst_cHeavyProfile::endRecordsMinimumMaximumTotalAndLastDuration()
{
    cHeavyProfileEntry entry;
    // The start time is taken inside Start(), so each duration is bounded by clock reads around it.
    qint64 durations[2];
    const qint64 extra[2] = {300, 100};
    for (int index = 0; index < 2; ++index)
    {
        const qint64 before = Now();
        QVERIFY(entry.Start());
        const qint64 after = Now();
        entry.End(after + extra[index]);
        durations[index] = entry.GetLastDuration();
        QVERIFY(durations[index] >= extra[index] && durations[index] <= extra[index] + after - before);
    }
    QCOMPARE(entry.GetMinimumDuration(), durations[1]);
    QCOMPARE(entry.GetMaximumDuration(), durations[0]);
    QCOMPARE(entry.GetTotalDuration(), durations[0] + durations[1]);
    QCOMPARE(entry.GetStartCount(), 2);
    QCOMPARE(entry.GetOverlapCount(), 0);
}

void tst_cHeavyProfile::eachThreadsEndClosesItsOwnStart()
{
    cHeavyProfileEntry entry;
    QThread* main = QThread::currentThread();
    QVERIFY(entry.Start());
    QVERIFY(!entry.Start());

    QThread* worker = nullptr;
    bool workerStart = true;
    QList<QThread*> openWhileBothStarted;
    RunOnThreads(1, [&](int) {
        worker = QThread::currentThread();
        workerStart = entry.Start();
        openWhileBothStarted = entry.GetOpenThreads();
        entry.End(Now() + 1000);
    });
    QVERIFY(!workerStart);
    QCOMPARE(entry.GetOverlapCount(), 2);
    QCOMPARE(openWhileBothStarted, (QList<QThread*>{main, worker}));
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{main});
    QCOMPARE(entry.GetThreadStartCount(main), 2);
    QVERIFY(entry.GetLastDuration() >= 1000);

    entry.End(Now());
    QVERIFY(entry.GetOpenThreads().isEmpty());
    QVERIFY(entry.GetLastDuration() < 1000);
}

void tst_cHeavyProfile::endWithoutStartTracesAndChangesNothing()
{
    cHeavyProfileEntry entry;
    cTraceCapture capture;
    entry.End(Now());
    QVERIFY(entry.Start());
    RunOnThreads(1, [&](int) { entry.End(Now()); });
    QCOMPARE(capture.Lines(), capture.LinesContaining(QStringLiteral("ERROR: End called before start")));
    QCOMPARE(capture.Lines().size(), 2);
    QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{QThread::currentThread()});
    QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
    QCOMPARE(entry.GetTotalDuration(), 0);
    QCOMPARE(entry.GetLastDuration(), 0);
}

void tst_cHeavyProfile::concurrentStartsAndEndsAreAllCounted()
{
    cHeavyProfileEntry entry;
    cTraceCapture capture;
    RunOnThreads(4, [&](int) {
        for (int round = 0; round < 500; ++round)
        {
            entry.Start();
            entry.End(Now());
        }
    });
    QVERIFY(capture.Lines().isEmpty());
    QCOMPARE(entry.GetStartCount(), 4 * 500);
    QVERIFY(entry.GetOpenThreads().isEmpty());
}

void tst_cHeavyProfile::instanceIsSharedAndRemembersTheMainThread()
{
    std::vector<cHeavyProfile*> seen(8, nullptr);
    RunOnThreads(8, [&](int index) { seen[index] = cHeavyProfile::Instance(); });
    cHeavyProfile* profile = cHeavyProfile::Instance();
    QCOMPARE(seen, std::vector<cHeavyProfile*>(8, profile));

    QVERIFY(!profile->IsMainThread());
    profile->SetMainThread();
    bool workerIsMain = true;
    RunOnThreads(1, [&](int) {
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
    profile->LogPrecisionEntry(QStringLiteral("parse"), 1500);
    profile->PrintAllPrecisionEntry(true, true, true);
    QCOMPARE(profile->RecordConstructor(QStringLiteral("cWidget")), QStringLiteral("cWidget"));
    profile->RegisterCurrentThread(QStringLiteral("main"));
    QVERIFY(!profile->IsCurrentThreadRegistered());
    cHeavyProfileEntry().Print();
    QVERIFY(capture.Lines().isEmpty());
}

QTEST_GUILESS_MAIN(tst_cHeavyProfile)
#include "tst_cHeavyProfile.moc"

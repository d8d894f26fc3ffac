#include "Common/Qt/ConvertTimeToString.h"
#include "Common/Qt/cHeavyProfile.h"
#include "Common/Qt/cHeavyProfileEntry.h"
#include "Common/Qt/cUnixSignalManager.h"
#include "support/cTraceCapture.h"

#include <QDateTime>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

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

// The exit code of a loop that nothing quit in time; the relay's quit gives 0.
constexpr int kTimedOut = 99;

int RunEventLoop(int timeoutMs)
{
    QObject timeout;
    QTimer::singleShot(timeoutMs, &timeout, [] { QCoreApplication::exit(kTimedOut); });
    return QCoreApplication::exec();
}

// Lets a relay quit one loop per waiting signal; returns how many it quit.
int DrainPendingSignals()
{
    cUnixSignalManager relay;
    int quits = 0;
    while (RunEventLoop(50) != kTimedOut)
        ++quits;
    return quits;
}
}

// The profiler and the signal relay, which the editor carries for a front end to use.
class tst_CommonUtilities : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCOMPARE(cUnixSignalManager::SetUpUnixHandler(), 0); }

    // A failed test may leave signals in the socket; they must not quit the next test's loop.
    void cleanup()
    {
        cHeavyProfile::DeleteInstance();
        DrainPendingSignals();
        for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1})
            std::signal(signalNumber, SIG_DFL);
    }

    void timesAreWrittenInUnits_data()
    {
        QTest::addColumn<bool>("nanoseconds");
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("ms zero") << false << qint64(0) << "0ms";
        QTest::newRow("ms skips units not reached")
            << false << qint64(10 * 604800000LL + 86400000 + 3 * 3600000LL + 42) << "10weeks 1days 3hours 42ms";
        QTest::newRow("ms negative") << false << qint64(-5) << "-5ms";
        QTest::newRow("ns minutes are the largest unit")
            << true << qint64(120 * 60000000000LL + 1000000000LL + 1000000LL + 1000LL + 5) << "120min 1sec 1ms 1us 5ns";
        QTest::newRow("ns negative") << true << qint64(-1500) << "-1500ns";
    }

    void timesAreWrittenInUnits()
    {
        QFETCH(bool, nanoseconds);
        QFETCH(qint64, time);
        QFETCH(QString, text);
        QCOMPARE(nanoseconds ? ConvertNanoSecondTimeToString(time) : ConvertLongTimeToString(time), text);
    }

    // The start time is taken inside Start(), so each duration is bounded by clock reads around it.
    void anEntryKeepsMinimumMaximumTotalAndLastDuration()
    {
        cHeavyProfileEntry entry;
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

    void eachThreadsEndClosesItsOwnStart()
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
        RunOnThreads(4, [&](int) {
            for (int round = 0; round < 500; ++round)
            {
                entry.Start();
                entry.End(Now());
            }
        });
        QCOMPARE(entry.GetStartCount(), 3 + 4 * 500);
        QVERIFY(entry.GetOpenThreads().isEmpty());
    }

    void endWithoutStartTracesAndChangesNothing()
    {
        cHeavyProfileEntry entry;
        cTraceCapture capture;
        entry.End(Now());
        QVERIFY(entry.Start());
        RunOnThreads(1, [&](int) { entry.End(Now()); });
        QCOMPARE(capture.Lines().size(), 2);
        QCOMPARE(capture.LinesContaining(QStringLiteral("ERROR: End called before start")).size(), 2);
        QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{QThread::currentThread()});
        QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
        QCOMPARE(entry.GetTotalDuration(), 0);
        QCOMPARE(entry.GetLastDuration(), 0);
    }

    void theProfilerIsSharedRemembersTheMainThreadAndIsOtherwiseSwitchedOff()
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
        QVERIFY(!workerIsMain && profile->IsMainThread());
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

    void terminationSignalQuitsTheRunningEventLoopOnce_data()
    {
        QTest::addColumn<int>("signalNumber");
        for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
            QTest::newRow(strsignal(signalNumber)) << signalNumber;
    }

    void terminationSignalQuitsTheRunningEventLoopOnce()
    {
        QFETCH(int, signalNumber);
        cUnixSignalManager relay;
        QTimer::singleShot(0, [signalNumber] { raise(signalNumber); });
        QCOMPARE(RunEventLoop(5000), 0);
        QCOMPARE(RunEventLoop(50), kTimedOut);
    }

    // The first arrives while no relay exists at all.
    void signalsBeforeTheLoopRunsAreNotLost()
    {
        raise(SIGTERM);
        cUnixSignalManager relay;
        raise(SIGINT);
        QCOMPARE(RunEventLoop(5000), 0);
        QCOMPARE(RunEventLoop(5000), 0);
        QCOMPARE(RunEventLoop(50), kTimedOut);
    }

    // Far more than the socket holds: a blocking write would hang this thread inside the handler.
    void floodOfSignalsNeitherBlocksTheHandlerNorChangesErrno()
    {
        constexpr int raised = 20000;
        for (int index = 0; index < raised; ++index)
        {
            errno = EDOM;
            raise(SIGTERM);
            if (errno != EDOM)
                QFAIL("the handler changed errno");
        }
        const int quits = DrainPendingSignals();
        QVERIFY(quits > 0);
        QVERIFY2(quits < raised, "signals beyond the socket's capacity are dropped");
    }

    void userSignalOneOrASpuriousActivationDoesNotQuit()
    {
        cUnixSignalManager relay;
        QTimer::singleShot(0, [] { raise(SIGUSR1); });
        QTimer::singleShot(0, &relay, &cUnixSignalManager::HandleSigInt);
        QCOMPARE(RunEventLoop(100), kTimedOut);
    }
};

QTEST_GUILESS_MAIN(tst_CommonUtilities)
#include "tst_CommonUtilities.moc"

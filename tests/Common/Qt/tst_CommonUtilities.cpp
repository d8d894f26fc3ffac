#include "Common/Qt/ConvertTimeToString.h"
#include "Common/Qt/cHeavyProfile.h"
#include "Common/Qt/cHeavyProfileEntry.h"
#include "Common/Qt/cUnixSignalManager.h"
#include "support/cTraceCapture.h"

#include <QDateTime>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

namespace
{
// The exit code of a loop that nothing quit in time; the relay's quit gives 0.
constexpr int kTimedOut = 99;

int RunEventLoop(int timeoutMs)
{
    QObject timeout;
    QTimer::singleShot(timeoutMs, &timeout, [] { QCoreApplication::exit(kTimedOut); });
    return QCoreApplication::exec();
}

void RunOnThread(const std::function<void()>& function)
{
    std::unique_ptr<QThread> thread(QThread::create(function));
    thread->start();
    thread->wait();
}
}

// The profiler and the signal relay, which the editor carries for a front end to use.
class tst_CommonUtilities : public QObject
{
    Q_OBJECT

private slots:
    void timesAreWrittenInUnits_data()
    {
        QTest::addColumn<bool>("nanoseconds");
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("every unit") << false << qint64(86400000 + 3600000 + 60000 + 1000 + 1) << "1days 1hours 1min 1sec 1ms";
        QTest::newRow("milliseconds only") << false << qint64(5) << "5ms";
        QTest::newRow("a week") << false << qint64(604800000) << "1weeks 0ms";
        QTest::newRow("ns") << true << qint64(1500) << "1us 500ns";
        QTest::newRow("ns minutes are the largest unit")
            << true << qint64(120 * 60000000000LL + 1000000000LL + 1000000LL + 7) << "120min 1sec 1ms 7ns";
    }
    void timesAreWrittenInUnits()
    {
        QFETCH(bool, nanoseconds);
        QFETCH(qint64, time);
        QTEST(nanoseconds ? ConvertNanoSecondTimeToString(time) : ConvertLongTimeToString(time), "text");
    }

    // A start while another thread's is open overlaps; each thread's end closes only its own start.
    void anEntryTimesEachThreadsOwnStart()
    {
        cHeavyProfileEntry entry;
        QThread* main = QThread::currentThread();
        QVERIFY(entry.Start());
        bool workerAlone = true;
        QList<QThread*> openBeforeEnd;
        RunOnThread([&] {
            workerAlone = entry.Start();
            openBeforeEnd = entry.GetOpenThreads();
            entry.End(QDateTime::currentMSecsSinceEpoch() + 1000);
        });
        QVERIFY(!workerAlone);
        QCOMPARE(openBeforeEnd.size(), 2);
        QCOMPARE(entry.GetOpenThreads(), QList<QThread*>{main});
        QCOMPARE(QList<qint64>({entry.GetOverlapCount(), entry.GetStartCount(), entry.GetThreadStartCount(main)}),
                 QList<qint64>({1, 2, 1}));
        QVERIFY(entry.GetLastDuration() >= 1000);
        entry.End(QDateTime::currentMSecsSinceEpoch());
        QVERIFY(entry.GetOpenThreads().isEmpty() && entry.GetMinimumDuration() < 1000);
        QCOMPARE(entry.GetTotalDuration(), entry.GetMinimumDuration() + entry.GetMaximumDuration());
    }
    void anEndWithoutAStartTracesAndChangesNothing()
    {
        cHeavyProfileEntry entry;
        const QStringList lines = cTraceCapture::Of([&] { entry.End(QDateTime::currentMSecsSinceEpoch()); });
        QCOMPARE(lines.filter("ERROR: End called before start").size(), 1);
        QCOMPARE(entry.GetMinimumDuration(), std::numeric_limits<qint64>::max());
        QCOMPARE(entry.GetTotalDuration() + entry.GetLastDuration(), 0);
    }
    void theProfilerIsOneAndSwitchedOff()
    {
        cHeavyProfile* profile = cHeavyProfile::Instance();
        cHeavyProfile* seen = nullptr;
        RunOnThread([&] { seen = cHeavyProfile::Instance(); });
        QCOMPARE(seen, profile);
        profile->SetMainThread();
        bool workerIsMain = true;
        RunOnThread([&] {
            profile->SetMainThread();
            workerIsMain = profile->IsMainThread();
        });
        QVERIFY(!workerIsMain && profile->IsMainThread());
        bool started = true;
        QString recorded;
        const QStringList lines = cTraceCapture::Of([&] {
            started = profile->Start("load");
            profile->End("load");
            profile->Print("load");
            recorded = profile->RecordConstructor("cWidget");
        });
        QVERIFY(!started && lines.isEmpty());
        QCOMPARE(recorded, QString("cWidget"));
        cHeavyProfile::DeleteInstance();
    }

    void terminationSignalsQuitTheRunningEventLoopOnce_data()
    {
        QTest::addColumn<int>("signalNumber");
        for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
            QTest::newRow(strsignal(signalNumber)) << signalNumber;
    }
    void terminationSignalsQuitTheRunningEventLoopOnce()
    {
        QFETCH(int, signalNumber);
        QCOMPARE(cUnixSignalManager::SetUpUnixHandler(), 0);
        cUnixSignalManager relay;
        QTimer::singleShot(0, [signalNumber] { raise(signalNumber); });
        QCOMPARE(RunEventLoop(5000), 0);
        QCOMPARE(RunEventLoop(50), kTimedOut);
    }
    void userSignalOneDoesNotQuit()
    {
        QCOMPARE(cUnixSignalManager::SetUpUnixHandler(), 0);
        cUnixSignalManager relay;
        QTimer::singleShot(0, [] { raise(SIGUSR1); });
        QCOMPARE(RunEventLoop(100), kTimedOut);
    }
};

QTEST_GUILESS_MAIN(tst_CommonUtilities)
#include "tst_CommonUtilities.moc"

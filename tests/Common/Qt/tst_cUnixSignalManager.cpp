#include "Common/Qt/cUnixSignalManager.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace
{
const int caughtSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1};
// The exit code of a loop that nothing quit in time; the relay's quit gives 0.
constexpr int timedOut = 99;

int RunEventLoop(int timeoutMs)
{
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(timedOut); });
    timeout.start(timeoutMs);
    return QCoreApplication::exec();
}

// Lets a relay quit one loop per waiting signal; returns how many it quit.
int DrainPendingSignals()
{
    cUnixSignalManager relay;
    int quits = 0;
    while (RunEventLoop(50) != timedOut)
        ++quits;
    return quits;
}
}

class tst_cUnixSignalManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void terminationSignalQuitsTheRunningEventLoopOnce_data();
    void terminationSignalQuitsTheRunningEventLoopOnce();
    void signalsBeforeTheLoopRunsAreNotLost();
    void floodOfSignalsNeitherBlocksTheHandlerNorChangesErrno();
    void userSignalOneOrASpuriousActivationDoesNotQuit();
};

void tst_cUnixSignalManager::init()
{
    QCOMPARE(cUnixSignalManager::SetUpUnixHandler(), 0);
}

void tst_cUnixSignalManager::cleanup()
{
    // A failed test may leave signals in the socket; they must not quit the next test's loop.
    DrainPendingSignals();
    for (int signalNumber : caughtSignals)
        std::signal(signalNumber, SIG_DFL);
}

void tst_cUnixSignalManager::terminationSignalQuitsTheRunningEventLoopOnce_data()
{
    QTest::addColumn<int>("signalNumber");
    for (int signalNumber : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
        QTest::newRow(strsignal(signalNumber)) << signalNumber;
}

void tst_cUnixSignalManager::terminationSignalQuitsTheRunningEventLoopOnce()
{
    QFETCH(int, signalNumber);
    cUnixSignalManager relay;
    QTimer::singleShot(0, [signalNumber] { raise(signalNumber); });
    QCOMPARE(RunEventLoop(5000), 0);
    QCOMPARE(RunEventLoop(50), timedOut);
}

void tst_cUnixSignalManager::signalsBeforeTheLoopRunsAreNotLost()
{
    // The first arrives while no relay exists at all.
    raise(SIGTERM);
    cUnixSignalManager relay;
    raise(SIGINT);
    QCOMPARE(RunEventLoop(5000), 0);
    QCOMPARE(RunEventLoop(5000), 0);
    QCOMPARE(RunEventLoop(50), timedOut);
}

void tst_cUnixSignalManager::floodOfSignalsNeitherBlocksTheHandlerNorChangesErrno()
{
    // Far more than the socket holds: a blocking write would hang this thread inside the handler.
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

void tst_cUnixSignalManager::userSignalOneOrASpuriousActivationDoesNotQuit()
{
    cUnixSignalManager relay;
    QTimer::singleShot(0, [] { raise(SIGUSR1); });
    QTimer::singleShot(0, &relay, &cUnixSignalManager::HandleSigInt);
    QCOMPARE(RunEventLoop(100), timedOut);
}

QTEST_GUILESS_MAIN(tst_cUnixSignalManager)
#include "tst_cUnixSignalManager.moc"

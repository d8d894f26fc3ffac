#include "Common/Qt/cUnitFinder.h"
#include "support/cDiscoveryResponder.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

// Discovery across a real broadcast link: two network namespaces joined by a
// veth pair, a responder (this program started with --respond) in the unit's,
// the finder in the client's.

namespace
{
bool Ip(const QStringList& arguments)
{
    return QProcess::execute("ip", arguments) == 0;
}

int RespondForever(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    sUnit unit;
    unit.mUnitName = "Veth Unit";
    unit.mFindName = "veth";
    unit.mUnitType = PemraDorvel;
    cDiscoveryResponder responder(unit);
    if (!responder.Listen(QHostAddress::AnyIPv4, kDiscoveryProbePort))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

// Everything the test sets up, taken down again however the test ends.
struct sTwoNamespaces
{
    const QString mUnit = QString("kvu%1").arg(getpid());
    const QString mClient = QString("kvc%1").arg(getpid());
    QProcess mResponder;
    int mOwnNamespace = -1;

    ~sTwoNamespaces()
    {
        ReturnHome();
        mResponder.kill();
        mResponder.waitForFinished(3000);
        Ip({"netns", "del", mUnit});
        Ip({"netns", "del", mClient});
    }

    bool Create()
    {
        const QString a = mUnit + "a";
        const QString b = mClient + "b";
        return Ip({"netns", "add", mUnit}) && Ip({"netns", "add", mClient}) &&
               Ip({"link", "add", a, "type", "veth", "peer", "name", b}) && Ip({"link", "set", a, "netns", mUnit}) &&
               Ip({"link", "set", b, "netns", mClient}) &&
               Ip({"-n", mUnit, "addr", "add", "10.213.0.1/24", "broadcast", "+", "dev", a}) &&
               Ip({"-n", mClient, "addr", "add", "10.213.0.2/24", "broadcast", "+", "dev", b}) &&
               Ip({"-n", mUnit, "link", "set", a, "up"}) && Ip({"-n", mClient, "link", "set", b, "up"});
    }

    bool StartResponder()
    {
        mResponder.start("ip", {"netns", "exec", mUnit, QCoreApplication::applicationFilePath(), "--respond"});
        return mResponder.waitForReadyRead(5000) && mResponder.readLine().trimmed() == "ready";
    }

    // Threads started from now on (the finder's) open their sockets in the client's namespace.
    bool EnterClient()
    {
        mOwnNamespace = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const int client = open(qPrintable("/run/netns/" + mClient), O_RDONLY | O_CLOEXEC);
        const bool entered = mOwnNamespace >= 0 && client >= 0 && setns(client, CLONE_NEWNET) == 0;
        if (client >= 0)
            close(client);
        return entered;
    }

    void ReturnHome()
    {
        if (mOwnNamespace >= 0)
        {
            setns(mOwnNamespace, CLONE_NEWNET);
            close(mOwnNamespace);
            mOwnNamespace = -1;
        }
    }
};
}

class tst_cUnitFinderNetns : public QObject
{
    Q_OBJECT

private slots:
    void findsAUnitInAnotherNamespaceByBroadcast();
};

void tst_cUnitFinderNetns::findsAUnitInAnotherNamespaceByBroadcast()
{
    if (geteuid() != 0)
        QSKIP("Creating network namespaces needs root");
    if (!Ip({"netns", "list"}))
        QSKIP("The ip tool cannot manage network namespaces here");

    sTwoNamespaces namespaces;
    QVERIFY2(namespaces.Create(), "Could not build the two namespaces and their veth pair");
    QVERIFY2(namespaces.StartResponder(), "The responder did not start in the unit's namespace");
    QVERIFY(namespaces.EnterClient());
    // Program defaults: the fixed ports, broadcast on every interface that can.
    cUnitFinder finder;
    namespaces.ReturnHome();
    QSignalSpy announced(&finder, &cUnitFinder::UnitAnnounced);
    finder.Start();
    QTRY_VERIFY_WITH_TIMEOUT(!announced.isEmpty(), 10000);
    const sUnit unit = announced.first().first().value<sUnit>();
    QCOMPARE(unit.mIpAddress, QString("10.213.0.1"));
    QCOMPARE(unit.mUnitName, QString("Veth Unit"));
    QCOMPARE(unit.mUnitType, PemraDorvel);
}

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--respond") == 0)
        return RespondForever(argc, argv);
    QCoreApplication app(argc, argv);
    tst_cUnitFinderNetns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cUnitFinderNetns.moc"

#include "Common/Qt/cDiscoveryDatagram.h"
#include "Common/Qt/cUnitFinder.h"
#include "support/cDiscoveryResponder.h"

#include <QProcess>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <utility>

namespace
{
sUnit MakeUnit(const QString& name, eUnitType type = HalvorDorvel)
{
    sUnit unit;
    unit.mUnitName = name;
    unit.mFindName = name + " find";
    unit.mInformation = "Rack 3, firmware 2.1";
    unit.mUnitType = type;
    return unit;
}

QByteArray Announced(const QString& name, const QString& information)
{
    sUnit unit = MakeUnit(name, PemraDorvel);
    unit.mInformation = information;
    return cDiscoveryDatagram::Announcement(unit);
}

QString Text(std::initializer_list<uint> codePoints)
{
    const QVector<uint> units(codePoints);
    return QString::fromUcs4(units.constData(), units.size());
}

QByteArray WithByte(QByteArray datagram, int index, char value)
{
    datagram[index] = value;
    return datagram;
}

// Runs the ip tool quietly; what it says on failure goes to refusal.
bool Ip(const QStringList& arguments, QString* refusal = nullptr)
{
    QProcess ip;
    ip.start("ip", arguments);
    const bool done = ip.waitForFinished(10000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
    if (!done && refusal)
    {
        const QString said = QString::fromLocal8Bit(ip.readAllStandardError()).trimmed();
        *refusal = said.isEmpty() ? ip.errorString() : said;
    }
    return done;
}

// Two network namespaces joined by a veth pair: a responder (this program started with --respond)
// in the unit's, the finder's sockets in the client's; taken down again however the test ends.
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
    // Makes the first namespace; false, with ip's reason, where this machine lets no one here make one.
    bool Allowed(QString& refusal) { return Ip({"netns", "add", mUnit}, &refusal); }
    bool Create()
    {
        const QString a = mUnit + "a";
        const QString b = mClient + "b";
        return Ip({"netns", "add", mClient}) &&
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
        if (mOwnNamespace < 0)
            return;
        setns(mOwnNamespace, CLONE_NEWNET);
        close(mOwnNamespace);
        mOwnNamespace = -1;
    }
};
}

class tst_cUnitFinder : public QObject
{
    Q_OBJECT

private slots:
    void announcementsAreReadPlainAndBoundedOrRejected_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("shownName"); // none: rejected, the unit left untouched
        QTest::addColumn<QString>("shownInformation");
        const QString rlo(QChar(0x202E)), zeroWidth(QChar(0x200B)), nul(QChar(0)), bell(QChar(7));
        const QByteArray good = Announced("Stage", "Rack 3");
        QTest::newRow("plain, in UTF-8") << Announced("Bühne Süd", "Rack 3") << "Bühne Süd" << "Rack 3";
        QTest::newRow("bidirectional override") << Announced("Stage" + rlo + "A", "") << "StageA" << "";
        QTest::newRow("NUL and bell") << Announced("Sta" + nul + "ge" + bell, "") << "Stage" << "";
        QTest::newRow("zero-width space and line separator")
            << Announced(zeroWidth + "Stage" + QChar(0x2028), "") << "Stage" << "";
        QTest::newRow("information keeps line feeds and tabs")
            << Announced("Stage", "a\nb\tc" + rlo + "d" + bell) << "Stage" << "a\nb\tcd";
        QTest::newRow("long information is cut") << Announced("Stage", QString(60000, 'i')) << "Stage" << QString(1024, 'i');
        QTest::newRow("tag characters beyond the basic plane")
            << Announced("Stage Left" + Text({0xE0001, 0xE0053, 0xE004C, 0xE007F}), "") << "Stage Left" << "";
        QTest::newRow("invisible musical formatting") << Announced("Stage" + Text({0x1D173, 0x1D17A}) + "Left", "")
                                                      << "StageLeft" << "";
        QTest::newRow("invisible letters, joiners and selectors")
            << Announced("Sta" + Text({0x34F, 0xFE00, 0xFE0F, 0x115F, 0x1160, 0x3164, 0xFFA0}) + "ge" +
                             Text({0x17B4, 0x17B5, 0x180B, 0xE0100}), "")
            << "Stage" << "";
        // Characters, not UTF-16 units: the last one kept is a whole pair.
        QTest::newRow("long information is cut between characters")
            << Announced("Stage", QString(1023, 'i') + Text({0x1F3B5, 0x1F3B6})) << "Stage"
            << QString(1023, 'i') + Text({0x1F3B5});
        QTest::newRow("unassigned, drawn as nothing") << Announced("Stage" + Text({0x2065}), "") << "Stage" << "";
        QTest::newRow("blanks inside a name") << Announced(" Stage" + Text({0x3000, 0x2800}) + "Left ", "")
                                              << " Stage" + Text({0x3000, 0x2800}) + "Left " << "";
        QTest::newRow("nothing visible in the name") << Announced(rlo + zeroWidth + nul + Text({0x3164, 0xE0041}), "x") << "" << "";
        QTest::newRow("empty name") << Announced("", "x") << "" << "";
        QTest::newRow("only spaces") << Announced("   ", "x") << "" << "";
        QTest::newRow("only blanks") << Announced(Text({0xA0, 0x2003, 0x3000, 0x2800, 0x202F}), "x") << "" << "";
        QTest::newRow("blanks around what is drawn as nothing") << Announced(" " + Text({0x2065, 0x3000}), "x") << "" << "";
        QTest::newRow("probe") << cDiscoveryDatagram::Probe() << "" << "";
        QTest::newRow("other magic") << WithByte(good, 0, 'X') << "" << "";
        QTest::newRow("other version") << WithByte(good, 4, 2) << "" << "";
        QTest::newRow("unknown unit type") << WithByte(good, 6, 3) << "" << "";
        QTest::newRow("name longer than datagram") << WithByte(good, 7, char(250)) << "" << "";
        QTest::newRow("truncated") << good.left(good.size() - 1) << "" << "";
        QTest::newRow("trailing byte") << good + QByteArray(1, '\0') << "" << "";
    }

    // Two units cannot look alike through characters that are not seen, and no unit holds much text.
    void announcementsAreReadPlainAndBoundedOrRejected()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, shownName);
        QFETCH(QString, shownInformation);
        sUnit unit = MakeUnit("untouched", HalvorDorvel);
        unit.mIpAddress = "10.0.0.7";
        const bool read = !shownName.isEmpty();
        QCOMPARE(cDiscoveryDatagram::ReadAnnouncement(datagram, unit), read);
        QCOMPARE(unit.mUnitName, read ? shownName : QString("untouched"));
        QCOMPARE(unit.mFindName, unit.mUnitName + " find");
        QCOMPARE(unit.mInformation, read ? shownInformation : QString("Rack 3, firmware 2.1"));
        QCOMPARE(unit.mUnitType, read ? PemraDorvel : HalvorDorvel);
        QCOMPARE(unit.mIpAddress, QString("10.0.0.7"));
    }

    void everyCodePointThatMayBeDrawnAsNothingIsRemoved_data()
    {
        QTest::addColumn<uint>("first");
        QTest::addColumn<uint>("last");
        // Unicode's Default_Ignorable_Code_Point, range by range.
        const std::pair<uint, uint> ranges[] = {
            {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x061C, 0x061C}, {0x115F, 0x1160}, {0x17B4, 0x17B5},
            {0x180B, 0x180F}, {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x206F}, {0x3164, 0x3164},
            {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3},
            {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF}};
        for (const auto& range : ranges)
            QTest::addRow("U+%04X to U+%04X", range.first, range.second) << range.first << range.second;
    }

    // Each code point of the range, in the name and in the information; a name of nothing else names no unit.
    void everyCodePointThatMayBeDrawnAsNothingIsRemoved()
    {
        QFETCH(uint, first);
        QFETCH(uint, last);
        sUnit unit;
        for (uint c = first; c <= last; ++c)
        {
            const QByteArray datagram = Announced("Sta" + Text({c}) + "ge", "Ra" + Text({c}) + "ck");
            const bool read = cDiscoveryDatagram::ReadAnnouncement(datagram, unit);
            QVERIFY2(read && unit.mUnitName == "Stage" && unit.mInformation == "Rack", qPrintable(QString::number(c, 16)));
        }
        QVERIFY(!cDiscoveryDatagram::ReadAnnouncement(Announced(Text({first, last}), "x"), unit));
    }

    void malformedDatagramsAreIgnoredAndLaterUnitsStillFound()
    {
        sUnitFinderSettings settings;
        settings.mProbePort = cDiscoveryResponder::FreeUdpPort();
        settings.mAnnouncementPort = cDiscoveryResponder::FreeUdpPort();
        settings.mFixedTargets = {QHostAddress(QHostAddress::LocalHost)};
        cUnitFinder finder(settings);
        QSignalSpy announced(&finder, &cUnitFinder::UnitAnnounced);
        finder.Start();
        QUdpSocket sender;
        const QByteArray good = cDiscoveryDatagram::Announcement(MakeUnit("After"));
        // Offset 24 is the high byte of the information length, which then runs far past the end.
        const QByteArray junk[] = {QByteArray(), QByteArray(3000, '\xff'), good.left(9), WithByte(good, 24, '\x7f')};
        // The finder binds on its own thread; resend until the good one gets through.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QByteArray& datagram : junk)
                    sender.writeDatagram(datagram, QHostAddress::LocalHost, settings.mAnnouncementPort);
                sender.writeDatagram(good, QHostAddress::LocalHost, settings.mAnnouncementPort);
                return !announced.isEmpty();
            }(),
            10000);
        for (const QList<QVariant>& arguments : qAsConst(announced))
            QCOMPARE(arguments.first().value<sUnit>().mUnitName, QString("After"));
        QCOMPARE(announced.first().first().value<sUnit>().mIpAddress, QString("127.0.0.1"));
    }

    // With the program's defaults: the fixed ports, broadcast on every interface that can.
    void findsAUnitInAnotherNamespaceByBroadcast()
    {
        // Root inside a user namespace of its own (how an ordinary user runs the tests) may not mount /run/netns.
        sTwoNamespaces namespaces;
        QString refusal;
        if (!namespaces.Allowed(refusal))
            QSKIP(qPrintable("Needs network namespaces, which cannot be made here: " + refusal));
        QVERIFY2(namespaces.Create(), "Could not build the two namespaces and their veth pair");
        QVERIFY2(namespaces.StartResponder(), "The responder did not start in the unit's namespace");
        QVERIFY(namespaces.EnterClient());
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
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--respond") == 0)
    {
        cDiscoveryResponder responder(MakeUnit("Veth Unit", PemraDorvel));
        if (!responder.Listen(QHostAddress::AnyIPv4, kDiscoveryProbePort))
            return 1;
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    tst_cUnitFinder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cUnitFinder.moc"

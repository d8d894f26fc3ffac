#include "Common/Qt/cDiscoveryDatagram.h"
#include "Common/Qt/cUnitFinder.h"

#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

namespace
{
sUnit MakeUnit(const QString& name)
{
    sUnit unit;
    unit.mUnitName = name;
    unit.mFindName = name + " find";
    unit.mInformation = "Rack 3, firmware 2.1";
    unit.mUnitType = HalvorDorvel;
    return unit;
}

quint16 FreeUdpPort()
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return socket.localPort();
}

QByteArray WithByte(QByteArray datagram, int index, char value)
{
    datagram[index] = value;
    return datagram;
}
}

class tst_cUnitFinder : public QObject
{
    Q_OBJECT

private slots:
    void announcementKeepsEveryField();
    void malformedAnnouncementsAreRejected_data();
    void malformedAnnouncementsAreRejected();
    void textsAreMadePlainAndBounded_data();
    void textsAreMadePlainAndBounded();
    void malformedDatagramsAreIgnoredAndLaterUnitsStillFound();
};

void tst_cUnitFinder::announcementKeepsEveryField()
{
    sUnit sent = MakeUnit(QString::fromUtf8("Bühne Süd"));
    sent.mUnitType = PemraDorvel;
    sUnit received;
    received.mIpAddress = "10.0.0.7";
    QVERIFY(cDiscoveryDatagram::ReadAnnouncement(cDiscoveryDatagram::Announcement(sent), received));
    QCOMPARE(received.mUnitName, sent.mUnitName);
    QCOMPARE(received.mFindName, sent.mFindName);
    QCOMPARE(received.mInformation, sent.mInformation);
    QCOMPARE(received.mUnitType, PemraDorvel);
    QCOMPARE(received.mIpAddress, QString("10.0.0.7"));
}

void tst_cUnitFinder::malformedAnnouncementsAreRejected_data()
{
    const QByteArray good = cDiscoveryDatagram::Announcement(MakeUnit("Stage"));
    sUnit noName = MakeUnit("");
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("probe") << cDiscoveryDatagram::Probe();
    QTest::newRow("other magic") << WithByte(good, 0, 'X');
    QTest::newRow("other version") << WithByte(good, 4, 2);
    QTest::newRow("unknown unit type") << WithByte(good, 6, 3);
    QTest::newRow("empty unit name") << cDiscoveryDatagram::Announcement(noName);
    QTest::newRow("name longer than datagram") << WithByte(good, 7, char(250));
    QTest::newRow("truncated") << good.left(good.size() - 1);
    QTest::newRow("trailing byte") << good + QByteArray(1, '\0');
}

void tst_cUnitFinder::malformedAnnouncementsAreRejected()
{
    QFETCH(QByteArray, datagram);
    sUnit unit = MakeUnit("untouched");
    QVERIFY(!cDiscoveryDatagram::ReadAnnouncement(datagram, unit));
    QCOMPARE(unit.mUnitName, QString("untouched"));
}

void tst_cUnitFinder::textsAreMadePlainAndBounded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("information");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("shownInformation");
    const QString rlo(QChar(0x202E));
    const QString zeroWidth(QChar(0x200B));
    const QString nul(QChar(0));
    const QString bell(QChar(7));
    const QString lineSeparator(QChar(0x2028));
    QTest::newRow("plain") << "Stage" << "Rack 3" << "Stage" << "Rack 3";
    QTest::newRow("bidirectional override") << "Stage" + rlo + "A" << "" << "StageA" << "";
    QTest::newRow("NUL and bell") << "Sta" + nul + "ge" + bell << "" << "Stage" << "";
    QTest::newRow("zero-width space and line separator") << zeroWidth + "Stage" + lineSeparator << "" << "Stage" << "";
    QTest::newRow("nothing visible: ignored") << rlo + zeroWidth + nul << "x" << "" << "";
    QTest::newRow("information keeps line feeds and tabs")
        << "Stage" << "a\nb\tc" + rlo + "d" + bell << "Stage" << "a\nb\tcd";
    QTest::newRow("long information is cut") << "Stage" << QString(60000, 'i') << "Stage" << QString(1024, 'i');
}

// Two units cannot look alike through characters that are not seen, and no unit holds much text.
void tst_cUnitFinder::textsAreMadePlainAndBounded()
{
    QFETCH(QString, name);
    QFETCH(QString, information);
    QFETCH(QString, shownName);
    QFETCH(QString, shownInformation);
    sUnit sent = MakeUnit(name);
    sent.mInformation = information;
    sUnit received;
    QCOMPARE(cDiscoveryDatagram::ReadAnnouncement(cDiscoveryDatagram::Announcement(sent), received),
             !shownName.isEmpty());
    if (shownName.isEmpty())
        return;
    QCOMPARE(received.mUnitName, shownName);
    QCOMPARE(received.mFindName, shownName + " find");
    QCOMPARE(received.mInformation, shownInformation);
}

void tst_cUnitFinder::malformedDatagramsAreIgnoredAndLaterUnitsStillFound()
{
    sUnitFinderSettings settings;
    settings.mProbePort = FreeUdpPort();
    settings.mAnnouncementPort = FreeUdpPort();
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
        5000);
    for (const QList<QVariant>& arguments : qAsConst(announced))
        QCOMPARE(arguments.first().value<sUnit>().mUnitName, QString("After"));
    QCOMPARE(announced.first().first().value<sUnit>().mIpAddress, QString("127.0.0.1"));
}

QTEST_GUILESS_MAIN(tst_cUnitFinder)
#include "tst_cUnitFinder.moc"

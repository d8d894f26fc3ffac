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

#include "Common/Qt/cDiscoveryDatagram.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cDiscoveryResponder.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace
{
sUnit MakeUnit(const QString& name, const QString& information = "first")
{
    sUnit unit;
    unit.mUnitName = name;
    unit.mFindName = name.toLower();
    unit.mInformation = information;
    return unit;
}

quint16 FreeUdpPort()
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return socket.localPort();
}
}

class tst_cConnectionInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(mSettingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsDir.path());
        QCoreApplication::setOrganizationName("KelvariTests");
        QCoreApplication::setApplicationName("tst_cConnectionInterface");
    }
    // Two units answer probes on 127.0.0.1 and 127.0.0.2, and accept connections on mUnitPort.
    void init()
    {
        QSettings().clear();
        mProbePort = FreeUdpPort();
        mFirst = std::make_unique<cDiscoveryResponder>(MakeUnit("Alpha"));
        mSecond = std::make_unique<cDiscoveryResponder>(MakeUnit("Beta"));
        QVERIFY(mFirst->Listen(QHostAddress("127.0.0.1"), mProbePort));
        QVERIFY(mSecond->Listen(QHostAddress("127.0.0.2"), mProbePort));
        QVERIFY(mUnitServer.listen(QHostAddress::AnyIPv4, 0));
        mUnitPort = mUnitServer.serverPort();
    }
    void cleanup()
    {
        mFirst.reset();
        mSecond.reset();
        mUnitServer.close();
    }

    void unitListHoldsEachUnitOnceAndFollowsItsAnnouncements();
    void aFullUnitListGivesTheLongestSilentPlaceAway();
    void badAddressFailsLaterWithAReadableReason_data();
    void badAddressFailsLaterWithAReadableReason();
    void attemptsThatCannotSucceedFailAfterTheCallWithinTheTimeLimit();
    void connectsToAListedUnitAndRemembersIt();
    void networkSignalsEndTheConnectionOnlyWhileFollowed();
    void padTo2GivesAtLeastTwoDigits();

private:
    std::unique_ptr<cConnectionInterface> MakeInterface()
    {
        sUnitFinderSettings discovery;
        discovery.mProbePort = mProbePort;
        discovery.mAnnouncementPort = mAnnouncementPort = FreeUdpPort();
        discovery.mFixedTargets = {QHostAddress("127.0.0.1"), QHostAddress("127.0.0.2")};
        discovery.mProbeIntervalMs = 100;
        return std::make_unique<cConnectionInterface>(false, nullptr, discovery, mUnitPort);
    }
    bool ConnectToListedUnit(cConnectionInterface& connection, const QString& name)
    {
        QSignalSpy succeeded(&connection, &cConnectionInterface::connectionAttemptSuccessful);
        connection.connectToUnitName(name);
        return succeeded.wait(5000) && connection.connected();
    }

    QTemporaryDir mSettingsDir;
    quint16 mProbePort = 0;
    quint16 mAnnouncementPort = 0;
    quint16 mUnitPort = 0;
    QTcpServer mUnitServer;
    std::unique_ptr<cDiscoveryResponder> mFirst;
    std::unique_ptr<cDiscoveryResponder> mSecond;
};

void tst_cConnectionInterface::unitListHoldsEachUnitOnceAndFollowsItsAnnouncements()
{
    auto connection = MakeInterface();
    auto* units = connection->Units();
    QTRY_COMPARE_WITH_TIMEOUT(units->count(), 2, 5000);
    const QSet<QString> names{connection->getUnitName(0), connection->getUnitName(1)};
    QCOMPARE(names, (QSet<QString>{"Alpha", "Beta"}));
    QCOMPARE(connection->getUnitName(2), QString());
    // Repeated announcements of the same units add nothing.
    const int answered = mFirst->ProbesAnswered();
    QTRY_VERIFY_WITH_TIMEOUT(mFirst->ProbesAnswered() >= answered + 3, 5000);
    QCOMPARE(units->count(), 2);

    cQmlUnit* alpha = units->At(connection->getUnitName(0) == "Alpha" ? 0 : 1);
    QCOMPARE(alpha->ipAddress(), QString("127.0.0.1"));
    QSignalSpy informationChanged(alpha, &cQmlUnit::informationChanged);
    mFirst->SetUnit(MakeUnit("Alpha", "second"));
    QTRY_COMPARE_WITH_TIMEOUT(alpha->information(), QString("second"), 5000);
    QCOMPARE(informationChanged.size(), 1);
    QCOMPARE(units->count(), 2);
}

void tst_cConnectionInterface::aFullUnitListGivesTheLongestSilentPlaceAway()
{
    auto connection = MakeInterface();
    QTRY_COMPARE_WITH_TIMEOUT(connection->Units()->count(), 2, 5000);
    // Units heard once each from addresses of their own, while Alpha and Beta answer every probe.
    const int count = kDiscoveryMaxUnits + 44;
    QUdpSocket sender;
    for (int i = 0; i < count; ++i)
    {
        QUdpSocket socket;
        QVERIFY(socket.bind(QHostAddress(QString("127.0.%1.%2").arg(1 + i / 200).arg(1 + i % 200)), 0));
        socket.writeDatagram(cDiscoveryDatagram::Announcement(MakeUnit(QString("Unit %1").arg(i))),
                             QHostAddress::LocalHost, mAnnouncementPort);
        if (i % 20 == 19)
            QTest::qWait(10);
    }
    const auto names = [&] {
        QStringList listed;
        for (int i = 0; i < connection->Units()->count(); ++i)
            listed << connection->getUnitName(i);
        return listed;
    };
    QTRY_VERIFY_WITH_TIMEOUT(names().contains(QString("Unit %1").arg(count - 1)), 5000);
    QCOMPARE(connection->Units()->count(), kDiscoveryMaxUnits);
    QVERIFY(names().contains("Alpha") && names().contains("Beta"));
    QVERIFY(!names().contains("Unit 0"));
}

void tst_cConnectionInterface::badAddressFailsLaterWithAReadableReason_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << "";
    QTest::newRow("octet too large") << "192.168.1.300";
    QTest::newRow("ipv6") << "::1";
}

void tst_cConnectionInterface::badAddressFailsLaterWithAReadableReason()
{
    QFETCH(QString, address);
    auto connection = MakeInterface();
    QSignalSpy failed(connection.get(), &cConnectionInterface::connectionAttemptFailed);
    QSignalSpy succeeded(connection.get(), &cConnectionInterface::connectionAttemptSuccessful);
    connection->connectToHostByIpAddress(address);
    QCOMPARE(failed.size(), 0);  // never inside the call
    QVERIFY(failed.wait(1000));
    QCOMPARE(connection->connectionFailureReason(), QString("\"%1\" is not a valid IP address").arg(address));
    QCOMPARE(succeeded.size(), 0);
}

void tst_cConnectionInterface::attemptsThatCannotSucceedFailAfterTheCallWithinTheTimeLimit()
{
    // Nothing listens on the port once the server has given it back.
    mUnitServer.close();
    auto connection = MakeInterface();
    QSignalSpy failed(connection.get(), &cConnectionInterface::connectionAttemptFailed);
    connection->connectToUnitName("Nowhere");
    QVERIFY(failed.wait(1000));
    QCOMPARE(connection->connectionFailureReason(), QString("No unit named \"Nowhere\" has been found on the network"));
    connection->connectToUnit(7);
    QVERIFY(failed.wait(1000));
    QCOMPARE(connection->connectionFailureReason(), QString("There is no unit at position 8 of the list"));
    QCOMPARE(QSettings().value(cConnectionInterface::kLastUnitNameKey), QVariant());

    // No route from this namespace: the socket fails at once, the report still comes later.
    connection->connectToHostByIpAddress("10.1.2.3");
    QCOMPARE(failed.size(), 2);
    QVERIFY(failed.wait(cConnectionInterface::kReachabilityTimeoutMs + 1000));
    QVERIFY(connection->connectionFailureReason().contains("10.1.2.3"));

    QElapsedTimer elapsed;
    elapsed.start();
    connection->connectToHostByIpAddress(" 127.0.0.1 ");
    QVERIFY(failed.wait(cConnectionInterface::kReachabilityTimeoutMs + 1000));
    QVERIFY(elapsed.elapsed() <= cConnectionInterface::kReachabilityTimeoutMs + 500);
    QCOMPARE(connection->connectionFailureReason(), QString("The unit at 127.0.0.1 refused the connection"));
    QCOMPARE(connection->getHostIPAddress(), QString("127.0.0.1"));
}

void tst_cConnectionInterface::connectsToAListedUnitAndRemembersIt()
{
    auto connection = MakeInterface();
    QTRY_COMPARE_WITH_TIMEOUT(connection->Units()->count(), 2, 5000);
    const int betaIndex = connection->getUnitName(0) == "Beta" ? 0 : 1;

    QSignalSpy connectedChanged(connection.get(), &cConnectionInterface::connectedChanged);
    QSignalSpy succeeded(connection.get(), &cConnectionInterface::connectionAttemptSuccessful);
    connection->connectToUnit(betaIndex);
    QVERIFY(succeeded.wait(5000));
    QVERIFY(connection->connected());
    QCOMPARE(connectedChanged.size(), 1);
    QCOMPARE(connection->HostText(), QByteArray("127.0.0.2"));

    // Asking again for the unit already connected keeps the connection and still answers.
    connection->connectToHostByIpAddress("127.0.0.2");
    QVERIFY(succeeded.wait(1000));
    QCOMPARE(connectedChanged.size(), 1);
    QVERIFY(connection->connected());

    // Remembered across runs.
    connection.reset();
    QCOMPARE(QSettings().value("LUN").toString(), QString("Beta"));
    QCOMPARE(QSettings().value("LUI").toInt(), betaIndex);
    const auto restored = MakeInterface();
    QCOMPARE(restored->lastUnitName(), QString("Beta"));
    QCOMPARE(restored->lastUnitIndex(), betaIndex);
}

void tst_cConnectionInterface::networkSignalsEndTheConnectionOnlyWhileFollowed()
{
    cNetworkConnection::AllowInstanceOf(true);
    cNetworkConnection* network = cNetworkConnection::Instance();
    QVERIFY(network);
    auto connection = MakeInterface();
    connection->SetZRNetNetworkConnection(network);
    QTRY_COMPARE_WITH_TIMEOUT(connection->Units()->count(), 2, 5000);

    QVERIFY(ConnectToListedUnit(*connection, "Alpha"));
    QString reasonWhenLost;
    connect(connection.get(), &cConnectionInterface::connectedChanged, this,
            [&] { reasonWhenLost = connection->connectionFailureReason(); });
    emit network->LostCommunications(1);
    QTRY_VERIFY(!connection->connected());
    QCOMPARE(reasonWhenLost, QString("Communication with the unit was lost"));

    QVERIFY(ConnectToListedUnit(*connection, "Alpha"));
    QCOMPARE(connection->connectionFailureReason(), QString());
    emit network->Disconnected(1);
    QTRY_VERIFY(!connection->connected());
    QCOMPARE(reasonWhenLost, QString("The unit closed the connection"));

    // A low time-to-live warning checks the unit again: still there, it stays
    // connected, and silent until it answers again.
    QVERIFY(ConnectToListedUnit(*connection, "Alpha"));
    emit network->TimeToLiveLow(1);
    QTRY_VERIFY(connection->unitSilent());
    QTest::qWait(300);
    QVERIFY(connection->connected() && connection->unitSilent());
    emit network->TimeToLiveRestored(1);
    QTRY_VERIFY(!connection->unitSilent());
    mUnitServer.close();
    emit network->TimeToLiveLow(1);
    QTRY_VERIFY(connection->unitSilent());
    QTRY_VERIFY_WITH_TIMEOUT(!connection->connected(), cConnectionInterface::kReachabilityTimeoutMs + 1000);
    QCOMPARE(reasonWhenLost, QString("The unit at 127.0.0.1 refused the connection"));
    QVERIFY(!connection->unitSilent());

    QVERIFY(mUnitServer.listen(QHostAddress::AnyIPv4, mUnitPort));
    connection->SetZRNetNetworkConnection(nullptr);
    QVERIFY(ConnectToListedUnit(*connection, "Alpha"));
    emit network->LostCommunications(1);
    emit network->Disconnected(1);
    QTest::qWait(50);
    QVERIFY(connection->connected());

    cNetworkConnection::DeleteInstance();
}

void tst_cConnectionInterface::padTo2GivesAtLeastTwoDigits()
{
    const auto connection = MakeInterface();
    QCOMPARE(connection->padTo2(7), QString("07"));
    QCOMPARE(connection->padTo2(100), QString("100"));
    QCOMPARE(connection->padTo2(-3), QString("-03"));
}

QTEST_GUILESS_MAIN(tst_cConnectionInterface)
#include "tst_cConnectionInterface.moc"

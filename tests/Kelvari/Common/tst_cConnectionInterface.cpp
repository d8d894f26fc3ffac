#include "Common/Qt/cDiscoveryDatagram.h"
#include "Common/Qt/cReachabilityProbe.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cDiscoveryResponder.h"

#include <QSettings>
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

    QTemporaryDir mSettingsDir;
    quint16 mProbePort = 0;
    quint16 mAnnouncementPort = 0;
    quint16 mUnitPort = 0;
    QTcpServer mUnitServer;
    std::unique_ptr<cDiscoveryResponder> mFirst;
    std::unique_ptr<cDiscoveryResponder> mSecond;

    std::unique_ptr<cConnectionInterface> MakeInterface()
    {
        sUnitFinderSettings discovery;
        discovery.mProbePort = mProbePort;
        discovery.mAnnouncementPort = mAnnouncementPort = FreeUdpPort();
        discovery.mFixedTargets = {QHostAddress("127.0.0.1"), QHostAddress("127.0.0.2")};
        discovery.mProbeIntervalMs = 100;
        return std::make_unique<cConnectionInterface>(false, nullptr, discovery, mUnitPort);
    }
    // The interface once both units are listed, and the position of the named one.
    std::unique_ptr<cConnectionInterface> MakeListingInterface(const QString& name, int* index = nullptr)
    {
        auto connection = MakeInterface();
        if (QTest::qWaitFor([&] { return connection->Units()->count() == 2; }, 5000) && index)
            *index = connection->getUnitName(0) == name ? 0 : 1;
        return connection;
    }
    bool ConnectToListedUnit(cConnectionInterface& connection, const QString& name)
    {
        QSignalSpy succeeded(&connection, &cConnectionInterface::connectionAttemptSuccessful);
        connection.connectToUnitName(name);
        return succeeded.wait(5000) && connection.connected();
    }

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
    void unitListHoldsEachUnitOnceAndFollowsItsAnnouncements()
    {
        int alphaIndex = -1;
        auto connection = MakeListingInterface("Alpha", &alphaIndex);
        auto* units = connection->Units();
        QCOMPARE((QSet<QString>{connection->getUnitName(0), connection->getUnitName(1)}), (QSet<QString>{"Alpha", "Beta"}));
        QCOMPARE(connection->getUnitName(2), QString());
        // Repeated announcements of the same units add nothing.
        const int answered = mFirst->ProbesAnswered();
        QTRY_VERIFY_WITH_TIMEOUT(mFirst->ProbesAnswered() >= answered + 3, 5000);
        QCOMPARE(units->count(), 2);
        cQmlUnit* alpha = units->At(alphaIndex);
        QCOMPARE(alpha->ipAddress(), QString("127.0.0.1"));
        QSignalSpy informationChanged(alpha, &cQmlUnit::informationChanged);
        mFirst->SetUnit(MakeUnit("Alpha", "second"));
        QTRY_COMPARE_WITH_TIMEOUT(alpha->information(), QString("second"), 5000);
        QCOMPARE(informationChanged.size(), 1);
        QCOMPARE(units->count(), 2);
    }
    void aFullUnitListGivesTheLongestSilentPlaceAway()
    {
        auto connection = MakeListingInterface("Alpha");
        // Units heard once each from addresses of their own, while Alpha and Beta answer every probe.
        const int count = kDiscoveryMaxUnits + 44;
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
        QVERIFY(names().contains("Alpha") && names().contains("Beta") && !names().contains("Unit 0"));
    }
    // Never inside the call, and with a reason a user can read.
    void attemptsThatCannotSucceedFailAfterTheCall_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << "" << "\"\" is not a valid IP address";
        QTest::newRow("octet too large") << "192.168.1.300" << "\"192.168.1.300\" is not a valid IP address";
        QTest::newRow("ipv6") << "::1" << "\"::1\" is not a valid IP address";
        QTest::newRow("unknown name") << "name:Nowhere" << "No unit named \"Nowhere\" has been found on the network";
        QTest::newRow("position outside the list") << "index:7" << "There is no unit at position 8 of the list";
        // No route from this namespace: the socket fails at once, the report still comes later.
        QTest::newRow("no route") << "10.1.2.3" << "10.1.2.3";
        QTest::newRow("refused") << " 127.0.0.1 " << "The unit at 127.0.0.1 refused the connection";
    }
    void attemptsThatCannotSucceedFailAfterTheCall()
    {
        QFETCH(QString, address);
        QFETCH(QString, reason);
        // Nothing listens on the port once the server has given it back.
        mUnitServer.close();
        auto connection = MakeInterface();
        QSignalSpy failed(connection.get(), &cConnectionInterface::connectionAttemptFailed);
        QSignalSpy succeeded(connection.get(), &cConnectionInterface::connectionAttemptSuccessful);
        if (address.startsWith("name:"))
            connection->connectToUnitName(address.mid(5));
        else if (address.startsWith("index:"))
            connection->connectToUnit(address.mid(6).toInt());
        else
            connection->connectToHostByIpAddress(address);
        QCOMPARE(failed.size(), 0);
        QVERIFY(failed.wait(cConnectionInterface::kReachabilityTimeoutMs + 1000));
        QVERIFY2(connection->connectionFailureReason().contains(reason), qPrintable(connection->connectionFailureReason()));
        QCOMPARE(succeeded.size(), 0);
        QCOMPARE(QSettings().value(cConnectionInterface::kLastUnitNameKey), QVariant());
        if (address == " 127.0.0.1 ")
            QCOMPARE(connection->getHostIPAddress(), QString("127.0.0.1"));
    }
    void connectsToAListedUnitAndRemembersIt()
    {
        int betaIndex = -1;
        auto connection = MakeListingInterface("Beta", &betaIndex);
        QSignalSpy connectedChanged(connection.get(), &cConnectionInterface::connectedChanged);
        QSignalSpy succeeded(connection.get(), &cConnectionInterface::connectionAttemptSuccessful);
        connection->connectToUnit(betaIndex);
        QVERIFY(succeeded.wait(5000) && connection->connected());
        QCOMPARE(connectedChanged.size(), 1);
        QCOMPARE(connection->HostText(), QByteArray("127.0.0.2"));
        // Asking again for the unit already connected keeps the connection and still answers.
        connection->connectToHostByIpAddress("127.0.0.2");
        QVERIFY(succeeded.wait(1000) && connection->connected());
        QCOMPARE(connectedChanged.size(), 1);
        // Remembered across runs.
        connection.reset();
        QCOMPARE(QSettings().value("LUN").toString(), QString("Beta"));
        QCOMPARE(QSettings().value("LUI").toInt(), betaIndex);
        const auto restored = MakeInterface();
        QCOMPARE(restored->lastUnitName(), QString("Beta"));
        QCOMPARE(restored->lastUnitIndex(), betaIndex);
        QCOMPARE(QStringList({restored->padTo2(7), restored->padTo2(100), restored->padTo2(-3)}), QStringList({"07", "100", "-03"}));
    }
    void networkSignalsEndTheConnectionOnlyWhileFollowed()
    {
        cNetworkConnection::AllowInstanceOf(true);
        cNetworkConnection* network = cNetworkConnection::Instance();
        QVERIFY(network);
        auto connection = MakeListingInterface("Alpha");
        connection->SetZRNetNetworkConnection(network);
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
        // A low time-to-live warning checks the unit again: still there, it stays connected, and silent until it
        // answers again.
        QVERIFY(ConnectToListedUnit(*connection, "Alpha"));
        QSignalSpy reachable(connection->findChild<cReachabilityProbe*>(), &cReachabilityProbe::Reachable);
        emit network->TimeToLiveLow(1);
        QVERIFY(connection->unitSilent());
        QVERIFY(reachable.wait(5000));
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
        QVERIFY(connection->connected());
        cNetworkConnection::DeleteInstance();
    }
};

QTEST_GUILESS_MAIN(tst_cConnectionInterface)
#include "tst_cConnectionInterface.moc"

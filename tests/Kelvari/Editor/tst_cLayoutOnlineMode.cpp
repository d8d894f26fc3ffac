#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutOnlineMode.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"
#include "support/cOnlineTestSupport.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QString kUser = cOnlineTestSupport::User();
const QString kPassword = cOnlineTestSupport::Password();

bool IsNetworkBound(const cWidget* widget)
{
    return widget->GetType().startsWith(QLatin1String("zrnet_"));
}
}

// A page going live against the simulated unit with the test window's login:
// who goes online, what the page says when it cannot, and that going offline
// lets go of the client whatever the page did meanwhile.
class tst_cLayoutOnlineMode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aLoginTakesEveryWidgetOnlineAndOfflineAgain();
    void widgetsThatComeWhileOnlineGoOnline();
    void failuresLeaveThePageOffline_data();
    void failuresLeaveThePageOffline();
    void onlyTheNewestClientCounts();
    void onlyATestWindowPasswordTheUnitAcceptedIsRemembered();

private:
    void StartUnit(const QStringList& extra = {});
    QList<cWidget*> AllWidgets() const;
    cWidget* Add(const char* type, cWidget* container = nullptr, int location = -1);

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<cSimulatedUnit> mUnit;
    std::unique_ptr<cApplication> mApplication;
    cLayout* mLayout = nullptr;
};

void tst_cLayoutOnlineMode::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
}

void tst_cLayoutOnlineMode::init()
{
    QSettings().clear();
    mApplication = std::make_unique<cApplication>();
    mApplication->StartZRNet();
    mApplication->createNewConfig();
    mApplication->setTestWindowUsername(kUser);
    mApplication->setTestWindowPassword(kPassword);
    mLayout = mApplication->currentConfig()->Layouts().Items().first();
}

void tst_cLayoutOnlineMode::cleanup()
{
    mApplication.reset();
    mUnit.reset();
}

void tst_cLayoutOnlineMode::StartUnit(const QStringList& extra)
{
    mUnit = std::make_unique<cSimulatedUnit>(
        QStringList{"--test-window-user", kUser, "--test-window-password-hash",
                    QString::fromStdString(cApplication::GetHashedPassword(kPassword))} +
        extra);
    QVERIFY(mUnit->Start());
    cNetworkConnection::Instance()->SetUnitTcpPort(mUnit->TcpPort());
}

QList<cWidget*> tst_cLayoutOnlineMode::AllWidgets() const
{
    return mLayout->findChildren<cWidget*>();
}

cWidget* tst_cLayoutOnlineMode::Add(const char* type, cWidget* container, int location)
{
    auto* widget = qobject_cast<cWidget*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.2f, 0.2f));
    mLayout->closeUndoBlock();
    return widget;
}

// Network-bound widgets, also inside tabs, keep the client and show that they
// have nothing to link; the others run as they are.
void tst_cLayoutOnlineMode::aLoginTakesEveryWidgetOnlineAndOfflineAgain()
{
    StartUnit();
    Add("zrnet_fader");
    Add("text");
    Add("rect");
    cWidget* tabs = Add("tab_container");
    Add("zrnet_meter", tabs, 0);
    Add("zrnet_button", tabs, 1);
    Add("image", tabs, 1);
    QSignalSpy notFound(mLayout, &cLayout::configClientNotFound);
    QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);

    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QVERIFY(!mLayout->IsOnline());
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    QCOMPARE(mUnit->Reports(), QStringList{"LOGIN accepted"});
    for (const cWidget* widget : AllWidgets())
    {
        QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
        QCOMPARE(widget->IsDisabled(), IsNetworkBound(widget));
    }
    QVERIFY(!cOnlineTestSupport::NoClientLeft());

    mLayout->setOffline();
    QVERIFY(!mLayout->IsOnline());
    for (const cWidget* widget : AllWidgets())
        QVERIFY(!widget->IsOnline() && !widget->IsDisabled());
    QVERIFY(cOnlineTestSupport::NoClientLeft());
    QCOMPARE(notFound.count() + refused.count(), 0);
}

void tst_cLayoutOnlineMode::widgetsThatComeWhileOnlineGoOnline()
{
    StartUnit();
    cWidget* deleted = Add("zrnet_rotary");
    cWidget* tabs = Add("tab_container");
    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);

    cWidget* dropped = Add("zrnet_led", tabs, 0);
    QVERIFY(dropped->IsOnline() && dropped->IsDisabled());
    mLayout->selectionManager()->setSelection(tabs);
    mLayout->copyPressed();
    const int before = AllWidgets().size();
    mLayout->pastePressed();
    QCOMPARE(AllWidgets().size(), before + 2);
    for (const cWidget* widget : AllWidgets())
        QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
    mLayout->selectionManager()->setSelection(deleted);
    mLayout->deletePressed();
    QVERIFY(deleted->IsOnline());
    mLayout->undoPressed();
    QVERIFY(mLayout->GetWidgets()->contains(deleted) && deleted->IsOnline());

    // A widget deleted while online still lets go of the client with the page.
    mLayout->selectionManager()->setSelection(deleted);
    mLayout->deletePressed();
    mLayout->setOffline();
    QVERIFY(!deleted->IsOnline() && !dropped->IsOnline());
    QVERIFY(cOnlineTestSupport::NoClientLeft());

    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    mLayout->undoPressed();
    QVERIFY(deleted->IsOnline() && deleted->IsDisabled());
    mLayout->setOffline();
    QVERIFY(cOnlineTestSupport::NoClientLeft());
}

void tst_cLayoutOnlineMode::failuresLeaveThePageOffline_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("signal");
    QTest::newRow("wrong password") << QStringList() << "guess" << "authenticationFailedSignal";
    QTest::newRow("no config manager") << QStringList{"--no-config-manager"} << kPassword << "configClientNotFound";
}

// A refused page keeps its client until it goes offline; one without a
// config manager has none left at once.
void tst_cLayoutOnlineMode::failuresLeaveThePageOffline()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(QString, signal);
    StartUnit(arguments);
    mApplication->setTestWindowPassword(password);
    cWidget* fader = Add("zrnet_fader");
    QSignalSpy notFound(mLayout, &cLayout::configClientNotFound);
    QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
    QSignalSpy& expected = signal == "configClientNotFound" ? notFound : refused;

    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_COMPARE_WITH_TIMEOUT(expected.count(), 1, 8000);
    QTest::qWait(200);
    QCOMPARE(notFound.count() + refused.count(), 1);
    QVERIFY(!mLayout->IsOnline() && !fader->IsOnline());
    QCOMPARE(cOnlineTestSupport::NoClientLeft(), signal == "configClientNotFound");
    mLayout->setOffline();
    QVERIFY(cOnlineTestSupport::NoClientLeft());
}

// setOffline during the seek, or a second setOnline, leaves the older
// client's answers without effect: a stopped page never goes live.
void tst_cLayoutOnlineMode::onlyTheNewestClientCounts()
{
    StartUnit();
    cWidget* fader = Add("zrnet_fader");
    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    mLayout->setOffline();
    QVERIFY(cOnlineTestSupport::NoClientLeft());
    QTest::qWait(500);
    QVERIFY(!mLayout->IsOnline() && !fader->IsOnline());

    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    QTest::qWait(200);
    QCOMPARE(mUnit->Reports().filter("LOGIN").size(), 1);
    QVERIFY(fader->IsOnline());
    mLayout->setOffline();
    QVERIFY(cOnlineTestSupport::NoClientLeft());
}

// A refused password is forgotten, so the next connection asks for it; an
// accepted one reaches the settings store.
void tst_cLayoutOnlineMode::onlyATestWindowPasswordTheUnitAcceptedIsRemembered()
{
    StartUnit();
    const auto stored = [] { return QSettings().value(QStringLiteral("HP")).toString(); };
    mApplication->setTestWindowPassword(QStringLiteral("guess"));
    QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 8000);
    QVERIFY(!mApplication->testWindowPasswordStored());
    QCOMPARE(stored(), QString());
    mLayout->setOffline();

    mApplication->setTestWindowPassword(kPassword);
    QCOMPARE(stored(), QString());
    mLayout->setOnline(QStringLiteral("127.0.0.1"));
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    QCOMPARE(stored(), QString::fromStdString(cApplication::GetHashedPassword(kPassword)));
    mLayout->setOffline();
}

QTEST_MAIN(tst_cLayoutOnlineMode)
#include "tst_cLayoutOnlineMode.moc"

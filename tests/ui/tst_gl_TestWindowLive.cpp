#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cOnlineTestSupport.h"
#include "support/cQmlWarningLog.h"
#include "support/cSimulatedUnit.h"
#include "support/cTestPictures.h"
#include "support/cWindowTestSupport.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

#include <memory>

// The test window run live against the simulated unit on a real display: a refused login, a page of
// mixed widgets online until Disconnect, a unit that falls silent and then goes away. Fails on any QML
// warning and leaves a picture of each state (testwindow-*.png in the temporary folder) for a person.
class tst_gl_TestWindowLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        cWindowTestSupport::UseProgramSetup(mSettingsFolder.path());
        mWarnings.start();
        mApplication = std::make_unique<cApplication>();
        mApplication->StartZRNet();
        mApplication->createNewConfig();
        mLayout = mApplication->currentConfig()->Layouts().Items().first();
        cWindowTestSupport::AddSampleWidgets(*mLayout);
        mEngine = std::make_unique<QQmlEngine>();
        mEngine->rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
        mEngine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
        QQmlComponent component(mEngine.get(), QUrl(QStringLiteral("qrc:/TestWindow.qml")));
        mWindow = qobject_cast<QQuickWindow*>(component.createWithInitialProperties(
            {{QStringLiteral("currentLayout"), QVariant::fromValue<QObject*>(mLayout)}, {"visible", true}}));
        QVERIFY2(mWindow, qPrintable(component.errorString()));
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
        QTRY_VERIFY(Shown("testConnectButton"));
        Shot("offline");
    }

    void cleanupTestCase()
    {
        delete mWindow;
        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
        QVERIFY(!mLayout->IsOnline());
        QVERIFY(cOnlineTestSupport::NoClientLeft());
    }

    void aRefusedLoginSaysSo()
    {
        Connect({}, QStringLiteral("guess"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown("testFailurePage"), 8000);
        QCOMPARE(Find("testFailurePage")->property("text").toString(), QString("Connection attempt failed"));
        QCOMPARE(Find("testFailurePage")->property("failureReasonText").toString(),
                 QString("Username or password incorrect"));
        for (const cWidget* widget : Widgets())
            QVERIFY(!widget->IsOnline());
        Shot("refused");
        // Ok offers the picker again for another password.
        QMetaObject::invokeMethod(Find("testFailurePage"), "okClicked");
        QTRY_VERIFY(Shown("testUnitPicker"));
        QMetaObject::invokeMethod(Find("testUnitPicker"), "cancelClicked");
        QTRY_VERIFY(Shown("testConnectButton"));
        QVERIFY(cOnlineTestSupport::NoClientLeft());
    }

    void thePageRunsLiveUntilDisconnect()
    {
        // The progress page is caught the moment it shows, before the unit can answer.
        auto* progress = qobject_cast<QQuickItem*>(Find("testProgressPage"));
        bool caught = false;
        const QMetaObject::Connection shown = connect(progress, &QQuickItem::visibleChanged, this, [&] {
            if (progress->isVisible() && !caught)
                Shot("connecting");
            caught = caught || progress->isVisible();
        });
        Connect({}, cOnlineTestSupport::Password());
        QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
        disconnect(shown);
        QVERIFY(caught);
        QTRY_VERIFY(Shown("testOnlineLabel"));
        QCOMPARE(Find("testOnlineLabel")->property("text").toString(), QString("Online (127.0.0.1)"));
        for (const cWidget* widget : Widgets())
        {
            QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
            QCOMPARE(widget->IsDisabled(), widget->GetType().startsWith(QLatin1String("zrnet_")));
        }
        Shot("online");
        QMetaObject::invokeMethod(Find("testDisconnectButton"), "clicked");
        QTRY_VERIFY(Shown("testConnectButton"));
        QVERIFY(!mLayout->IsOnline());
        for (const cWidget* widget : Widgets())
            QVERIFY(!widget->IsOnline() && !widget->IsDisabled());
        QVERIFY(cOnlineTestSupport::NoClientLeft());
        QVERIFY(!mApplication->connectionInterface()->connected());
    }

    // The warning shows while the unit is silent; when it goes away the window
    // says so, and the warning gives way to that page.
    void aSilentThenVanishedUnitIsReported()
    {
        cNetworkConnection::Instance()->SetLostAfterSeconds(cNetworkConnection::kLowTimeToLiveSeconds + 2);
        Connect({"--no-heartbeat"}, cOnlineTestSupport::Password());
        QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
        QTRY_VERIFY_WITH_TIMEOUT(Shown("lostCommsWarning"), 8000);
        QVERIFY(mApplication->connectionInterface()->connected());
        Shot("warning");
        mUnit->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(Shown("testFailurePage"), 15000);
        QVERIFY(Find("testFailurePage")->property("text").toString().startsWith("Lost connection to unit at "));
        QVERIFY(!Find("testFailurePage")->property("failureReasonText").toString().isEmpty());
        QVERIFY(!Shown("lostCommsWarning") && !mLayout->IsOnline());
        Shot("lost");
        QMetaObject::invokeMethod(Find("testFailurePage"), "okClicked");
        QTRY_VERIFY(Shown("testConnectButton"));
        cNetworkConnection::Instance()->SetLostAfterSeconds(cNetworkConnection::kLostAfterSeconds);
    }

private:
    QObject* Find(const char* name) const { return cWindowTestSupport::Find(mWindow, name); }
    bool Shown(const char* name) const { return Find(name)->property("visible").toBool(); }
    QList<cWidget*> Widgets() const { return mLayout->findChildren<cWidget*>(); }

    // Starts a unit on the port the editor's reachability check knows and picks it by its address.
    void Connect(const QStringList& unitArguments, const QString& password)
    {
        mUnit.reset();
        mUnit = std::make_unique<cSimulatedUnit>(
            QStringList{"--tcp-port", "51321", "--test-window-user", cOnlineTestSupport::User(),
                        "--test-window-password-hash",
                        QString::fromStdString(cApplication::GetHashedPassword(cOnlineTestSupport::Password()))} +
            unitArguments);
        QVERIFY(mUnit->Start());
        QMetaObject::invokeMethod(Find("testConnectButton"), "clicked");
        QObject* picker = Find("testUnitPicker");
        QTRY_VERIFY(picker->property("visible").toBool());
        picker->setProperty("username", cOnlineTestSupport::User());
        picker->setProperty("usingStoredPassword", false);
        picker->setProperty("password", password);
        QMetaObject::invokeMethod(picker, "unitIpClicked", Q_ARG(QString, QStringLiteral("127.0.0.1")));
    }

    void Shot(const char* name)
    {
        const QImage image = mWindow->grabWindow();
        QVERIFY(!image.isNull());
        QVERIFY(mPictures.Save(image, QStringLiteral("testwindow-%1.png").arg(name)));
    }

    QTemporaryDir mSettingsFolder;
    cTestPictures mPictures;
    cQmlWarningLog mWarnings;
    std::unique_ptr<cApplication> mApplication;
    std::unique_ptr<QQmlEngine> mEngine;
    std::unique_ptr<cSimulatedUnit> mUnit;
    cLayout* mLayout = nullptr;
    QQuickWindow* mWindow = nullptr;
};

QTEST_MAIN(tst_gl_TestWindowLive)

#include "tst_gl_TestWindowLive.moc"

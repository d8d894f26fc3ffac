#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutOnlineMode.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cQmlWarningLog.h"
#include "support/cOnlineTestSupport.h"
#include "support/cWindowTestSupport.h"
#include "support/cSimulatedUnit.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QString kUser = cOnlineTestSupport::User();
const QString kPassword = cOnlineTestSupport::Password();
}

// The test window run live against the simulated unit on a real display: a
// refused login, a page of mixed widgets online, Disconnect, a unit that
// falls silent and then goes away. Fails on any QML warning and leaves a
// picture of each state (testwindow-*.png in the temporary folder) for a
// person to look at.
class tst_gl_TestWindowLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aRefusedLoginSaysSo();
    void thePageRunsLiveUntilDisconnect();
    void aSilentThenVanishedUnitIsReported();

private:
    QObject* Find(const char* name) const;
    void Shot(const QString& name);
    void StartUnit(const QStringList& extra = {});
    // Picks the unit by its address with the login, and waits for the outcome to be shown.
    void Connect(const QString& password);
    QList<cWidget*> Widgets() const { return mLayout->findChildren<cWidget*>(); }

    QTemporaryDir mSettingsFolder;
    cQmlWarningLog mWarnings;
    std::unique_ptr<cApplication> mApplication;
    std::unique_ptr<QQmlEngine> mEngine;
    std::unique_ptr<cSimulatedUnit> mUnit;
    cLayout* mLayout = nullptr;
    QQuickWindow* mWindow = nullptr;
};

void tst_gl_TestWindowLive::initTestCase()
{
    cWindowTestSupport::UseProgramSetup(mSettingsFolder.path());
    mWarnings.start();

    mApplication = std::make_unique<cApplication>();
    mApplication->StartZRNet();
    mApplication->createNewConfig();
    mLayout = mApplication->currentConfig()->Layouts().Items().first();
    auto add = [this](const char* type, cWidget* container, int location, float x, float y, float w, float h) {
        return qobject_cast<cWidget*>(
            mLayout->createAndAddWidget(QString::fromLatin1(type), container, location, x, y, w, h));
    };
    cWidget* title = add("text", nullptr, -1, 0.05f, 0.04f, 0.5f, 0.1f);
    title->GetProperty(QStringLiteral("Text"))->setValue(QStringLiteral("Monitor mix"));
    cWidget* panel = add("rect", nullptr, -1, 0.05f, 0.18f, 0.42f, 0.74f);
    panel->GetProperty(QStringLiteral("Colour"))->setValue(QColor("#2B3A42"));
    add("zrnet_fader", nullptr, -1, 0.08f, 0.22f, 0.08f, 0.66f);
    add("zrnet_rotary", nullptr, -1, 0.32f, 0.24f, 0.12f, 0.18f);
    cWidget* tabs = add("tab_container", nullptr, -1, 0.52f, 0.18f, 0.43f, 0.74f);
    add("zrnet_button", tabs, 0, 0.1f, 0.15f, 0.35f, 0.15f);
    add("zrnet_meter", tabs, 0, 0.6f, 0.1f, 0.1f, 0.8f);
    mLayout->closeUndoBlock();

    mEngine = std::make_unique<QQmlEngine>();
    mEngine->rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
    mEngine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
    QQmlComponent component(mEngine.get(), QUrl(QStringLiteral("qrc:/TestWindow.qml")));
    QObject* window = component.createWithInitialProperties(
        {{QStringLiteral("currentLayout"), QVariant::fromValue<QObject*>(mLayout)}, {"visible", true}});
    QVERIFY2(window, qPrintable(component.errorString()));
    mWindow = qobject_cast<QQuickWindow*>(window);
    QVERIFY(mWindow);
    QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    QTRY_VERIFY(Find("testConnectButton")->property("visible").toBool());
    Shot(QStringLiteral("offline"));
}

void tst_gl_TestWindowLive::cleanupTestCase()
{
    delete mWindow;
    QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
    QVERIFY(!mLayout->IsOnline());
    QVERIFY(cOnlineTestSupport::NoClientLeft());
    mEngine.reset();
    mApplication.reset();
}

// The unit's ZRNet port is the one the editor's reachability check knows.
void tst_gl_TestWindowLive::StartUnit(const QStringList& extra)
{
    mUnit = std::make_unique<cSimulatedUnit>(
        QStringList{"--tcp-port", "51321", "--test-window-user", kUser, "--test-window-password-hash",
                    QString::fromStdString(cApplication::GetHashedPassword(kPassword))} +
        extra);
    QVERIFY(mUnit->Start());
}

void tst_gl_TestWindowLive::Connect(const QString& password)
{
    QMetaObject::invokeMethod(Find("testConnectButton"), "clicked");
    QObject* picker = Find("testUnitPicker");
    QTRY_VERIFY(picker->property("visible").toBool());
    picker->setProperty("username", kUser);
    picker->setProperty("usingStoredPassword", false);
    picker->setProperty("password", password);
    QMetaObject::invokeMethod(picker, "unitIpClicked", Q_ARG(QString, QStringLiteral("127.0.0.1")));
}

void tst_gl_TestWindowLive::aRefusedLoginSaysSo()
{
    StartUnit();
    Connect(QStringLiteral("guess"));
    QObject* failure = Find("testFailurePage");
    QTRY_VERIFY_WITH_TIMEOUT(failure->property("visible").toBool(), 8000);
    QCOMPARE(failure->property("text").toString(), QString("Connection attempt failed"));
    QCOMPARE(failure->property("failureReasonText").toString(), QString("Username or password incorrect"));
    for (const cWidget* widget : Widgets())
        QVERIFY(!widget->IsOnline());
    Shot(QStringLiteral("refused"));
    // Ok offers the picker again for another password.
    QMetaObject::invokeMethod(failure, "okClicked");
    QTRY_VERIFY(Find("testUnitPicker")->property("visible").toBool());
    QMetaObject::invokeMethod(Find("testUnitPicker"), "cancelClicked");
    QTRY_VERIFY(Find("testConnectButton")->property("visible").toBool());
    QVERIFY(cOnlineTestSupport::NoClientLeft());
}

void tst_gl_TestWindowLive::thePageRunsLiveUntilDisconnect()
{
    // The progress page is caught the moment it shows, before the unit can answer.
    auto* progressItem = qobject_cast<QQuickItem*>(Find("testProgressPage"));
    bool caught = false;
    const QMetaObject::Connection shown = connect(progressItem, &QQuickItem::visibleChanged, this, [&] {
        if (progressItem->isVisible() && !caught)
        {
            caught = true;
            Shot(QStringLiteral("connecting"));
        }
    });
    Connect(kPassword);
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    disconnect(shown);
    QVERIFY(caught);
    QTRY_VERIFY(Find("testOnlineLabel")->property("visible").toBool());
    QCOMPARE(Find("testOnlineLabel")->property("text").toString(), QString("Online (127.0.0.1)"));
    for (const cWidget* widget : Widgets())
    {
        QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
        QCOMPARE(widget->IsDisabled(), widget->GetType().startsWith(QLatin1String("zrnet_")));
    }
    Shot(QStringLiteral("online"));

    QMetaObject::invokeMethod(Find("testDisconnectButton"), "clicked");
    QTRY_VERIFY(Find("testConnectButton")->property("visible").toBool());
    QVERIFY(!mLayout->IsOnline());
    for (const cWidget* widget : Widgets())
        QVERIFY(!widget->IsOnline() && !widget->IsDisabled());
    QVERIFY(cOnlineTestSupport::NoClientLeft());
    QVERIFY(!mApplication->connectionInterface()->connected());
}

// The warning shows while the unit is silent; when it goes away the window
// says when, and the warning gives way to that page.
void tst_gl_TestWindowLive::aSilentThenVanishedUnitIsReported()
{
    mUnit.reset();
    StartUnit({"--no-heartbeat"});
    cNetworkConnection::Instance()->SetLostAfterSeconds(cNetworkConnection::kLowTimeToLiveSeconds + 2);
    Connect(kPassword);
    QTRY_VERIFY_WITH_TIMEOUT(mLayout->IsOnline(), 8000);
    QObject* warning = Find("lostCommsWarning");
    QTRY_VERIFY_WITH_TIMEOUT(warning->property("visible").toBool(), 8000);
    QVERIFY(mApplication->connectionInterface()->connected());
    Shot(QStringLiteral("warning"));

    mUnit->Stop();
    QObject* failure = Find("testFailurePage");
    QTRY_VERIFY_WITH_TIMEOUT(failure->property("visible").toBool(), 15000);
    QVERIFY(QRegularExpression("^Lost connection to unit at \\d\\d:\\d\\d:\\d\\d$")
                .match(failure->property("text").toString())
                .hasMatch());
    QVERIFY(!failure->property("failureReasonText").toString().isEmpty());
    QVERIFY(!warning->property("visible").toBool());
    QVERIFY(!mLayout->IsOnline());
    Shot(QStringLiteral("lost"));
    QMetaObject::invokeMethod(failure, "okClicked");
    QTRY_VERIFY(Find("testConnectButton")->property("visible").toBool());
    cNetworkConnection::Instance()->SetLostAfterSeconds(cNetworkConnection::kLostAfterSeconds);
}

QObject* tst_gl_TestWindowLive::Find(const char* name) const
{
    QObject* found = mWindow->findChild<QObject*>(QLatin1String(name));
    if (!found)
        qFatal("no %s in the test window", name);
    return found;
}

void tst_gl_TestWindowLive::Shot(const QString& name)
{
    const QImage image = mWindow->grabWindow();
    QVERIFY(!image.isNull());
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("testwindow-%1.png").arg(name));
    QVERIFY(image.save(path));
    qInfo("%s", qPrintable(path));
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tst_gl_TestWindowLive test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_TestWindowLive.moc"

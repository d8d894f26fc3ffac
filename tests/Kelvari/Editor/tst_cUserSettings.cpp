#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cUserSettings.h"
#include "Kelvari/Editor/cWindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

// The user settings the editor keeps between runs, and the windows' geometry.
class tst_cUserSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void aFirstRunHasTheDefaults();
    void choicesAreStoredOnceWhenTheyChangeAndReadAtTheNextStart();
    void loginsAreStoredOnlyHashedAndOnlyWhenRemembered();

    void geometryRecordsAreTwentyBigEndianBytes();
    void windowsOffEveryScreenArePulledOntoThePrimaryScreen();
    void movesCommitAfterHalfASecondOfQuietInTheNormalStateOnly();
    void theMainWindowTakesItsGeometryAndStateWhenReady();
    void theTestWindowIsFollowedOnlyWhileShown();

private:
    QTemporaryDir mSettingsFolder;
};

void tst_cUserSettings::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
}

void tst_cUserSettings::init()
{
    QSettings().clear();
}

void tst_cUserSettings::aFirstRunHasTheDefaults()
{
    cApplication application;
    QCOMPARE(application.testWindowUsername(), QString());
    QVERIFY(!application.testWindowPasswordStored());
    QVERIFY(application.testWindowRememberLoginDetails());
    QVERIFY(!application.adminPasswordStored());
    QVERIFY(application.adminRememberPassword());
    QCOMPARE(application.lastConfigFilePath(), QString());
    QVERIFY(!application.snapToGrid());
    QCOMPARE(application.snapSpacing(), 5);
    QCOMPARE(application.propertyPanelWidth(), 400);
    QCOMPARE(application.aspectRatioIndex(), 0);
    QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());
}

void tst_cUserSettings::choicesAreStoredOnceWhenTheyChangeAndReadAtTheNextStart()
{
    {
        cApplication application;
        QSignalSpy aspect(&application, &cApplication::aspectRatioIndexChanged);
        application.setAspectRatioIndex(2);
        QCOMPARE(QSettings().value(QStringLiteral("ARI")).toInt(), 2);
        QSettings().remove(QStringLiteral("ARI"));
        application.setAspectRatioIndex(2);
        QCOMPARE(aspect.count(), 1);
        QVERIFY(!QSettings().contains(QStringLiteral("ARI")));
        application.setAspectRatioIndex(3);

        QSignalSpy snap(&application, &cApplication::snapToGridChanged);
        application.setSnapToGrid(true);
        application.setSnapToGrid(true);
        QCOMPARE(snap.count(), 1);
        application.setSnapSpacing(12);
        application.setPropertyPanelWidth(321);
        application.setLastImageFilePath(QUrl::fromLocalFile(mSettingsFolder.filePath(QStringLiteral("logo.png"))));
    }
    const QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("STG")).toBool(), true);
    QCOMPARE(settings.value(QStringLiteral("SSP")).toInt(), 12);
    QCOMPARE(settings.value(QStringLiteral("PPW")).toInt(), 321);
    QCOMPARE(settings.value(QStringLiteral("LIL")).toString(), mSettingsFolder.path());

    cApplication application;
    QVERIFY(application.snapToGrid());
    QCOMPARE(application.snapSpacing(), 12);
    QCOMPARE(application.propertyPanelWidth(), 321);
    QCOMPARE(application.aspectRatioIndex(), 3);
    QCOMPARE(application.lastImageFilePath(), QUrl::fromLocalFile(mSettingsFolder.path()).toString());
    QVERIFY(application.lastImageFilePath().startsWith(QLatin1String("file:///")));
    QVERIFY(!application.lastImageFilePath().startsWith(QLatin1String("file:////")));
}

void tst_cUserSettings::loginsAreStoredOnlyHashedAndOnlyWhenRemembered()
{
    const QString hash = QString::fromStdString(cApplication::GetHashedPassword(QStringLiteral("tiger")));
    {
        cApplication application;
        QSignalSpy stored(&application, &cApplication::testWindowPasswordStoredChanged);
        application.setTestWindowUsername(QStringLiteral("stage manager"));
        application.setTestWindowPassword(QStringLiteral("tiger"));
        application.setTestWindowPassword(QStringLiteral("tiger"));
        QCOMPARE(stored.count(), 1);
        QVERIFY(application.testWindowPasswordStored());
        QCOMPARE(QSettings().value(QStringLiteral("U")).toString(), QStringLiteral("stage manager"));
        QCOMPARE(QSettings().value(QStringLiteral("HP")).toString(), hash);

        // Forgetting empties the store at once but keeps the login for this run.
        application.setTestWindowRememberLoginDetails(false);
        QCOMPARE(QSettings().value(QStringLiteral("RLD")).toBool(), false);
        QCOMPARE(QSettings().value(QStringLiteral("U")).toString(), QString());
        QCOMPARE(QSettings().value(QStringLiteral("HP")).toString(), QString());
        QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
        application.setTestWindowRememberLoginDetails(true);
        QCOMPARE(QSettings().value(QStringLiteral("U")).toString(), QStringLiteral("stage manager"));
        QCOMPARE(QSettings().value(QStringLiteral("HP")).toString(), hash);

        QSignalSpy admin(&application, &cApplication::adminPasswordStoredChanged);
        application.setAdminRememberPassword(false);
        application.setAdminPassword(QStringLiteral("tiger"));
        QCOMPARE(admin.count(), 1);
        QVERIFY(application.adminPasswordStored());
        QCOMPARE(QSettings().value(QStringLiteral("AP")).toString(), QString());
        QCOMPARE(QSettings().value(QStringLiteral("RP")).toBool(), false);
    }
    const QSettings settings;
    for (const QString& key : settings.allKeys())
        QVERIFY2(!settings.value(key).toString().contains(QLatin1String("tiger")), qPrintable(key));

    cApplication application;
    QCOMPARE(application.testWindowUsername(), QStringLiteral("stage manager"));
    QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
    QVERIFY(!application.adminPasswordStored());
    QVERIFY(!application.adminRememberPassword());
}

void tst_cUserSettings::geometryRecordsAreTwentyBigEndianBytes()
{
    const QByteArray record = cWindowGeometry::Encode(QRect(-2, 3, 1024, 768), 2);
    QCOMPARE(record.toHex(), QByteArray("fffffffe" "00000003" "00000400" "00000300" "00000002"));
    QRect geometry;
    int state = 0;
    QVERIFY(cWindowGeometry::Decode(record, geometry, state));
    QCOMPARE(geometry, QRect(-2, 3, 1024, 768));
    QCOMPARE(state, 2);
    QVERIFY(!cWindowGeometry::Decode(record.left(19), geometry, state));
}

void tst_cUserSettings::windowsOffEveryScreenArePulledOntoThePrimaryScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int w = screen.width(), h = screen.height();

    int x = screen.right() + 5000, y = screen.top() + 10, width = w / 2, height = h / 2;
    cWindowGeometry::FitToScreens(x, y, width, height);
    QCOMPARE(QRect(x, y, width, height), QRect(w - w / 2, screen.top() + 10, w / 2, h / 2));

    x = screen.right() + 5000, y = -5000, width = w * 3, height = h * 3;
    cWindowGeometry::FitToScreens(x, y, width, height);
    QCOMPARE(QRect(x, y, width, height), QRect(0, 0, w, h));

    // A top corner on a screen keeps everything, however large.
    x = screen.left(), y = screen.top(), width = w * 3, height = h * 3;
    cWindowGeometry::FitToScreens(x, y, width, height);
    QCOMPARE(QRect(x, y, width, height), QRect(screen.left(), screen.top(), w * 3, h * 3));
    x = screen.left() - w, y = screen.top(), width = w + 10, height = 100;
    cWindowGeometry::FitToScreens(x, y, width, height);
    QCOMPARE(x, screen.left() - w);
}

void tst_cUserSettings::movesCommitAfterHalfASecondOfQuietInTheNormalStateOnly()
{
    cWindowGeometry tracker(cUserSettings::eMainWindowGeometry, nullptr);
    tracker.Load();
    QWindow window;
    tracker.Attach(&window);
    QCOMPARE(window.geometry(), cWindowGeometry::DefaultGeometry());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.setPosition(150, 160);
    QTest::qWait(300);
    window.setPosition(170, 180);
    QTest::qWait(300);
    QCOMPARE(tracker.Applied().topLeft(), QPoint(100, 100));
    QTRY_COMPARE(tracker.Applied().topLeft(), QPoint(170, 180));
    QCOMPARE(tracker.Applied().size(), QSize(1024, 768));

    window.showMaximized();
    QTRY_COMPARE(tracker.WindowState(), int(Qt::WindowMaximized));
    window.setPosition(0, 0);
    QTest::qWait(cWindowGeometry::kSettleMs + 200);
    QCOMPARE(tracker.Applied(), QRect(170, 180, 1024, 768));
    QCOMPARE(tracker.Pending(), tracker.Applied());

    tracker.Store();
    QRect geometry;
    int state = 0;
    QVERIFY(cWindowGeometry::Decode(QSettings().value(QStringLiteral("SCG")).toByteArray(), geometry, state));
    QCOMPARE(geometry, QRect(170, 180, 1024, 768));
    QCOMPARE(state, int(Qt::WindowMaximized));
}

// A stored minimised state is never restored.
void tst_cUserSettings::theMainWindowTakesItsGeometryAndStateWhenReady()
{
    QSettings().setValue(QStringLiteral("SCG"),
                         cWindowGeometry::Encode(QRect(40, 50, 400, 300), Qt::WindowMinimized | Qt::WindowMaximized));
    cApplication application;
    QCOMPARE(application.TestWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());
    QWindow window;
    application.applicationWindowReady();
    QCOMPARE(application.MainWindowGeometry().Window(), &window);
    QCOMPARE(window.geometry(), QRect(40, 50, 400, 300));
    QVERIFY(window.flags().testFlag(Qt::WindowFullscreenButtonHint));
    QCOMPARE(window.windowStates(), Qt::WindowStates());
    QTRY_COMPARE(window.windowStates(), Qt::WindowStates(Qt::WindowMaximized));
}

void tst_cUserSettings::theTestWindowIsFollowedOnlyWhileShown()
{
    cApplication application;
    QWindow mainWindow;
    application.applicationWindowReady();
    QWindow testWindow;
    application.testApplicationWindowReady();
    QCOMPARE(application.TestWindowGeometry().Window(), &testWindow);
    QCOMPARE(testWindow.geometry(), cWindowGeometry::DefaultGeometry());

    testWindow.setPosition(300, 310);
    QTRY_COMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
    QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());

    application.testApplicationWindowClosed();
    testWindow.setPosition(500, 510);
    QTest::qWait(cWindowGeometry::kSettleMs + 200);
    QCOMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
    QCOMPARE(application.TestWindowGeometry().Window(), nullptr);
}

QTEST_MAIN(tst_cUserSettings)
#include "tst_cUserSettings.moc"

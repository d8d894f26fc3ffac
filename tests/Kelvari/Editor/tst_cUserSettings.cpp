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

    void choicesStartAtTheDefaultsAndAreStoredOnceWhenTheyChange();
    void loginsAreStoredOnlyHashedAndOnlyWhenRemembered();

    void geometryRecordsAreTwentyBigEndianBytes();
    void windowsOffEveryScreenArePulledOntoThePrimaryScreen_data();
    void windowsOffEveryScreenArePulledOntoThePrimaryScreen();
    void movesCommitAfterHalfASecondOfQuietInTheNormalStateOnly();
    void theMainWindowTakesItsGeometryAndStateWhenReady();
    void theTestWindowIsFollowedOnlyWhileShown();

private:
    static QVariant Stored(const char* key) { return QSettings().value(QLatin1String(key)); }

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

void tst_cUserSettings::choicesStartAtTheDefaultsAndAreStoredOnceWhenTheyChange()
{
    {
        cApplication application;
        QVERIFY(application.testWindowRememberLoginDetails() && application.adminRememberPassword());
        QVERIFY(!application.snapToGrid() && !application.adminPasswordStored());
        QCOMPARE(application.snapSpacing(), 5);
        QCOMPARE(application.propertyPanelWidth(), 400);
        QCOMPARE(application.aspectRatioIndex(), 0);
        QCOMPARE(application.lastConfigFilePath(), QString());
        QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());

        QSignalSpy aspect(&application, &cApplication::aspectRatioIndexChanged);
        application.setAspectRatioIndex(2);
        QCOMPARE(Stored("ARI").toInt(), 2);
        // An unchanged value is neither signalled nor written again.
        QSettings().remove(QStringLiteral("ARI"));
        application.setAspectRatioIndex(2);
        QCOMPARE(aspect.count(), 1);
        QVERIFY(!QSettings().contains(QStringLiteral("ARI")));
        application.setAspectRatioIndex(3);
        application.setSnapToGrid(true);
        application.setSnapSpacing(12);
        application.setPropertyPanelWidth(321);
        application.setLastImageFilePath(QUrl::fromLocalFile(mSettingsFolder.filePath(QStringLiteral("logo.png"))));
    }
    QCOMPARE(Stored("STG").toBool(), true);
    QCOMPARE(Stored("SSP").toInt(), 12);
    QCOMPARE(Stored("PPW").toInt(), 321);
    QCOMPARE(Stored("LIL").toString(), mSettingsFolder.path());

    cApplication application;
    QVERIFY(application.snapToGrid());
    QCOMPARE(application.snapSpacing(), 12);
    QCOMPARE(application.propertyPanelWidth(), 321);
    QCOMPARE(application.aspectRatioIndex(), 3);
    // A local-file URL with exactly three slashes.
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
        QCOMPARE(Stored("U").toString(), QStringLiteral("stage manager"));
        // Only a password the unit accepted reaches the store; a refused one is forgotten.
        QCOMPARE(Stored("HP").toString(), QString());
        application.TestWindowLoginRefused();
        QVERIFY(!application.testWindowPasswordStored());
        application.setTestWindowPassword(QStringLiteral("tiger"));
        application.TestWindowLoginAccepted();
        QCOMPARE(Stored("HP").toString(), hash);
        QCOMPARE(stored.count(), 3);

        // Forgetting empties the store at once but keeps the login for this run.
        application.setTestWindowRememberLoginDetails(false);
        QCOMPARE(Stored("RLD").toBool(), false);
        QCOMPARE(Stored("U").toString(), QString());
        QCOMPARE(Stored("HP").toString(), QString());
        QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
        application.setTestWindowRememberLoginDetails(true);
        QCOMPARE(Stored("HP").toString(), hash);

        application.setAdminRememberPassword(false);
        application.setAdminPassword(QStringLiteral("tiger"));
        QVERIFY(application.adminPasswordStored());
        QCOMPARE(Stored("AP").toString(), QString());
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

void tst_cUserSettings::windowsOffEveryScreenArePulledOntoThePrimaryScreen_data()
{
    const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
    const int w = s.width(), h = s.height();
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("fitted");
    QTest::newRow("right of every screen") << QRect(s.right() + 5000, s.top() + 10, w / 2, h / 2)
                                           << QRect(w - w / 2, s.top() + 10, w / 2, h / 2);
    QTest::newRow("off and too large") << QRect(s.right() + 5000, -5000, w * 3, h * 3) << QRect(0, 0, w, h);
    // A top corner on a screen keeps everything, however large.
    QTest::newRow("corner on the screen") << QRect(s.left(), s.top(), w * 3, h * 3)
                                          << QRect(s.left(), s.top(), w * 3, h * 3);
}

void tst_cUserSettings::windowsOffEveryScreenArePulledOntoThePrimaryScreen()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, fitted);
    int x = stored.x(), y = stored.y(), width = stored.width(), height = stored.height();
    cWindowGeometry::FitToScreens(x, y, width, height);
    QCOMPARE(QRect(x, y, width, height), fitted);
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

    window.showMaximized();
    QTRY_COMPARE(tracker.WindowState(), int(Qt::WindowMaximized));
    window.setPosition(0, 0);
    QTest::qWait(cWindowGeometry::kSettleMs + 200);
    QCOMPARE(tracker.Applied(), QRect(170, 180, 1024, 768));

    tracker.Store();
    QRect geometry;
    int state = 0;
    QVERIFY(cWindowGeometry::Decode(Stored("SCG").toByteArray(), geometry, state));
    QCOMPARE(geometry, QRect(170, 180, 1024, 768));
    QCOMPARE(state, int(Qt::WindowMaximized));
}

// A stored minimised state is never restored.
void tst_cUserSettings::theMainWindowTakesItsGeometryAndStateWhenReady()
{
    QSettings().setValue(QStringLiteral("SCG"),
                         cWindowGeometry::Encode(QRect(40, 50, 400, 300), Qt::WindowMinimized | Qt::WindowMaximized));
    cApplication application;
    QWindow window;
    application.applicationWindowReady();
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
    // A window made after the test window, such as a dialog, is not taken for it.
    QWindow dialog;
    application.testApplicationWindowReady(&testWindow);
    QCOMPARE(testWindow.geometry(), cWindowGeometry::DefaultGeometry());
    QVERIFY(dialog.geometry() != cWindowGeometry::DefaultGeometry());

    testWindow.setPosition(300, 310);
    QTRY_COMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
    QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());

    application.testApplicationWindowClosed();
    testWindow.setPosition(500, 510);
    QTest::qWait(cWindowGeometry::kSettleMs + 200);
    QCOMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
}

QTEST_MAIN(tst_cUserSettings)
#include "tst_cUserSettings.moc"

#include "ConfigTestData.h"
#include "support/cTraceCapture.h"
#include "support/cWindowTestSupport.h"

#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cWindowGeometry.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace ConfigTestData;

// The application object: its tables, settings, windows' geometry, and documents in real files.
class tst_Application : public QObject
{
    Q_OBJECT

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
    QList<QUrl> mOpened;

    static QVariant Stored(const char* key) { return QSettings().value(QLatin1String(key)); }
    QString FilePath(const QString& name) const { return mFolder->filePath(name); }
    // A new document with one layout added, so that it is dirty.
    static void NewDirtyDocument(cApplication& application)
    {
        application.createNewConfig();
        AddLayout(*application.currentConfig(), QStringLiteral("Stage"));
    }
    // The window geometry a record holds, with its state.
    static QPair<QRect, int> Decoded(const QByteArray& record)
    {
        QPair<QRect, int> decoded(QRect(), -1);
        return cWindowGeometry::Decode(record, decoded.first, decoded.second) ? decoded : QPair<QRect, int>();
    }

public slots:
    // What the desktop is asked to open.
    void Open(const QUrl& url) { mOpened << url; }

private slots:
    void initTestCase() { cWindowTestSupport::UseProgramSetup(mSettingsFolder.path()); }
    void init()
    {
        QSettings().clear();
        mFolder = std::make_unique<QTemporaryDir>();
        mOpened.clear();
    }

    // Every row's component, and the fallback for an unknown type, is carried in the resources, relative to
    // a page one folder down.
    void everyWidgetTypeHasItsComponentAndTheToolboxItsGroups()
    {
        cApplication application;
        QCOMPARE(application.fontCodeToName("no-such-font") + application.getWidgetName("no_such_type"), QString());
        QCOMPARE(application.getWidgetName(cWidget::mMultipleTypeName), QStringLiteral("Multiple"));
        QCOMPARE(application.getQmlUrlForType("no_such_type"), QStringLiteral("../Widgets/UnknownWidget.qml"));
        QVERIFY(QFile::exists(QStringLiteral(":/Pages/../Widgets/UnknownWidget.qml")));
        for (const cToolboxWidget* row : application.AllWidgets().Items())
            QVERIFY2(QFile::exists(QStringLiteral(":/Pages/") + row->qmlUrl()), qPrintable(row->qmlUrl()));
        const auto types = [](QQmlObjectListModelBase* model) {
            QStringList list;
            for (int i = 0; i < model->count(); ++i)
                list << model->get(i)->property("widgetType").toString();
            return list;
        };
        const QStringList generic = types(application.genericWidgets()), other = types(application.allNonGenericWidgets());
        QCOMPARE(generic, QStringList({"image", "text", "tab_container", "rect"}));
        QCOMPARE(other.filter(QRegularExpression("^zrnet_")).size(), 9);
        QCOMPARE(types(application.allAvailableWidgets()), generic + other);
        QCOMPARE(QStringList({application.property("version").toString(), application.property("fullVersion").toString()}) +
                     application.supportedUnits(),
                 QStringList({"1.0.1", "V1.0.1 - Rev. 50124", "Oskel Dorvel", "Halvor Dorvel", "Pemra Dorvel"}));
    }

    // The artwork the pages name by resource path; tools/generate-icons.py checks how it is drawn.
    void everyDrawingLoadsFromItsResourcePath()
    {
        QStringList paths{":/brandLogo", ":/initialPageBackground"};
        for (const QString& file : QDir(":/Images", "*.svg").entryList())
            paths << ":/Images/" + file;
        QCOMPARE(paths.size(), 88);
        for (const QString& path : paths)
            QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(path));
        QCOMPARE(QImage(":/Images/colourBackground.png").size(), QSize(20, 20));
    }

    // Keccak-512 of no bytes, which differs from SHA3-512's ("a69f73cc..."); the text counts up to its first
    // NUL, a password up to its first sixteen characters, blank-padded.
    void hashedStringsAreKeccak512InBase64()
    {
        const auto hash = [](const QString& text) { return QByteArray::fromStdString(cApplication::GetHashedString(text)); };
        const auto password = [](const QString& text) { return cApplication::GetHashedPassword(text); };
        QCOMPARE(hash(QString()), QByteArray::fromHex("0eab42de4c3ceb9235fc91acffe746b29c29a8c366b7c60e4e67c466f36a4304"
                                                      "c00fa9caf9d87976ba469bcbe06713b435f091ef2769fb160cdab33d3670680e")
                                      .toBase64());
        QVERIFY(hash("Admin").size() == 88 && hash("Admin") != hash("admin"));
        QCOMPARE(hash(QStringLiteral("Ad") + QChar(0) + QStringLiteral("min")), hash("Ad"));
        QCOMPARE(password(QString()), std::string());
        QCOMPARE(password("secret"), password("secret          "));
        QCOMPARE(password("0123456789abcdefXYZ"), password("0123456789abcdef"));
        QVERIFY(password("secret") != password("secreT"));
    }

    void theLayerRunsBetweenStartAndTheEndOfTheApplication()
    {
        cTraceCapture capture;
        cApplication().StopZRNet();
        {
            cApplication application;
            QVERIFY(!SyscallRegistryRouter());
            application.StartZRNet();
            QVERIFY(SyscallRegistryRouter() && SyscallSystemBuilder() && SyscallTicksStarted());
            QVERIFY(cNetworkConnection::Instance()->LostCommsRunning());
        }
        QVERIFY(!SyscallRegistryRouter() && !SyscallSystemBuilder() && !SyscallTicksStarted());
        QVERIFY2(capture.LinesContaining("ERROR").isEmpty(), qPrintable(capture.Lines().join('\n')));
    }

    // An opaque foreground hides the background, a transparent one shows only the background; 101 at half
    // opacity over black composes to 50.7, which is truncated to 50.
    void textContrast()
    {
        cApplication application;
        const QColor white(Qt::white), black(Qt::black), red(Qt::red);
        QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, black), 21.0));
        QVERIFY(qFuzzyCompare(cApplication::GetContrastRatio(black, white), 1.0 / 21.0));
        QCOMPARE(application.getTextColourRatio(white, red, black), application.getTextColourRatio(white, red));
        QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, QColor(255, 0, 0, 0), black), 21.0));
        QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, QColor(101, 101, 101, 128), black),
                              cApplication::GetContrastRatio(white, QColor(50, 50, 50))));
    }

    // As the window system reports keys: the state before each key, Ctrl's own key included.
    void ctrlHeldFollowsTheControlKeyInEveryWindow()
    {
        cApplication application;
        qApp->installEventFilter(&application);
        QWindow window;
        QSignalSpy changes(&application, &cApplication::ctrlHeldChanged);
        QList<bool> held;
        for (const auto& [type, code, state] : {std::make_tuple(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier),
                                                std::make_tuple(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier),
                                                std::make_tuple(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier),
                                                std::make_tuple(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier),
                                                std::make_tuple(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier)})
        {
            QKeyEvent event(type, code, state);
            QCoreApplication::sendEvent(&window, &event);
            held << application.ctrlHeld();
        }
        QCOMPARE(held, QList<bool>({true, true, true, false, false}));
        QCOMPARE(changes.count(), 2);
    }

    // Without a program on the search path that could open a document, the guide is not shown.
    void helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot_data()
    {
        QTest::addColumn<bool>("guideExists");
        QTest::addColumn<bool>("viewerExists");
        QTest::addColumn<QString>("reason");
        QTest::newRow("shown") << true << true << QString();
        QTest::newRow("guide missing") << false << true << "The user guide %1 is missing";
        QTest::newRow("no viewer") << true << false << "No program to show PDF files could open the user guide %1";
    }
    void helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot()
    {
        QFETCH(bool, guideExists);
        QFETCH(bool, viewerExists);
        QFETCH(QString, reason);
        const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/Contents/Resources/Help/Help.pdf");
        QFile::remove(guide);
        QFile file(guide);
        QVERIFY(!guideExists || (QDir().mkpath(QFileInfo(guide).path()) && file.open(QIODevice::WriteOnly)));
        if (viewerExists)
            QDesktopServices::setUrlHandler("file", this, "Open");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "");
        cApplication application;
        QSignalSpy failed(&application, &cApplication::helpFailed);
        application.openHelp();
        qputenv("PATH", path);
        QDesktopServices::unsetUrlHandler("file");
        QFile::remove(guide);
        QCOMPARE(application.helpFailureReason(), reason.isEmpty() ? QString() : reason.arg(guide));
        QCOMPARE(failed.count(), reason.isEmpty() ? 0 : 1);
        QCOMPARE(mOpened, reason.isEmpty() ? QList<QUrl>{QUrl::fromLocalFile(guide)} : QList<QUrl>());
    }

    // An unchanged value is neither signalled nor written again; a folder is offered as a local-file URL
    // with exactly three slashes.
    void choicesStartAtTheDefaultsAndAreStoredOnceWhenTheyChange()
    {
        const QString folderUrl = QUrl::fromLocalFile(mSettingsFolder.path()).toString();
        QVERIFY(folderUrl.startsWith("file:///") && !folderUrl.startsWith("file:////"));
        {
            cApplication application;
            QCOMPARE(QVariantList({application.testWindowRememberLoginDetails(), application.adminRememberPassword(),
                                   application.snapToGrid(), application.adminPasswordStored(), application.snapSpacing(),
                                   application.propertyPanelWidth(), application.aspectRatioIndex(),
                                   application.lastConfigFilePath()}),
                     QVariantList({true, true, false, false, 5, 400, 0, QString()}));
            QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());
            QSignalSpy aspect(&application, &cApplication::aspectRatioIndexChanged);
            application.setAspectRatioIndex(2);
            QCOMPARE(Stored("ARI").toInt(), 2);
            QSettings().remove("ARI");
            application.setAspectRatioIndex(2);
            QCOMPARE(aspect.count(), 1);
            QVERIFY(!QSettings().contains("ARI"));
            application.setAspectRatioIndex(3);
            application.setSnapToGrid(true);
            application.setSnapSpacing(12);
            application.setPropertyPanelWidth(321);
            application.setLastImageFilePath(QUrl::fromLocalFile(mSettingsFolder.filePath("logo.png")));
        }
        QCOMPARE(QVariantList({Stored("STG").toBool(), Stored("SSP").toInt(), Stored("PPW").toInt(), Stored("LIL")}),
                 QVariantList({true, 12, 321, mSettingsFolder.path()}));
        cApplication application;
        QCOMPARE(QVariantList({application.snapToGrid(), application.snapSpacing(), application.propertyPanelWidth(),
                               application.aspectRatioIndex(), application.lastImageFilePath()}),
                 QVariantList({true, 12, 321, 3, folderUrl}));
    }

    // Only a password the unit accepted reaches the store, a refused one is forgotten; forgetting empties the
    // store at once but keeps the login for this run.
    void loginsAreStoredOnlyHashedAndOnlyWhenRemembered()
    {
        const QString hash = QString::fromStdString(cApplication::GetHashedPassword("tiger"));
        {
            cApplication application;
            QSignalSpy stored(&application, &cApplication::testWindowPasswordStoredChanged);
            application.setTestWindowUsername("stage manager");
            application.setTestWindowPassword("tiger");
            application.setTestWindowPassword("tiger");
            QCOMPARE(stored.count(), 1);
            QCOMPARE(QVariantList({Stored("U"), Stored("HP").toString()}), QVariantList({"stage manager", QString()}));
            application.TestWindowLoginRefused();
            QVERIFY(!application.testWindowPasswordStored());
            application.setTestWindowPassword("tiger");
            application.TestWindowLoginAccepted();
            QCOMPARE(Stored("HP").toString(), hash);
            QCOMPARE(stored.count(), 3);
            application.setTestWindowRememberLoginDetails(false);
            QCOMPARE(QVariantList({Stored("RLD").toBool(), Stored("U").toString(), Stored("HP").toString()}),
                     QVariantList({false, QString(), QString()}));
            QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
            application.setTestWindowRememberLoginDetails(true);
            QCOMPARE(Stored("HP").toString(), hash);
            application.setAdminRememberPassword(false);
            application.setAdminPassword("tiger");
            QVERIFY(application.adminPasswordStored());
            QCOMPARE(Stored("AP").toString(), QString());
        }
        const QSettings settings;
        for (const QString& key : settings.allKeys())
            QVERIFY2(!settings.value(key).toString().contains("tiger"), qPrintable(key));
        cApplication application;
        QCOMPARE(application.testWindowUsername(), QStringLiteral("stage manager"));
        QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
        QVERIFY(!application.adminPasswordStored() && !application.adminRememberPassword());
    }

    // A top corner on a screen keeps everything, however large.
    void geometryRecordsAreBigEndianAndWindowsOffEveryScreenArePulledBack_data()
    {
        const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
        const int w = s.width(), h = s.height();
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("right of every screen") << QRect(s.right() + 5000, s.top() + 10, w / 2, h / 2)
                                               << QRect(w - w / 2, s.top() + 10, w / 2, h / 2);
        QTest::newRow("off and too large") << QRect(s.right() + 5000, -5000, w * 3, h * 3) << QRect(0, 0, w, h);
        QTest::newRow("corner on the screen") << QRect(s.left(), s.top(), w * 3, h * 3) << QRect(s.left(), s.top(), w * 3, h * 3);
    }
    void geometryRecordsAreBigEndianAndWindowsOffEveryScreenArePulledBack()
    {
        const QByteArray record = cWindowGeometry::Encode(QRect(-2, 3, 1024, 768), 2);
        QCOMPARE(record.toHex(), QByteArray("fffffffe" "00000003" "00000400" "00000300" "00000002"));
        QCOMPARE(Decoded(record), qMakePair(QRect(-2, 3, 1024, 768), 2));
        QCOMPARE(Decoded(record.left(19)), (QPair<QRect, int>()));
        QFETCH(QRect, stored);
        int x = stored.x(), y = stored.y(), width = stored.width(), height = stored.height();
        cWindowGeometry::FitToScreens(x, y, width, height);
        QTEST(QRect(x, y, width, height), "fitted");
    }

    // A second move restarts the wait, so the commit comes half a second after the last one.
    void movesCommitAfterHalfASecondOfQuietInTheNormalStateOnly()
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
        QElapsedTimer quiet;
        quiet.start();
        QTRY_COMPARE(tracker.Applied().topLeft(), QPoint(170, 180));
        QVERIFY(quiet.elapsed() >= cWindowGeometry::kSettleMs - 100);
        window.showMaximized();
        QTRY_COMPARE(tracker.WindowState(), int(Qt::WindowMaximized));
        window.setPosition(0, 0);
        QTest::qWait(cWindowGeometry::kSettleMs + 200);
        QCOMPARE(tracker.Applied(), QRect(170, 180, 1024, 768));
        tracker.Store();
        QCOMPARE(Decoded(Stored("SCG").toByteArray()), qMakePair(QRect(170, 180, 1024, 768), int(Qt::WindowMaximized)));
    }

    // A stored minimised state is never restored.
    void theMainWindowTakesItsGeometryAndStateWhenReady()
    {
        QSettings().setValue("SCG", cWindowGeometry::Encode({40, 50, 400, 300}, Qt::WindowMinimized | Qt::WindowMaximized));
        cApplication application;
        QWindow window;
        application.applicationWindowReady();
        QCOMPARE(window.geometry(), QRect(40, 50, 400, 300));
        QVERIFY(window.flags().testFlag(Qt::WindowFullscreenButtonHint));
        QCOMPARE(window.windowStates(), Qt::WindowStates());
        QTRY_COMPARE(window.windowStates(), Qt::WindowStates(Qt::WindowMaximized));
    }

    // A window made after the test window, such as a dialog, is not taken for it.
    void theTestWindowIsFollowedOnlyWhileShown()
    {
        cApplication application;
        QWindow mainWindow;
        application.applicationWindowReady();
        QWindow testWindow, dialog;
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

    // Saving again goes to the same file; what cannot be opened says why and keeps the document, and the next
    // attempt starts with no reason; a folder that has gone is offered no more.
    void savedConfigsOpenAgainWithTheirLayoutsAndFailuresSayWhy()
    {
        const QString path = FilePath("show.xml");
        const QString folderUrl = QUrl::fromLocalFile(mFolder->path()).toString();
        {
            cApplication application;
            NewDirtyDocument(application);
            QVERIFY(application.saveConfig(QUrl::fromLocalFile(path)));
            QCOMPARE(application.currentFilename(), path);
            QVERIFY(!application.currentConfig()->dirty());
            QCOMPARE(QVariantList({application.lastConfigFilePath(), Stored("LCL")}), QVariantList({folderUrl, mFolder->path()}));
            AddLayout(*application.currentConfig(), "Foyer");
            QVERIFY(application.saveConfig() && !application.currentConfig()->dirty());
        }
        cApplication application;
        QCOMPARE(application.lastConfigFilePath(), folderUrl);
        QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.currentFilename(), path);
        QVERIFY(!application.currentConfig()->dirty());
        QStringList names = LayoutNames(*application.currentConfig());
        names.sort();
        QCOMPARE(names, QStringList({"Foyer", "Layout 1", "Stage"}));

        cTraceCapture capture;
        const QUrl missing = QUrl::fromLocalFile(FilePath("missing.xml"));
        QVERIFY(!application.loadConfig(missing));
        QCOMPARE(application.loadConfigFailureReason(), "Error opening file " + missing.toString());
        QCOMPARE(capture.LinesContaining("ERROR: Error opening file " + missing.toString()).size(), 1);
        QCOMPARE(application.currentFilename(), path);
        QFile garbage(FilePath("garbage.xml"));
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("this is not a config") > 0);
        garbage.close();
        QVERIFY(!application.loadConfig(QUrl::fromLocalFile(garbage.fileName())));
        QVERIFY(!application.loadConfigFailureReason().isEmpty());
        QCOMPARE(application.loadConfigFailureReason(), application.currentConfig()->LoadFailureText());
        QCOMPARE(application.currentFilename(), path);
        QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.loadConfigFailureReason(), QString());

        application.createNewConfig();
        QCOMPARE(application.currentFilename(), QString());
        QCOMPARE(LayoutNames(*application.currentConfig()), QStringList({"Layout 1"}));
        QVERIFY(mFolder->remove());
        QCOMPARE(application.lastConfigFilePath(), QString());
    }

    // Running as root passes by folder permissions, so the first row fails for every user.
    void aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty_data()
    {
        QTest::addColumn<bool>("insideAFile");
        QTest::newRow("folder inside a regular file") << true;
        QTest::newRow("folder without write permission") << false;
    }
    void aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty()
    {
        QFETCH(bool, insideAFile);
        const QString path = FilePath("plain/show.xml");
        QFile plain(FilePath("plain"));
        if (!insideAFile && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QVERIFY(insideAFile ? plain.open(QIODevice::WriteOnly)
                            : QDir(mFolder->path()).mkdir("plain") &&
                                  QFile::setPermissions(FilePath("plain"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        cApplication application;
        NewDirtyDocument(application);
        cTraceCapture capture;
        QVERIFY(!application.saveConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.saveConfigFailureReason(), "Error opening file " + path + " for writing");
        QVERIFY(!capture.LinesContaining("ERROR: Error opening file " + path).isEmpty());
        QVERIFY(application.currentConfig()->dirty() && !QFile::exists(path));
        QCOMPARE(application.currentFilename() + application.lastConfigFilePath(), QString());
    }

    // A full disk, as far as this process can tell: no file may grow past 256 bytes.
    void aSaveCutShortLeavesThePreviousFileWhole()
    {
        const QString path = FilePath("show.xml");
        const QByteArray previous = "<KelvariConfig version=\"1.0.0\"/>";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(previous) == previous.size());
        file.close();
        cApplication application;
        NewDirtyDocument(application);
        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 256;
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = application.saveConfig(QUrl::fromLocalFile(path));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);
        QVERIFY(!written && !application.saveConfigFailureReason().isEmpty() && application.currentConfig()->dirty());
        QCOMPARE(application.currentFilename(), QString());
        QCOMPARE(FileBytes(path), previous);
        QCOMPARE(QDir(mFolder->path()).entryList(QDir::Files), QStringList({"show.xml"}));
    }
};

QTEST_MAIN(tst_Application)
#include "tst_Application.moc"

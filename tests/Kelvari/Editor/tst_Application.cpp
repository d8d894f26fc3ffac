#include "ConfigTestData.h"
#include "support/cTraceCapture.h"
#include "support/cWindowTestSupport.h"

#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cWindowGeometry.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

using namespace ConfigTestData;

namespace
{
template <class T> std::unique_ptr<T, decltype(&free)> Own(T* reply) { return {reply, &free}; }

// The X server's side of the program: its visible top-level window, and a close request as the window's
// close button sends it.
struct sX11
{
    ~sX11() { xcb_disconnect(c); }

    xcb_atom_t Atom(const char* name)
    {
        auto reply = Own(xcb_intern_atom_reply(c, xcb_intern_atom(c, false, uint16_t(strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    xcb_window_t VisibleWindowOf(qint64 pid)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        auto tree = Own(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
        const xcb_atom_t pidAtom = Atom("_NET_WM_PID");
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i)
        {
            const xcb_window_t window = xcb_query_tree_children(tree.get())[i];
            auto owner = Own(xcb_get_property_reply(c, xcb_get_property(c, false, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                                                    nullptr));
            auto attributes = Own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
            if (owner && xcb_get_property_value_length(owner.get()) == 4 &&
                *static_cast<const uint32_t*>(xcb_get_property_value(owner.get())) == pid && attributes &&
                attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                return window;
        }
        return 0;
    }

    void RequestClose(xcb_window_t window)
    {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, false, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(c);
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
};

// The names of the process's threads, one a line.
QString ThreadNames(qint64 pid)
{
    QString names;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QFileInfo& task : tasks.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
    {
        QFile comm(task.filePath() + QStringLiteral("/comm"));
        names += comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()) : QString();
    }
    return names;
}
}
// The application object: its tables, settings, windows' geometry, and documents in real files; and the built
// program started as a user starts it, with its settings in a folder of the test's own.
class tst_Application : public QObject
{
    Q_OBJECT

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
    QList<QUrl> mOpened;
    QTemporaryDir mConfigHome;
    QProcess mProgram;

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
    // True once the program has ended by itself; a failure says how it ended.
    bool ProgramEndsNormally()
    {
        if (!mProgram.waitForFinished(20000))
            qWarning("The program did not end: %s", qPrintable(mProgram.errorString()));
        else if (mProgram.exitStatus() == QProcess::CrashExit)
            qWarning("The program was ended by signal %d", mProgram.exitCode());
        return mProgram.state() == QProcess::NotRunning && mProgram.exitStatus() == QProcess::NormalExit;
    }
    // The software renderer keeps the test independent of the X server's GL.
    void StartProgram(const QString& importPath = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", mConfigHome.path());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("QT_QUICK_BACKEND", "software");
        if (!importPath.isEmpty())
            environment.insert("QML2_IMPORT_PATH", importPath);
        mProgram.setProcessEnvironment(environment);
        mProgram.start(KELVARI_EDITOR_PROGRAM, QStringList());
        QVERIFY(mProgram.waitForStarted());
    }
    QByteArray StoredMainWindowGeometry() const
    {
        return QSettings(mConfigHome.filePath("Brelvan/Kelvari Editor.conf"), QSettings::IniFormat).value("SCG").toByteArray();
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
        QSettings(mConfigHome.filePath("Brelvan/Kelvari Editor.conf"), QSettings::IniFormat).clear();
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

    // The protocol document's vectors fix the hashes; what they do not show: a text counts up to its first NUL,
    // and a password keeps its case.
    void hashesReadTextsToTheirFirstNulAndPasswordsWithTheirCase()
    {
        QCOMPARE(cApplication::GetHashedString(QStringLiteral("Ad") + QChar(0) + QStringLiteral("min")),
                 cApplication::GetHashedString("Ad"));
        QVERIFY(cApplication::GetHashedPassword("secret") != cApplication::GetHashedPassword("secreT"));
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
        // The program looks for its guide below its own folder, so the test puts one there and takes it away again.
        const QString contents = QCoreApplication::applicationDirPath() + QStringLiteral("/Contents");
        const QString guide = contents + QStringLiteral("/Resources/Help/Help.pdf");
        const bool madeContents = !QFileInfo::exists(contents);
        const auto takeAway = qScopeGuard([&] {
            QFile::remove(guide);
            if (madeContents)
                QDir(contents).removeRecursively();
        });
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
            QVERIFY(aspect.count() == 1 && !QSettings().contains("ARI"));
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
            QCOMPARE(QVariantList({stored.count(), Stored("U"), Stored("HP").toString()}),
                     QVariantList({1, "stage manager", QString()}));
            application.TestWindowLoginRefused();
            QVERIFY(!application.testWindowPasswordStored());
            application.setTestWindowPassword("tiger");
            application.TestWindowLoginAccepted();
            QCOMPARE(QVariantList({Stored("HP").toString(), stored.count()}), QVariantList({hash, 3}));
            application.setTestWindowRememberLoginDetails(false);
            QCOMPARE(QVariantList({Stored("RLD").toBool(), Stored("U").toString(), Stored("HP").toString()}),
                     QVariantList({false, QString(), QString()}));
            QCOMPARE(application.TestWindowPasswordHash(), hash.toStdString());
            application.setTestWindowRememberLoginDetails(true);
            QCOMPARE(Stored("HP").toString(), hash);
            application.setAdminRememberPassword(false);
            application.setAdminPassword("tiger");
            QVERIFY(application.adminPasswordStored() && Stored("AP").toString().isEmpty());
        }
        const QSettings settings;
        for (const QString& key : settings.allKeys())
            QVERIFY2(!settings.value(key).toString().contains("tiger"), qPrintable(key));
        cApplication application;
        QCOMPARE(application.testWindowUsername() + QString::fromStdString(application.TestWindowPasswordHash()),
                 "stage manager" + hash);
        QVERIFY(!application.adminPasswordStored() && !application.adminRememberPassword());
    }

    // A top corner on a screen keeps everything, however large; both windows' records are fitted when read.
    void geometryRecordsAreBigEndianAndWindowsOffEveryScreenArePulledBack_data()
    {
        const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
        const int w = s.width(), h = s.height();
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("right of every screen") << QRect(s.right() + 5000, s.top() + 10, w / 2, h / 2)
                                               << QRect(w - w / 2, s.top() + 10, w / 2, h / 2);
        QTest::newRow("below every screen") << QRect(s.left() + 10, s.bottom() + 5000, w / 2, h / 2)
                                            << QRect(s.left() + 10, h - h / 2, w / 2, h / 2);
        QTest::newRow("left of every screen") << QRect(s.left() - 5000, s.top() + 10, w / 2, h / 2)
                                              << QRect(0, s.top() + 10, w / 2, h / 2);
        QTest::newRow("off and too large") << QRect(s.right() + 5000, -5000, w * 3, h * 3) << QRect(0, 0, w, h);
        QTest::newRow("corner on the screen") << QRect(s.left(), s.top(), w * 3, h * 3) << QRect(s.left(), s.top(), w * 3, h * 3);
        QTest::newRow("just right of the screen") << QRect(s.right() + 1, s.top() + 10, w, h / 2)
                                                  << QRect(s.left(), s.top() + 10, w, h / 2);
        QTest::newRow("just below the screen") << QRect(s.left() + 10, s.bottom() + 1, w / 2, h)
                                               << QRect(s.left() + 10, s.top(), w / 2, h);
    }
    void geometryRecordsAreBigEndianAndWindowsOffEveryScreenArePulledBack()
    {
        const QByteArray record = cWindowGeometry::Encode(QRect(-2, 3, 1024, 768), 2);
        QCOMPARE(record.toHex(), QByteArray("fffffffe" "00000003" "00000400" "00000300" "00000002"));
        QCOMPARE(Decoded(record), qMakePair(QRect(-2, 3, 1024, 768), 2));
        QCOMPARE(Decoded(record.left(19)), (QPair<QRect, int>()));
        QFETCH(QRect, stored);
        QSettings().setValue("SCG", cWindowGeometry::Encode(stored, 0));
        QSettings().setValue("TSCG", cWindowGeometry::Encode(stored, 0));
        cApplication application;
        QTEST(application.MainWindowGeometry().Applied(), "fitted");
        QTEST(application.TestWindowGeometry().Applied(), "fitted");
    }

    // A damaged or hand-edited settings file: a record that holds no window gives the default one.
    void geometryRecordsHoldingNoWindowAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("no width") << QByteArray::fromHex("00000028" "00000032" "00000000" "0000012c" "00000000");
        QTest::newRow("negative height") << QByteArray::fromHex("00000028" "00000032" "00000190" "fffffed4" "00000000");
        QTest::newRow("both negative") << QByteArray::fromHex("ffffec78" "0000000a" "f8fffe6f" "daffffff" "000e0090");
        QTest::newRow("right edge past the range") << QByteArray::fromHex("7ffffff0" "00000032" "00000400" "0000012c" "00000000");
        QTest::newRow("bottom edge past the range") << QByteArray::fromHex("00000028" "7fffff00" "00000190" "7fffffff" "00000000");
    }
    void geometryRecordsHoldingNoWindowAreIgnored()
    {
        QFETCH(QByteArray, record);
        QCOMPARE(Decoded(record), (QPair<QRect, int>()));
        QSettings().setValue("SCG", record);
        cApplication application;
        QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());
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
        QVERIFY(window.flags().testFlag(Qt::WindowFullscreenButtonHint) && window.windowStates() == Qt::WindowStates());
        QTRY_COMPARE(window.windowStates(), Qt::WindowStates(Qt::WindowMaximized));
    }

    // A window made after the test window, such as a dialog, is not taken for it; its place is stored at exit.
    void theTestWindowIsFollowedOnlyWhileShown()
    {
        {
            cApplication application;
            QWindow mainWindow;
            application.applicationWindowReady();
            QWindow testWindow, dialog;
            application.testApplicationWindowReady(&testWindow);
            QVERIFY(testWindow.geometry() == cWindowGeometry::DefaultGeometry() &&
                    dialog.geometry() != cWindowGeometry::DefaultGeometry());
            testWindow.setPosition(300, 310);
            QTRY_COMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
            QCOMPARE(application.MainWindowGeometry().Applied(), cWindowGeometry::DefaultGeometry());
            application.testApplicationWindowClosed();
            testWindow.setPosition(500, 510);
            QTest::qWait(cWindowGeometry::kSettleMs + 200);
            QCOMPARE(application.TestWindowGeometry().Applied().topLeft(), QPoint(300, 310));
        }
        QCOMPARE(Decoded(Stored("TSCG").toByteArray()), qMakePair(QRect(300, 310, 1024, 768), 0));
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
            QCOMPARE(QVariantList({application.currentFilename(), application.currentConfig()->dirty(),
                                   application.lastConfigFilePath(), Stored("LCL")}),
                     QVariantList({path, false, folderUrl, mFolder->path()}));
            AddLayout(*application.currentConfig(), "Foyer");
            QVERIFY(application.saveConfig() && !application.currentConfig()->dirty());
        }
        cApplication application;
        // The file name, whether the document is dirty, and the reason the last load failed.
        const auto state = [&application] {
            return QVariantList({application.currentFilename(), application.currentConfig()->dirty(),
                                 application.loadConfigFailureReason()});
        };
        QCOMPARE(application.lastConfigFilePath(), folderUrl);
        QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(state(), QVariantList({path, false, QString()}));
        QStringList names = LayoutNames(*application.currentConfig());
        names.sort();
        QCOMPARE(names, QStringList({"Foyer", "Layout 1", "Stage"}));
        cTraceCapture capture;
        const QUrl missing = QUrl::fromLocalFile(FilePath("missing.xml"));
        QVERIFY(!application.loadConfig(missing));
        QCOMPARE(state(), QVariantList({path, false, "Error opening file " + missing.toString()}));
        QCOMPARE(capture.LinesContaining("ERROR: Error opening file " + missing.toString()).size(), 1);
        QVERIFY(!application.loadConfig(QUrl::fromLocalFile(TEST_DATA_DIR "/README.md")));
        QVERIFY(!application.loadConfigFailureReason().isEmpty());
        QCOMPARE(state(), QVariantList({path, false, application.currentConfig()->LoadFailureText()}));
        QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.loadConfigFailureReason(), QString());
        application.createNewConfig();
        QCOMPARE(LayoutNames(*application.currentConfig()) << application.currentFilename(), QStringList({"Layout 1", ""}));
        QVERIFY(mFolder->remove());
        QCOMPARE(application.lastConfigFilePath(), QString());
    }

    void filesOpenWithTheTextTheyHold_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::newRow("UTF-16 LE") << "UTF-16LE";
        QTest::newRow("UTF-16 BE") << "UTF-16BE";
        QTest::newRow("UTF-8") << "UTF-8";
    }

    // Characters whose UTF-16 form holds a carriage return byte, and a lone carriage return, which XML reads
    // as a line end, come through an open as the file holds them.
    void filesOpenWithTheTextTheyHold()
    {
        QFETCH(QString, encoding);
        const QString name = QString::fromUtf8("Cue \u4E0D \u010D");
        const QString xml = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?><KelvariConfig version=\"1.0.0\"><Layouts>"
                            "<Layout name=\"" + name + "\"><Widget id=\"1\" type=\"future\" width=\"1\" height=\"1\">"
                            "<Note>" + name + "\ra</Note></Widget></Layout></Layouts></KelvariConfig>";
        QByteArray bytes = xml.toUtf8();
        if (encoding != "UTF-8")
        {
            const bool little = encoding == "UTF-16LE";
            bytes = little ? "\xFF\xFE" : "\xFE\xFF";
            for (const QChar character : xml)
            {
                const char high = char(character.unicode() >> 8);
                const char low = char(character.unicode() & 0xFF);
                bytes.append(little ? low : high).append(little ? high : low);
            }
        }
        const QString path = FilePath("encoded.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        cApplication application;
        QVERIFY2(application.loadConfig(QUrl::fromLocalFile(path)), qPrintable(application.loadConfigFailureReason()));
        QCOMPARE(LayoutNames(*application.currentConfig()), QStringList{name});
        QByteArray written;
        QVERIFY(application.currentConfig()->WriteXml(written));
        QVERIFY2(written.contains("<Note>" + name.toUtf8() + "\na</Note>"), written.constData());
    }

    // Opening a file that the document cannot hold whole says what was left out and changed; the file saved
    // then opens with nothing to say, as does a new document.
    void aLoadThatLeavesPartsOutSaysWhat()
    {
        QByteArray wide;
        QBuffer buffer(&wide);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && QImage(2049, 1, QImage::Format_RGB32).save(&buffer, "PNG"));
        const QString path = FilePath("parts.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"A\"><Widget id=\"1\" type=\"rect\" width=\"1\" "
                   "height=\"1\"/><Widget id=\"1\" type=\"image\" width=\"1\" height=\"1\" resourceId=\"0\"/></Layout></Layouts>"
                   "<Resources><Resource id=\"0\" type=\"image\" name=\"wide.png\" subtype=\"png\">" + wide.toBase64() +
                   "</Resource></Resources></KelvariConfig>");
        file.close();
        cApplication application;
        QSignalSpy changes(&application, &cApplication::loadConfigReportChanged);
        QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.loadConfigReport(), QString("1 picture larger than 2048 x 1080 left out: wide.png\n"
                                                         "Saving writes the file without them.\n"
                                                         "1 widget given a new id, as an earlier widget had theirs"));
        QVERIFY(application.saveConfig() && application.loadConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.loadConfigReport(), QString());
        QCOMPARE(changes.count(), 2);
    }

    // A folder inside a regular file fails for every user, root included.
    void aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty()
    {
        const QString path = FilePath("plain/show.xml");
        QFile plain(FilePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        cApplication application;
        NewDirtyDocument(application);
        cTraceCapture capture;
        QVERIFY(!application.saveConfig(QUrl::fromLocalFile(path)) &&
                !capture.LinesContaining("ERROR: Error opening file " + path).isEmpty());
        QCOMPARE(application.saveConfigFailureReason(), "Error opening file " + path + " for writing");
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
        QCOMPARE(application.currentFilename() + FileBytes(path), QString(previous));
        QCOMPARE(QDir(mFolder->path()).entryList(QDir::Files), QStringList({"show.xml"}));
    }

    // Thread names are cut to 15 bytes by the kernel; the main page binds to the application object without
    // a warning; the window opened and closed at the default geometry.
    void theProgramRunsItsLayerAndStoresItsGeometryWhenClosed()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that the test command starts");
        sX11 x11;
        QVERIFY(!xcb_connection_has_error(x11.c));
        StartProgram();
        const qint64 pid = mProgram.processId();
        xcb_window_t window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = x11.VisibleWindowOf(pid)) != 0, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(ThreadNames(pid).contains("ActionTickThrea\n"), 10000);
        QVERIFY2(ThreadNames(pid).contains("SyscallPoll\n"), qPrintable(ThreadNames(pid)));
        x11.RequestClose(window);
        QVERIFY(ProgramEndsNormally());
        QCOMPARE(mProgram.exitCode(), 0);
        const QString output = QString::fromUtf8(mProgram.readAllStandardOutput());
        QVERIFY2(!output.contains("ERROR") && output.contains("ZRNet layer stopped"), qPrintable(output));
        const QString errors = QString::fromUtf8(mProgram.readAllStandardError());
        QVERIFY2(!errors.contains("qrc:/"), qPrintable(errors));
        QRect geometry;
        int state = -1;
        QVERIFY(cWindowGeometry::Decode(StoredMainWindowGeometry(), geometry, state) && state == 0);
        QCOMPARE(geometry, cWindowGeometry::DefaultGeometry());
    }

    // Seen through a QML module that cannot load, as on an installation that lacks one.
    void aMainPageThatCannotLoadEndsWithMinusOneAndNeverStartsTheLayer()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that the test command starts");
        QTemporaryDir imports;
        QVERIFY(QDir(imports.path()).mkpath("QtQuick.2"));
        QFile qmldir(imports.filePath("QtQuick.2/qmldir"));
        QVERIFY(qmldir.open(QIODevice::WriteOnly) && qmldir.write("module QtQuick\nplugin kelvari_missing_module\n") > 0);
        qmldir.close();
        StartProgram(imports.path());
        QVERIFY(ProgramEndsNormally());
        QCOMPARE(qint8(mProgram.exitCode()), qint8(-1));
        const QString output = QString::fromUtf8(mProgram.readAllStandardOutput());
        QVERIFY2(!output.contains("ZRNet layer") && !output.contains("ERROR"), qPrintable(output));
        QCOMPARE(StoredMainWindowGeometry().size(), cWindowGeometry::kRecordBytes);
    }
};

QTEST_MAIN(tst_Application)
#include "tst_Application.moc"

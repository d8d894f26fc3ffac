#include "ConfigTestData.h"
#include "support/cOnlineTestSupport.h"
#include "support/cSimulatedUnit.h"
#include "support/cTraceCapture.h"
#include "support/cWindowTestSupport.h"

#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cWindowGeometry.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QRandomGenerator>
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
const QString kUser = cOnlineTestSupport::User();
const QString kPassword = cOnlineTestSupport::Password();
const QString kHash = QString::fromStdString(cApplication::GetHashedPassword(kPassword));

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

// The application object: its tables, settings, windows' geometry, and documents in real files; the built
// program started as a user starts it, with its settings in a folder of the test's own; and against
// the simulated unit, uploads and downloads with their outcomes, reasons and progress, pages going live with the
// test window's login, the passwords remembered, and that neither leaves its client behind.
class tst_Application : public QObject
{
    Q_OBJECT

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
    QList<QUrl> mOpened;
    std::unique_ptr<cSimulatedUnit> mUnit;
    std::unique_ptr<cApplication> mApplication;
    cLayout* mLayout = nullptr;
    // The application's outcome signals, in the order they came.
    QStringList mOutcomes;
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

    static bool NoClientLeft() { return cOnlineTestSupport::NoClientLeft(); }
    bool WaitForOutcomes(int count) { return QTest::qWaitFor([&] { return mOutcomes.size() >= count; }, 8000); }
    QByteArray DocumentXml()
    {
        QByteArray bytes;
        mApplication->currentConfig()->WriteXml(bytes);
        return bytes;
    }
    // The unit knows both logins; the application takes the password for both.
    bool Start(const QStringList& unitArguments = {}, const QString& password = kPassword)
    {
        mUnit = std::make_unique<cSimulatedUnit>(QStringList{"--admin-password-hash", kHash, "--test-window-user",
                                                             kUser, "--test-window-password-hash", kHash} +
                                                 unitArguments);
        if (!mUnit->Start())
            return false;
        Application();
        mApplication->StartZRNet();
        cNetworkConnection::Instance()->SetUnitTcpPort(mUnit->TcpPort());
        mApplication->connectionInterface()->connectToHostByIpAddress(QStringLiteral("127.0.0.1"));
        mApplication->setAdminPassword(password);
        mApplication->setTestWindowUsername(kUser);
        mApplication->setTestWindowPassword(password);
        return true;
    }
    void Application()
    {
        mApplication = std::make_unique<cApplication>();
        for (const char* outcome : {SIGNAL(uploadConfigSuccessful()), SIGNAL(uploadConfigFailed()),
                                    SIGNAL(downloadConfigSuccessful()), SIGNAL(downloadConfigFailed())})
            connect(mApplication.get(), outcome, this, SLOT(Outcome()));
        mApplication->createNewConfig();
        mLayout = mApplication->currentConfig()->Layouts().Items().first();
    }
    // A picture of noise, so that the document's XML spans several chunks.
    void MakeDocumentLarge()
    {
        QImage noise(200, 200, QImage::Format_RGB32);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.bits()), noise.sizeInBytes() / 4);
        const QString path = mFolder->filePath(QStringLiteral("noise.png"));
        QVERIFY(noise.save(path));
        QVERIFY(!mApplication->currentConfig()->addNewImage(QUrl::fromLocalFile(path)).isEmpty());
        QVERIFY(DocumentXml().size() > 3 * 32000);
    }
    cWidget* Add(const char* type, cWidget* container = nullptr, int location = -1)
    {
        auto* widget = qobject_cast<cWidget*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.2f, 0.2f));
        mLayout->closeUndoBlock();
        return widget;
    }
    bool GoOnline()
    {
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        return QTest::qWaitFor([this] { return mLayout->IsOnline(); }, 8000);
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
    void Outcome() { mOutcomes << sender()->metaObject()->method(senderSignalIndex()).name(); }

private slots:
    void initTestCase() { cWindowTestSupport::UseProgramSetup(mSettingsFolder.path()); }
    void init()
    {
        QSettings().clear();
        mFolder = std::make_unique<QTemporaryDir>();
        mOpened.clear();
        mOutcomes.clear();
        QSettings(mConfigHome.filePath("Brelvan/Kelvari Editor.conf"), QSettings::IniFormat).clear();
    }
    void cleanup()
    {
        mApplication.reset();
        mUnit.reset();
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
        QVERIFY(window.flags().testFlag(Qt::WindowFullscreenButtonHint) && window.windowStates() == Qt::WindowStates());
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
        QVERIFY(mProgram.waitForFinished(20000) && mProgram.exitStatus() == QProcess::NormalExit);
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
        QVERIFY(mProgram.waitForFinished(20000) && mProgram.exitStatus() == QProcess::NormalExit);
        QCOMPARE(qint8(mProgram.exitCode()), qint8(-1));
        const QString output = QString::fromUtf8(mProgram.readAllStandardOutput());
        QVERIFY2(!output.contains("ZRNet layer") && !output.contains("ERROR"), qPrintable(output));
        QCOMPARE(StoredMainWindowGeometry().size(), cWindowGeometry::kRecordBytes);
    }

    // Every upload starts the bar from nothing, also after one that ended at 1.
    void anUploadStoresTheDocumentOnTheUnit()
    {
        const QString uploaded = mFolder->filePath(QStringLiteral("uploaded"));
        QVERIFY(Start({"--upload-file", uploaded}));
        MakeDocumentLarge();
        QVector<float> progress;
        connect(mApplication.get(), &cApplication::uploadProgressChanged, this,
                [&] { progress << mApplication->uploadProgress(); });
        for (int upload = 1; upload <= 2; ++upload)
        {
            progress.clear();
            mApplication->uploadConfig();
            QCOMPARE(mApplication->uploadProgress(), 0.0f);
            QVERIFY(WaitForOutcomes(upload));
            QCOMPARE(mOutcomes.last(), QString("uploadConfigSuccessful"));
            QVERIFY(NoClientLeft());
            QCOMPARE(FileBytes(uploaded), DocumentXml());
            QVERIFY(progress.size() >= 3 && progress.last() == 1.0f && std::is_sorted(progress.begin(), progress.end()));
        }
        QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), 2);
    }

    void uploadFailuresSayWhy_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        QTest::newRow("wrong password") << QStringList() << "guess" << "Incorrect password";
        QTest::newRow("busy unit") << QStringList{"--busy"} << kPassword << "Another upload was already in progress";
        QTest::newRow("connection dropped mid-way") << QStringList{"--drop-after-chunk", "1"} << kPassword
                                                    << "The connection to the Dorvel was lost during the upload";
        QTest::newRow("unit error") << QStringList{"--unit-error"} << kPassword
                                    << "Dorvel encountered an error while processing the upload";
        QTest::newRow("document cannot be written") << QStringList() << kPassword
                                                    << "The config could not be written for the upload";
    }
    void uploadFailuresSayWhy()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        QVERIFY(Start(arguments, password));
        MakeDocumentLarge();
        const bool unwritable = reason.contains("written");
        cConfig* config = mApplication->currentConfig();
        if (unwritable)
            config->InsertNewResource(new cImageResource(config, "90", "x", QImage(), "<svg/>", QString(QChar(1)), config));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(1));
        QCOMPARE(mApplication->uploadConfigFailureReason(), reason);
        QVERIFY(NoClientLeft());
        QTest::qWait(100);
        QCOMPARE(mOutcomes, QStringList{"uploadConfigFailed"});
        if (password != kPassword || unwritable)
            QCOMPARE(mUnit->Reports(), QStringList{unwritable ? "LOGIN accepted" : "LOGIN refused"});
    }

    // A failure before the file is read keeps the document and its file name; a downloaded document, or one
    // that cannot be read, has no file behind it.
    void downloadsReplaceTheDocumentOrSayWhyNot_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("storedConfig");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("kept");
        QTest::newRow("stored config") << QStringList()
                                       << QByteArray("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"Remote\"/>"
                                                     "</Layouts></KelvariConfig>") << QString() << false;
        QTest::newRow("no stored config") << QStringList() << QByteArray() << "Unit does not have a stored configuration"
                                          << true;
        QTest::newRow("unit error") << QStringList{"--unit-error"} << QByteArray("<KelvariConfig/>")
                                    << "Dorvel encountered an error while processing the download" << true;
        QTest::newRow("stored config is not a config") << QStringList() << QByteArray("<Other/>")
                                                       << "Invalid config data file" << false;
    }
    void downloadsReplaceTheDocumentOrSayWhyNot()
    {
        QFETCH(QByteArray, storedConfig);
        QFETCH(QString, reason);
        QFETCH(bool, kept);
        QFile stored(mFolder->filePath(QStringLiteral("stored.xml")));
        QVERIFY(storedConfig.isEmpty() || (stored.open(QIODevice::WriteOnly) && stored.write(storedConfig) > 0));
        stored.close();
        QFETCH(QStringList, arguments);
        QVERIFY(Start(storedConfig.isEmpty() ? arguments : arguments + QStringList{"--stored-config", stored.fileName()}));
        AddLayout(*mApplication->currentConfig(), QStringLiteral("Local"));
        const QString local = mFolder->filePath(QStringLiteral("local.xml"));
        QVERIFY(mApplication->saveConfig(QUrl::fromLocalFile(local)));
        const QByteArray before = DocumentXml();
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(1));
        QVERIFY(NoClientLeft());
        QCOMPARE(mOutcomes, QStringList{reason.isEmpty() ? "downloadConfigSuccessful" : "downloadConfigFailed"});
        QTEST(mApplication->downloadConfigFailureReason(), "reason");
        QCOMPARE(mApplication->currentFilename(), kept ? local : QString());
        if (kept)
            QCOMPARE(DocumentXml(), before);
        else if (reason.isEmpty())
            QCOMPARE(LayoutNames(*mApplication->currentConfig()), QStringList{"Remote"});
    }

    // A start while a transfer runs is refused and leaves it alone; a second end signal of the same client,
    // or one of a client whose transfer has ended, is dropped, also when a new transfer was started from the
    // outcome's handler.
    void aRunningTransferIgnoresSecondStartsAndLateSignals()
    {
        QVERIFY(Start());
        QVector<float> progress;
        connect(mApplication.get(), &cApplication::uploadProgressChanged, this,
                [&] { progress << mApplication->uploadProgress(); });
        QString firstReason;
        connect(mApplication.get(), &cApplication::uploadConfigFailed, this, [&] {
            firstReason = mApplication->uploadConfigFailureReason();
            mApplication->uploadConfig();
        });
        mApplication->uploadConfig();
        cKelvariConfigClient* first = mApplication->findChild<cKelvariConfigClient*>();
        QVERIFY(first);
        mApplication->uploadConfig();
        mApplication->downloadConfig();
        QCOMPARE(mApplication->findChildren<cKelvariConfigClient*>(), QList<cKelvariConfigClient*>{first});
        emit first->UploadConfigFailed();
        emit first->UploadConfigSuccessful();
        emit first->UploadProgress(0.5f);
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(firstReason, QString("Unknown error"));
        QVERIFY(!progress.contains(0.5f));
        QCOMPARE(mApplication->uploadProgress(), 1.0f);
        QTest::qWait(100);
        QCOMPARE(mOutcomes, (QStringList{"uploadConfigFailed", "uploadConfigSuccessful"}));
        QVERIFY(NoClientLeft());
        QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), 1);
    }

    // A refused password is forgotten, in memory and in the store, so that the next transfer or page asks
    // again; an accepted one is stored, and survives a later refusal of a newly typed password.
    void onlyPasswordsTheUnitAcceptedAreRemembered()
    {
        QVERIFY(Start({}, QStringLiteral("guess")));
        const auto stored = [](const char* key) { return QSettings().value(key).toString(); };
        QVERIFY(mApplication->adminPasswordStored());
        QCOMPARE(stored("AP"), QString());
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(1));
        QCOMPARE(mApplication->uploadConfigFailureReason(), QString("Incorrect password"));
        QCOMPARE(QVariantList({mApplication->adminPasswordStored(), stored("AP")}), QVariantList({false, QString()}));
        mApplication->setAdminPassword(kPassword);
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(stored("AP"), kHash);
        mApplication->setAdminPassword(QStringLiteral("typo"));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(3));
        QCOMPARE(QVariantList({mApplication->adminPasswordStored(), stored("AP"), mOutcomes.last()}),
                 QVariantList({false, kHash, "uploadConfigFailed"}));

        QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 8000);
        QTest::qWait(200);
        QVERIFY(refused.count() == 1 && !mLayout->IsOnline() && !NoClientLeft());
        QCOMPARE(QVariantList({mApplication->testWindowPasswordStored(), stored("HP")}), QVariantList({false, QString()}));
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
        mApplication->setTestWindowPassword(kPassword);
        QCOMPARE(stored("HP"), QString());
        QVERIFY(GoOnline());
        QCOMPARE(stored("HP"), kHash);
        mLayout->setOffline();
    }

    // Cancel ends a transfer that the unit stopped answering at once, with its client and without an
    // outcome, and the next transfer can start.
    void aStalledUploadCanBeCancelled()
    {
        QVERIFY(Start({"--stall-after-chunk", "0"}));
        MakeDocumentLarge();
        mApplication->cancelTransfer();
        mApplication->uploadConfig();
        QTRY_VERIFY_WITH_TIMEOUT(!mUnit->Reports().filter(QStringLiteral("CHUNK index=0")).isEmpty(), 8000);
        QTest::qWait(200);
        QVERIFY(mOutcomes.isEmpty());
        mApplication->cancelTransfer();
        QVERIFY(NoClientLeft());
        QTest::qWait(200);
        QVERIFY(mOutcomes.isEmpty());
        mApplication->downloadConfig();
        QVERIFY(mApplication->findChild<cKelvariConfigClient*>());
        mApplication->cancelTransfer();
        QVERIFY(NoClientLeft());
    }

    void withoutTheMessagingLayerATransferFailsAtOnce()
    {
        Application();
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(1));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(mOutcomes, (QStringList{"downloadConfigFailed", "uploadConfigFailed"}));
        QCOMPARE(mApplication->downloadConfigFailureReason(), QString("Unknown error"));
    }

    // A widget deleted while online still lets go of the client with the page.
    void widgetsThatComeWhileOnlineGoOnline()
    {
        QVERIFY(Start());
        cWidget* deleted = Add("zrnet_rotary");
        cWidget* tabs = Add("tab_container");
        QVERIFY(GoOnline());
        cWidget* dropped = Add("zrnet_led", tabs, 0);
        QVERIFY(dropped->IsOnline() && dropped->IsDisabled());
        mLayout->selectionManager()->setSelection(tabs);
        mLayout->copyPressed();
        const int before = mLayout->findChildren<cWidget*>().size();
        mLayout->pastePressed();
        QCOMPARE(mLayout->findChildren<cWidget*>().size(), before + 2);
        for (const cWidget* widget : mLayout->findChildren<cWidget*>())
            QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
        mLayout->selectionManager()->setSelection(deleted);
        mLayout->deletePressed();
        QVERIFY(deleted->IsOnline());
        mLayout->undoPressed();
        QVERIFY(mLayout->GetWidgets()->contains(deleted) && deleted->IsOnline());
        mLayout->selectionManager()->setSelection(deleted);
        mLayout->deletePressed();
        mLayout->setOffline();
        QVERIFY(!deleted->IsOnline() && !dropped->IsOnline());
        QVERIFY(NoClientLeft());
        QVERIFY(GoOnline());
        mLayout->undoPressed();
        QVERIFY(deleted->IsOnline() && deleted->IsDisabled());
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
    }

    // Without a config manager the page stays offline with no client left at once.
    void withoutAConfigManagerThePageStaysOffline()
    {
        QVERIFY(Start({"--no-config-manager"}));
        cWidget* fader = Add("zrnet_fader");
        QSignalSpy notFound(mLayout, &cLayout::configClientNotFound);
        QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QTRY_COMPARE_WITH_TIMEOUT(notFound.count(), 1, 8000);
        QTest::qWait(200);
        QVERIFY(notFound.count() == 1 && refused.isEmpty() && !mLayout->IsOnline() && !fader->IsOnline());
        QVERIFY(NoClientLeft());
    }

    // setOffline during the seek, or a second setOnline, leaves the older client's answers without effect:
    // a stopped page never goes live.
    void onlyTheNewestClientCounts()
    {
        QVERIFY(Start());
        cWidget* fader = Add("zrnet_fader");
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
        QTest::qWait(500);
        QVERIFY(!mLayout->IsOnline() && !fader->IsOnline());
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QVERIFY(GoOnline());
        QTest::qWait(200);
        QCOMPARE(mUnit->Reports().filter("LOGIN").size(), 1);
        QVERIFY(fader->IsOnline());
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
    }
};

QTEST_MAIN(tst_Application)
#include "tst_Application.moc"

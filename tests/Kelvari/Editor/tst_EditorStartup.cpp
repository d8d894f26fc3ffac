#include "Kelvari/Editor/cWindowGeometry.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

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
    for (const QFileInfo& task : QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
    {
        QFile comm(task.filePath() + QStringLiteral("/comm"));
        names += comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()) : QString();
    }
    return names;
}
}

// The built program, started as a user starts it, with its settings in a folder of the test's own.
class tst_EditorStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir mConfigHome;
    QProcess mProgram;

    // The software renderer keeps the test independent of the X server's GL.
    void Start(const QString& importPath = QString())
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

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that the test command starts");
    }
    void init() { QSettings(mConfigHome.filePath("Brelvan/Kelvari Editor.conf"), QSettings::IniFormat).clear(); }

    // Thread names are cut to 15 bytes by the kernel; the main page binds to the application object without
    // a warning; the window opened and closed at the default geometry.
    void theProgramRunsItsLayerAndStoresItsGeometryWhenClosed()
    {
        sX11 x11;
        QVERIFY(!xcb_connection_has_error(x11.c));
        Start();
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
        QTemporaryDir imports;
        QVERIFY(QDir(imports.path()).mkpath("QtQuick.2"));
        QFile qmldir(imports.filePath("QtQuick.2/qmldir"));
        QVERIFY(qmldir.open(QIODevice::WriteOnly) && qmldir.write("module QtQuick\nplugin kelvari_missing_module\n") > 0);
        qmldir.close();
        Start(imports.path());
        QVERIFY(mProgram.waitForFinished(20000) && mProgram.exitStatus() == QProcess::NormalExit);
        QCOMPARE(qint8(mProgram.exitCode()), qint8(-1));
        const QString output = QString::fromUtf8(mProgram.readAllStandardOutput());
        QVERIFY2(!output.contains("ZRNet layer") && !output.contains("ERROR"), qPrintable(output));
        QCOMPARE(StoredMainWindowGeometry().size(), cWindowGeometry::kRecordBytes);
    }
};

QTEST_GUILESS_MAIN(tst_EditorStartup)
#include "tst_EditorStartup.moc"

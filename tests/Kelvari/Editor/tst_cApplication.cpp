#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cKelvariFonts.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cTraceCapture.h"

#include <QDesktopServices>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QKeyEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

// Receives what the desktop is asked to open.
class cUrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> mUrls;

public slots:
    void Open(const QUrl& url) { mUrls << url; }
};

// The root object apart from its documents and settings.
class tst_cApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionsAndFontCodes();
    void hashedStringsAreKeccak512InBase64();
    void theLayerRunsBetweenStartAndTheEndOfTheApplication();
    void everyWidgetTypeHasItsComponentNameAndModel();
    void textContrast();
    void ctrlHeldFollowsTheControlKeyInEveryWindow();
    void helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot_data();
    void helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot();
    void selectionTypesAreKnownToQmlButNotCreatable();
    void meterBarsAndSourceListsAreKnownToQml();

private:
    QTemporaryDir mSettingsFolder;
};

void tst_cApplication::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
}

void tst_cApplication::versionsAndFontCodes()
{
    cApplication application;
    QCOMPARE(application.property("version").toString(), QStringLiteral("1.0.1"));
    QCOMPARE(application.property("fullVersion").toString(), QStringLiteral("V1.0.1 - Rev. 50124"));
    QCOMPARE(application.fontCodes(), cKelvariFonts::mFontCodesToNames.keys());
    QCOMPARE(application.fontCodeToName(QStringLiteral("lato")), QStringLiteral("Lato"));
    QCOMPARE(application.fontCodeToName(QStringLiteral("no-such-font")), QString());
}

void tst_cApplication::hashedStringsAreKeccak512InBase64()
{
    const auto hash = [](const QString& text) { return QByteArray::fromStdString(cApplication::GetHashedString(text)); };
    const auto password = [](const QString& text) { return cApplication::GetHashedPassword(text); };
    // The Keccak-512 digest of no bytes, which differs from SHA3-512's ("a69f73cc...").
    QCOMPARE(hash(QString()), QByteArray::fromHex("0eab42de4c3ceb9235fc91acffe746b29c29a8c366b7c60e4e67c466f36a4304"
                                                  "c00fa9caf9d87976ba469bcbe06713b435f091ef2769fb160cdab33d3670680e")
                                  .toBase64());
    QCOMPARE(hash(QStringLiteral("Admin")).size(), 88);
    QVERIFY(hash(QStringLiteral("Admin")) != hash(QStringLiteral("admin")));
    // The text counts up to its first NUL.
    QCOMPARE(hash(QStringLiteral("Ad") + QChar(0) + QStringLiteral("min")), hash(QStringLiteral("Ad")));

    // Passwords count up to their first sixteen characters, blank-padded.
    QCOMPARE(password(QString()), std::string());
    QCOMPARE(password(QStringLiteral("secret")), password(QStringLiteral("secret          ")));
    QCOMPARE(password(QStringLiteral("0123456789abcdefXYZ")), password(QStringLiteral("0123456789abcdef")));
    QVERIFY(password(QStringLiteral("secret")) != password(QStringLiteral("secreT")));
}

void tst_cApplication::theLayerRunsBetweenStartAndTheEndOfTheApplication()
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
    QVERIFY2(capture.LinesContaining(QStringLiteral("ERROR")).isEmpty(), qPrintable(capture.Lines().join('\n')));
}

void tst_cApplication::everyWidgetTypeHasItsComponentNameAndModel()
{
    cApplication application;
    QCOMPARE(application.getQmlUrlForType(QStringLiteral("zrnet_fader")), QStringLiteral("../Widgets/ZRNetFader.qml"));
    QCOMPARE(application.getWidgetName(cWidget::mMultipleTypeName), QStringLiteral("Multiple"));
    QCOMPARE(application.getQmlUrlForType(QStringLiteral("no_such_type")),
             QStringLiteral("../Widgets/UnknownWidget.qml"));
    QCOMPARE(application.getWidgetName(QStringLiteral("no_such_type")), QString());
    // Every row's component, and the fallback, is carried in the resources, relative to a page one folder down.
    QVERIFY(QFile::exists(QStringLiteral(":/Pages/../Widgets/UnknownWidget.qml")));
    for (const cToolboxWidget* row : application.AllWidgets().Items())
        QVERIFY2(QFile::exists(QStringLiteral(":/Pages/") + row->qmlUrl()), qPrintable(row->qmlUrl()));
    const auto types = [](QQmlObjectListModelBase* model) {
        QStringList list;
        for (int i = 0; i < model->count(); ++i)
            list << model->get(i)->property("widgetType").toString();
        return list;
    };
    const QStringList generic = types(application.genericWidgets());
    const QStringList nonGeneric = types(application.allNonGenericWidgets());
    QCOMPARE(generic, QStringList({"image", "text", "tab_container", "rect"}));
    QCOMPARE(nonGeneric.size(), 9);
    QCOMPARE(nonGeneric.filter(QRegularExpression("^zrnet_")), nonGeneric);
    QCOMPARE(types(application.allAvailableWidgets()), generic + nonGeneric);
    QCOMPARE(application.supportedUnits(), QStringList({"Oskel Dorvel", "Halvor Dorvel", "Pemra Dorvel"}));
}

void tst_cApplication::textContrast()
{
    cApplication application;
    const QColor white(Qt::white), black(Qt::black), red(Qt::red);
    QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, black), 21.0));
    QVERIFY(qFuzzyCompare(cApplication::GetContrastRatio(black, white), 1.0 / 21.0));
    // An opaque foreground hides the background; a transparent one shows only the background.
    QCOMPARE(application.getTextColourRatio(white, red, black), application.getTextColourRatio(white, red));
    QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, QColor(255, 0, 0, 0), black), 21.0));
    // 101 at half opacity over black composes to 50.7, which is truncated to 50.
    QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, QColor(101, 101, 101, 128), black),
                          cApplication::GetContrastRatio(white, QColor(50, 50, 50))));
}

void tst_cApplication::ctrlHeldFollowsTheControlKeyInEveryWindow()
{
    cApplication application;
    qApp->installEventFilter(&application);
    QWindow window;
    QSignalSpy changes(&application, &cApplication::ctrlHeldChanged);
    // As the window system reports them: the state before each key, Ctrl's own key included.
    const auto key = [&window](QEvent::Type type, int code, Qt::KeyboardModifiers state) {
        QKeyEvent event(type, code, state);
        QCoreApplication::sendEvent(&window, &event);
    };
    key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    QVERIFY(application.ctrlHeld());
    key(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    key(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(application.ctrlHeld());
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    QVERIFY(!application.ctrlHeld());
    QCOMPARE(changes.count(), 2);
}

void tst_cApplication::helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot_data()
{
    QTest::addColumn<bool>("guideExists");
    QTest::addColumn<bool>("viewerExists");
    QTest::addColumn<QString>("reason");
    QTest::newRow("shown") << true << true << QString();
    QTest::newRow("guide missing") << false << true << "The user guide %1 is missing";
    // No program on the search path that could open a document.
    QTest::newRow("no viewer") << true << false << "No program to show PDF files could open the user guide %1";
}

void tst_cApplication::helpOpensTheGuideBelowTheProgramsFolderOrSaysWhyNot()
{
    QFETCH(bool, guideExists);
    QFETCH(bool, viewerExists);
    QFETCH(QString, reason);
    const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/Contents/Resources/Help/Help.pdf");
    QFile::remove(guide);
    if (guideExists)
    {
        QVERIFY(QDir().mkpath(QFileInfo(guide).path()));
        QFile file(guide);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    cUrlRecorder recorder;
    if (viewerExists)
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "");
    cApplication application;
    QSignalSpy failed(&application, &cApplication::helpFailed);
    application.openHelp();
    qputenv("PATH", path);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QFile::remove(guide);

    QCOMPARE(application.helpFailureReason(), reason.isEmpty() ? QString() : reason.arg(guide));
    QCOMPARE(failed.count(), reason.isEmpty() ? 0 : 1);
    QCOMPARE(recorder.mUrls, reason.isEmpty() ? QList<QUrl>{QUrl::fromLocalFile(guide)} : QList<QUrl>());
}

void tst_cApplication::selectionTypesAreKnownToQmlButNotCreatable()
{
    cApplication application;
    QVERIFY(QMetaType::type("QQmlObjectListModel<cGroupProperty>*") != QMetaType::UnknownType);
    QQmlEngine engine;
    QQmlComponent holder(&engine);
    holder.setData("import QtQuick 2.12\nimport ZRItems 1.0\nItem { property LayoutSelectionManager manager }", QUrl());
    QVERIFY2(holder.isReady(), qPrintable(holder.errorString()));
    QQmlComponent creator(&engine);
    creator.setData("import ZRItems 1.0\nLayoutSelectionManager {}", QUrl());
    QVERIFY(creator.errorString().contains("Should not be created in qml"));
}

void tst_cApplication::meterBarsAndSourceListsAreKnownToQml()
{
    cApplication application;
    QVERIFY(QMetaType::type("QQmlObjectListModel<cSourceInfo>*") != QMetaType::UnknownType);
    QQuickView view;
    view.setSource(
        QUrl("data:text/plain,import QtQuick 2.12\nimport ZRQml 1.0\n"
             "MeterClipItem { width: 10; height: 100; colour: \"red\"; level: 0.25 }"));
    QVERIFY2(view.status() == QQuickView::Ready, qPrintable(view.errors().value(0).toString()));
    view.rootObject()->setProperty("level", 7);
    QCOMPARE(view.rootObject()->property("level").toReal(), 1.0);
    view.rootObject()->setProperty("level", 0.25);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QSharedPointer<QQuickItemGrabResult> grab = view.rootObject()->grabToImage();
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    QVERIFY(ready.wait());
    QCOMPARE(grab->image().pixelColor(5, 90), QColor(Qt::red));
    QVERIFY(grab->image().pixelColor(5, 60) != QColor(Qt::red));
}

QTEST_MAIN(tst_cApplication)
#include "tst_cApplication.moc"

#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cKelvariFonts.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cTraceCapture.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>

// Receives what the desktop is asked to open.
class cUrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> mUrls;

public slots:
    void Open(const QUrl& url) { mUrls << url; }
};

// The root object apart from its documents and settings: version, fonts,
// hashing, the ZRNet layer's life, the widget type table, contrast, the Ctrl
// key and the help document.
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
    void helpOpensTheGuideBelowTheProgramsFolder();

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
    QVERIFY(application.fontCodes().contains(QStringLiteral("lato")));
    QCOMPARE(application.fontCodeToName(QStringLiteral("lato")), QStringLiteral("Lato"));
    QCOMPARE(application.fontCodeToName(QStringLiteral("no-such-font")), QString());
    QCOMPARE(application.connectionInterface()->parent(), &application);
}

void tst_cApplication::hashedStringsAreKeccak512InBase64()
{
    // The Keccak-512 digest of no bytes, which differs from SHA3-512's ("a69f73cc...").
    const QByteArray emptyDigest = QByteArray::fromHex(
        "0eab42de4c3ceb9235fc91acffe746b29c29a8c366b7c60e4e67c466f36a4304"
        "c00fa9caf9d87976ba469bcbe06713b435f091ef2769fb160cdab33d3670680e");
    QCOMPARE(QByteArray::fromStdString(cApplication::GetHashedString(QString())), emptyDigest.toBase64());

    const std::string admin = cApplication::GetHashedString(QStringLiteral("Admin"));
    QCOMPARE(admin.size(), size_t(88));
    QVERIFY(QByteArray::fromStdString(admin).endsWith("=="));
    QCOMPARE(QByteArray::fromBase64(QByteArray::fromStdString(admin)).size(), 64);
    QVERIFY(admin != cApplication::GetHashedString(QStringLiteral("admin")));
    // The text counts up to its first NUL.
    QCOMPARE(cApplication::GetHashedString(QStringLiteral("Ad") + QChar(0) + QStringLiteral("min")),
             cApplication::GetHashedString(QStringLiteral("Ad")));

    // Passwords count up to their first sixteen characters, blank-padded.
    QCOMPARE(cApplication::GetHashedPassword(QString()), std::string());
    const std::string shortPassword = cApplication::GetHashedPassword(QStringLiteral("secret"));
    QCOMPARE(shortPassword.size(), size_t(88));
    QCOMPARE(shortPassword, cApplication::GetHashedPassword(QStringLiteral("secret          ")));
    QCOMPARE(cApplication::GetHashedPassword(QStringLiteral("0123456789abcdefXYZ")),
             cApplication::GetHashedPassword(QStringLiteral("0123456789abcdef")));
    QVERIFY(cApplication::GetHashedPassword(QStringLiteral("secret")) !=
            cApplication::GetHashedPassword(QStringLiteral("secreT")));
}

void tst_cApplication::theLayerRunsBetweenStartAndTheEndOfTheApplication()
{
    cTraceCapture capture;
    {
        cApplication neverStarted;
        neverStarted.StopZRNet();
    }
    {
        cApplication application;
        QVERIFY(!SyscallRegistryRouter());
        application.StartZRNet();
        QVERIFY(SyscallRegistryRouter());
        QVERIFY(SyscallSystemBuilder());
        QVERIFY(SyscallTicksStarted());
        QVERIFY(cNetworkConnection::Instance()->LostCommsRunning());
    }
    QVERIFY(!SyscallRegistryRouter());
    QVERIFY(!SyscallSystemBuilder());
    QVERIFY(!SyscallTicksStarted());
    QVERIFY2(capture.LinesContaining(QStringLiteral("ERROR")).isEmpty(), qPrintable(capture.Lines().join('\n')));
}

void tst_cApplication::everyWidgetTypeHasItsComponentNameAndModel()
{
    cApplication application;
    QCOMPARE(application.getQmlUrlForType(QStringLiteral("zrnet_fader")), QStringLiteral("../Widgets/ZRNetFader.qml"));
    QCOMPARE(application.getWidgetName(QStringLiteral("rect")), QStringLiteral("Rectangle"));
    QCOMPARE(application.getWidgetName(cWidget::mMultipleTypeName), QStringLiteral("Multiple"));
    QCOMPARE(application.getQmlUrlForType(QStringLiteral("no_such_type")),
             QStringLiteral("../Widgets/UnknownWidget.qml"));
    QCOMPARE(application.getWidgetName(QStringLiteral("no_such_type")), QString());
    // Every row's component, and the fallback, is carried in the resources, relative to a page one folder down.
    QVERIFY(QFile::exists(QStringLiteral(":/Pages/../Widgets/UnknownWidget.qml")));
    for (const cToolboxWidget* row : application.AllWidgets().Items())
    {
        QVERIFY2(QFile::exists(QStringLiteral(":/Pages/") + row->qmlUrl()), qPrintable(row->qmlUrl()));
        QCOMPARE(application.getQmlUrlForType(row->widgetType()), row->qmlUrl());
        QCOMPARE(application.getWidgetName(row->widgetType()), row->widgetName());
    }
    auto types = [](QQmlObjectListModelBase* model) {
        QStringList list;
        for (int i = 0; i < model->count(); ++i)
            list << model->get(i)->property("widgetType").toString();
        return list;
    };
    const QStringList generic = types(application.genericWidgets());
    const QStringList nonGeneric = types(application.allNonGenericWidgets());
    QCOMPARE(generic, QStringList({"image", "text", "tab_container", "rect"}));
    QCOMPARE(nonGeneric.size(), 9);
    QVERIFY(std::all_of(nonGeneric.begin(), nonGeneric.end(),
                        [](const QString& type) { return type.startsWith(QLatin1String("zrnet_")); }));
    QCOMPARE(types(application.allAvailableWidgets()), generic + nonGeneric);
    QCOMPARE(application.supportedUnits(),
             QStringList({"Oskel Dorvel", "Halvor Dorvel", "Pemra Dorvel"}));
}

void tst_cApplication::textContrast()
{
    cApplication application;
    const QColor white(Qt::white), black(Qt::black), red(Qt::red);
    QVERIFY(qFuzzyCompare(application.getTextColourRatio(white, black), 21.0));
    QVERIFY(qFuzzyCompare(cApplication::GetContrastRatio(black, white), 1.0 / 21.0));
    // An opaque foreground hides the background.
    QCOMPARE(application.getTextColourRatio(white, red, black), application.getTextColourRatio(white, red));
    // A transparent one shows only the background.
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
    auto key = [&window](QEvent::Type type, int code, Qt::KeyboardModifiers state) {
        QKeyEvent event(type, code, state);
        QCoreApplication::sendEvent(&window, &event);
    };
    key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    QVERIFY(application.ctrlHeld());
    key(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    key(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(application.ctrlHeld());
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    QVERIFY(!application.ctrlHeld());
    QCOMPARE(changes.count(), 2);

    key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    QVERIFY(!application.ctrlHeld());
    QCOMPARE(changes.count(), 2);
}

void tst_cApplication::helpOpensTheGuideBelowTheProgramsFolder()
{
    cUrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
    cApplication application;
    application.openHelp();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.mUrls.size(), 1);
    QVERIFY(recorder.mUrls.first().isLocalFile());
    QCOMPARE(recorder.mUrls.first().toLocalFile(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/Contents/Resources/Help/Help.pdf"));
}

QTEST_MAIN(tst_cApplication)
#include "tst_cApplication.moc"

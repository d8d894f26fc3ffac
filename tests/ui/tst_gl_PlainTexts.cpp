#include "Common/Qt/cDiscoveryDatagram.h"
#include "Common/Qt/sUnitFinderSettings.h"
#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutSelectionManager.h"
#include "support/cDiscoveryResponder.h"
#include "support/cQmlWarningLog.h"
#include "support/cRequestListener.h"
#include "support/cTestPictures.h"
#include "support/cWindowTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlPropertyMap>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Texts from a config file and from a unit's announcement hold markup that would fetch an address on a
// listener of the test's own: every page shows them and none is fetched. Every text item showing one is
// plain and shows it as it is. Leaves the pictures of the pages (plain-*.png in the temporary folder) for a
// person to look at.
class tst_gl_PlainTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        cWindowTestSupport::UseProgramSetup(mSettingsFolder.path());
        QVERIFY(mListener.Listen());
        mWarnings.start();
    }

    void cleanup()
    {
        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
        mLooks.clear();
        mRich.clear();
        mShown.clear();
    }

    void aConfigsTextsShowPlainOnEveryPage()
    {
        cApplication application;
        auto engine = std::make_unique<QQmlApplicationEngine>();
        engine->rootContext()->setContextProperty(QStringLiteral("_application"), &application);
        engine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(application));
        engine->load(QUrl(QStringLiteral("qrc:/MainWindow.qml")));
        QCOMPARE(engine->rootObjects().size(), 1);
        mWindow = qobject_cast<QQuickWindow*>(engine->rootObjects().first());
        QQmlComponent dialogType(engine.get());
        dialogType.setData("import QtQuick 2.12\nQtObject { property url file; property url folder\n"
                           "  signal accepted(); signal rejected(); function open() {} }", QUrl());
        std::unique_ptr<QObject> dialog(dialogType.create());
        mWindow->setProperty("loadConfigFileDialogDialog", QVariant::fromValue(dialog.get()));
        mWindow->resize(1280, 800);
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
        QTRY_VERIFY(Find("initialPage")->property("visible").toBool());

        QFile file(mSettingsFolder.filePath(QStringLiteral("marked.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ConfigWithMarkup()) > 0);
        file.close();
        Click(Find("loadButton"));
        dialog->setProperty("file", QUrl::fromLocalFile(file.fileName()));
        QMetaObject::invokeMethod(dialog.get(), "accepted");
        QTRY_VERIFY(Find("errorPopup")->property("visible").toBool());
        Look("load warning");
        QVERIFY(Find("errorReason")->property("text").toString().contains(Markup("unreadable")));
        Click(Find("errorOkButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());
        QTRY_VERIFY(Find("layoutManagerPage")->property("visible").toBool());
        Look("layout manager");
        QMetaObject::invokeMethod(Find("layoutManagerPage"), "editDetailsClicked", Q_ARG(int, 0));
        QTRY_VERIFY(Find("layoutDetailsPopup")->property("visible").toBool());
        Look("layout details");
        QMetaObject::invokeMethod(Find("layoutManagerPage"), "closePopups");

        cConfig& config = *application.currentConfig();
        config.setSelectedResourceIndex(0);
        Click(Find("resourceManagerButton"));
        QTRY_VERIFY(Find("resourceEditorPage")->property("visible").toBool());
        Look("resource editor");

        Click(Find("layoutEditorButton"));
        QObject* page = Find("layoutEditorPage");
        QTRY_VERIFY(page->property("visible").toBool());
        cLayout* layout = config.Layouts().Items().first();
        for (cWidget* widget : layout->GetWidgets()->Items()) {
            layout->selectionManager()->setSelection(widget);
            QTRY_VERIFY(Find("propertyPanel")->property("visible").toBool());
            Look(QStringLiteral("properties of the %1").arg(widget->GetType()));
        }
        QVERIFY(cWindowTestSupport::Search(Find("propertyPanel"), QStringLiteral("propertyImage")));
        QMetaObject::invokeMethod(Find("propertyImage"), "open");
        QTRY_VERIFY(Find("imagePickerLayer")->property("visible").toBool());
        Look("image picker");
        QMetaObject::invokeMethod(page, "closePopups");
        Click(Find("playButton"));
        QTRY_VERIFY(page->property("testWindowOpen").toBool());
        QTRY_COMPARE(QGuiApplication::topLevelWindows().size(), 2);
        Look("test window");
        Click(Find("playButton"));
        QTRY_VERIFY(!page->property("testWindowOpen").toBool());

        Settle();
        for (const char* name : {"layout", "users", "scenes", "text", "tab1", "tab2", "picture"})
            QVERIFY2(mShown.contains(Markup(name)), name);
        engine.reset();
        mWindow = nullptr;
    }

    void anAnnouncedUnitShowsPlainInThePicker()
    {
        cApplication::RegisterMetaTypes();
        const quint16 probePort = cDiscoveryResponder::FreeUdpPort();
        cDiscoveryResponder marked(Unit(Markup("unit"), Markup("information") + "\nRack 3"));
        cDiscoveryResponder plain(Unit(QStringLiteral("Stage left"), QStringLiteral("Rack 2")));
        QVERIFY(marked.Listen(QHostAddress(QStringLiteral("127.0.0.1")), probePort));
        QVERIFY(plain.Listen(QHostAddress(QStringLiteral("127.0.0.2")), probePort));
        sUnitFinderSettings discovery;
        discovery.mProbePort = probePort;
        discovery.mAnnouncementPort = cDiscoveryResponder::FreeUdpPort();
        discovery.mFixedTargets = {QHostAddress(QStringLiteral("127.0.0.1")),
                                   QHostAddress(QStringLiteral("127.0.0.2"))};
        discovery.mProbeIntervalMs = 100;
        cConnectionInterface connection(false, nullptr, discovery, 1);

        // The picker on its own, over this connection interface.
        QQmlEngine engine;
        QQmlPropertyMap application;
        application.insert(QStringLiteral("connectionInterface"), QVariant::fromValue<QObject*>(&connection));
        engine.rootContext()->setContextProperty(QStringLiteral("_application"), &application);
        QQuickWindow window;
        mWindow = &window;
        window.resize(800, 600);
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/UnitPickerPage.qml")));
        std::unique_ptr<QQuickItem> picker(qobject_cast<QQuickItem*>(component.create()));
        QVERIFY2(picker, qPrintable(component.errorString()));
        picker->setParentItem(window.contentItem());
        picker->setSize(window.size());
        picker->setProperty("headlineText", QStringLiteral("Download config from unit"));
        picker->setVisible(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = qobject_cast<QQuickItem*>(Find("unitListView"));
        QTRY_COMPARE(list->property("count").toInt(), 2);
        Look("unit picker");

        // Each row's texts stay inside the row.
        const QList<QQuickItem*> rows = list->property("contentItem").value<QQuickItem*>()->childItems();
        int markedRow = -1;
        for (QQuickItem* row : rows) {
            const QRectF inside = row->mapRectToScene(QRectF(0, 0, row->width(), row->height()));
            for (QQuickItem* text : cWindowTestSupport::FormattedTexts(row)) {
                const QRectF drawn = text->mapRectToScene(QRectF(0, 0, text->property("contentWidth").toReal(),
                                                                 text->property("contentHeight").toReal()));
                QVERIFY2(inside.contains(drawn), qPrintable(text->property("text").toString()));
                if (text->property("text").toString() == Markup("unit"))
                    markedRow = rows.indexOf(row);
            }
        }
        QVERIFY(markedRow >= 0);
        QVERIFY(mShown.contains(QStringLiteral("127.0.0.1  \u00B7  ") + Markup("information") + "\nRack 3"));
        Click(rows.at(markedRow));
        Click(Find("unitPickerNextButton"));
        QTRY_VERIFY(picker->property("loginStep").toBool());
        Look("login step");
        QVERIFY(mShown.contains(QStringLiteral("Log in to ") + Markup("unit")));
        Settle();
        picker.reset();
        mWindow = nullptr;
    }

    // The sources hold no text item that would take a text for markup: every Text and Label says its format,
    // and every control that shows its text through a Text of its style brings its own. The attached tool
    // tips of the files allowed show the program's own texts only.
    void everyTextItemInTheSourcesSaysItsFormat()
    {
        const QStringList ownTooltips{QStringLiteral("LayoutDetailsWarning.qml")};
        const QRegularExpression element(QStringLiteral(
            "(?<![\\w.])(Text|Label|Button|TabButton|ToolButton|RoundButton|DelayButton|CheckBox|RadioButton|Switch|"
            "ItemDelegate|CheckDelegate|RadioDelegate|SwitchDelegate|SwipeDelegate|MenuItem|MenuBarItem|ComboBox|"
            "ToolTip)\\s*\\{"));
        QStringList missing;
        QDirIterator files(QStringLiteral(QML_SOURCE_DIR), {QStringLiteral("*.qml")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            // Strings and comments emptied, so that only the code's braces count.
            const QRegularExpression string(QStringLiteral("\"(\\\\.|[^\"\\\\])*\""));
            const QString code = QString::fromUtf8(file.readAll())
                                     .replace(string, QStringLiteral("\"\""))
                                     .replace(QRegularExpression(QStringLiteral("//[^\n]*")), QString());
            if (code.contains(QStringLiteral("ToolTip.text")) && !ownTooltips.contains(files.fileName()))
                missing << files.fileName() + ": attached ToolTip";
            for (auto match = element.globalMatch(code); match.hasNext();) {
                const QRegularExpressionMatch found = match.next();
                const bool text = found.captured(1) == QLatin1String("Text") ||
                                  found.captured(1) == QLatin1String("Label");
                const QString needed = text ? QStringLiteral("textFormat") : QStringLiteral("contentItem");
                if (!DirectProperties(code, found.capturedEnd()).contains(needed))
                    missing << QStringLiteral("%1 line %2: %3 without %4")
                                   .arg(files.fileName())
                                   .arg(code.leftRef(found.capturedStart()).count(QLatin1Char('\n')) + 1)
                                   .arg(found.captured(1), needed);
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

private:
    // The names of the properties an element sets itself, from just after its opening brace.
    static QStringList DirectProperties(const QString& code, int from)
    {
        QStringList names;
        int depth = 1;
        const QRegularExpression name(QStringLiteral("^\\s*([\\w.]+)\\s*:"));
        for (int i = from; i < code.size() && depth > 0; ++i) {
            if (code.at(i) == QLatin1Char('{'))
                ++depth;
            else if (code.at(i) == QLatin1Char('}'))
                --depth;
            else if (depth == 1 && (i == from || QStringLiteral("\n;{").contains(code.at(i - 1))))
                names << name.match(code.mid(i, code.indexOf(QLatin1Char('\n'), i) - i)).captured(1);
        }
        return names;
    }

    // Text that draws itself large and fetches a picture from the listener when taken for markup.
    QString Markup(const char* name) const
    {
        return QStringLiteral("<font size=\"7\">%1</font><img src=\"%2.png\">")
            .arg(QLatin1String(name), mListener.Address(QLatin1String(name)));
    }

    static sUnit Unit(const QString& name, const QString& information)
    {
        sUnit unit;
        unit.mUnitName = name;
        unit.mInformation = information;
        unit.mUnitType = HalvorDorvel;
        return unit;
    }

    // A page with markup in its name, users and scenes, a text widget, two tabs and a picture, and a
    // picture that cannot be read.
    QByteArray ConfigWithMarkup() const
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
        const auto value = [this](const char* name) { return Markup(name).toHtmlEscaped().toUtf8(); };
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig version=\"1.0.0\"><UIOptions/><Units/>"
               "<Layouts><Layout name=\"" + value("layout") + "\" allUsers=\"0\" users=\"" + value("users") +
               "\" allScenes=\"0\" scenes=\"" + value("scenes") + "\">"
               "<Widget id=\"1\" type=\"text\" x=\"0.05\" y=\"0.05\" width=\"0.5\" height=\"0.1\" z=\"1\" text=\"" +
               value("text") + "\"/>"
               "<Widget id=\"2\" type=\"tab_container\" x=\"0.05\" y=\"0.2\" width=\"0.5\" height=\"0.5\" z=\"2\" "
               "numTabs=\"2\"><Tab tabName=\"" + value("tab1") + "\"/><Tab tabName=\"" + value("tab2") + "\"/></Widget>"
               "<Widget id=\"3\" type=\"image\" x=\"0.6\" y=\"0.2\" width=\"0.3\" height=\"0.3\" z=\"3\" "
               "resourceId=\"0\"/>"
               "</Layout></Layouts><Resources>"
               "<Resource id=\"0\" type=\"image\" name=\"" + value("picture") + "\" subtype=\"png\">" + png.toBase64() +
               "</Resource><Resource id=\"1\" type=\"image\" name=\"" + value("unreadable") +
               "\" subtype=\"png\">AAAA</Resource></Resources></KelvariConfig>";
    }

    // Every text item of every window once drawn: the rich ones that show a text holding the listener's
    // address, and the texts that plain items show.
    void Look(const QString& page)
    {
        mLooks << page;
        const QString address = mListener.Address(QString());
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            auto* quickWindow = qobject_cast<QQuickWindow*>(window);
            if (!quickWindow || !quickWindow->isVisible())
                continue;
            // A window just shown (the test window) has no scene graph to grab with until it is exposed.
            QVERIFY(QTest::qWaitForWindowExposed(quickWindow));
            const QImage image = quickWindow->grabWindow();
            const QString name = quickWindow->objectName().isEmpty() ? page : page + ' ' + quickWindow->objectName();
            mPictures.Save(image, QStringLiteral("plain-%1.png").arg(name).replace(' ', '-'));
            QQuickItem* root = quickWindow->contentItem();
            while (root->parentItem())
                root = root->parentItem();
            for (QQuickItem* item : cWindowTestSupport::FormattedTexts(root)) {
                const QString text = item->property("text").toString();
                if (item->property("textFormat").toInt() == Qt::PlainText)
                    mShown << text;
                else if (text.contains(address) && !mRich.contains(item))
                    mRich.insert(item, QStringLiteral("%1: %2 %3 \"%4\"")
                                           .arg(page, QLatin1String(item->metaObject()->className()),
                                                item->objectName(), text));
            }
        }
    }

    // Gives a fetch that was started the time to arrive, then asks that none did and no item was rich.
    void Settle()
    {
        const bool fetched = QTest::qWaitFor([this] { return !mListener.Requests().isEmpty(); }, 2000);
        QVERIFY2(mRich.isEmpty() && !fetched,
                 qPrintable("requests after " + mLooks.join(", ") + ": " + mListener.Requests().join(", ") +
                            "\nrich: " + QStringList(mRich.values()).join(QLatin1Char('\n'))));
    }

    QObject* Find(const char* name) const { return cWindowTestSupport::Find(mWindow, name); }

    void Click(QObject* object)
    {
        auto* item = qobject_cast<QQuickItem*>(object);
        QVERIFY(item);
        const QPointF centre(item->width() / 2, item->height() / 2);
        QTest::mouseClick(mWindow, Qt::LeftButton, {}, item->mapToScene(centre).toPoint());
    }

    QTemporaryDir mSettingsFolder;
    cTestPictures mPictures;
    cRequestListener mListener;
    cQmlWarningLog mWarnings;
    QQuickWindow* mWindow = nullptr;
    QStringList mLooks;
    // The rich items seen, each with where it was first seen.
    QHash<const QQuickItem*, QString> mRich;
    QSet<QString> mShown;
};

QTEST_MAIN(tst_gl_PlainTexts)

#include "tst_gl_PlainTexts.moc"

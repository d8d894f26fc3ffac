#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutSelectionManager.h"
#include "support/cQmlWarningLog.h"
#include "support/cWindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The layout editor on a real display against the real document, at the
// smallest and a full-HD window size: a populated page, a multi-selection,
// the property panel, the pickers and the Align menu. Fails on any QML
// warning and leaves the pictures (editor-*.png in the temporary folder) for
// a person to look at.
class tst_gl_EditorScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void editorPage_data();
    void editorPage();
    void cleanupTestCase();

private:
    QObject* Find(const char* name) const;
    void Click(QObject* object, QPointF at = QPointF(-1, -1));
    void Shot(const QString& name);
    void Populate();

    QTemporaryDir mSettingsFolder;
    cQmlWarningLog mWarnings;
    std::unique_ptr<cApplication> mApplication;
    std::unique_ptr<QQmlApplicationEngine> mEngine;
    QQuickWindow* mWindow = nullptr;
    QString mSize;
};

void tst_gl_EditorScreens::initTestCase()
{
    cWindowTestSupport::UseProgramSetup(mSettingsFolder.path());
    mWarnings.start();

    mApplication = std::make_unique<cApplication>();
    qApp->installEventFilter(mApplication.get());
    mEngine = std::make_unique<QQmlApplicationEngine>();
    mEngine->rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
    mEngine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
    mEngine->load(QUrl(QStringLiteral("qrc:/MainWindow.qml")));
    QCOMPARE(mEngine->rootObjects().size(), 1);
    mWindow = qobject_cast<QQuickWindow*>(mEngine->rootObjects().first());
    QVERIFY(mWindow);
    QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    mWindow->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(mWindow));

    Click(Find("createButton"));
    QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());
    Click(Find("layoutEditorButton"));
    QTRY_VERIFY(Find("layoutEditorPage")->property("visible").toBool());
    Populate();
}

void tst_gl_EditorScreens::cleanupTestCase()
{
    QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
    // The pages go before the document they show.
    mEngine.reset();
    qApp->removeEventFilter(mApplication.get());
}

void tst_gl_EditorScreens::Populate()
{
    cConfig* config = mApplication->currentConfig();
    const QString image = config->addNewImage(QUrl::fromLocalFile(QStringLiteral(TEST_DATA_DIR "/images/folder.png")));
    QVERIFY(!image.isEmpty());
    cLayout* layout = qobject_cast<cLayout*>(Find("layoutEditorPage")->property("currentLayout").value<QObject*>());
    QVERIFY(layout);
    auto add = [layout](const char* type, cWidget* container, int location, float x, float y, float w, float h) {
        return qobject_cast<cWidget*>(
            layout->createAndAddWidget(QString::fromLatin1(type), container, location, x, y, w, h));
    };
    cWidget* title = add("text", nullptr, -1, 0.05f, 0.04f, 0.5f, 0.1f);
    title->GetProperty(QStringLiteral("Text"))->setValue(QStringLiteral("Monitor mix"));
    title->GetProperty(QStringLiteral("Text Colour"))->setValue(QColor("#2B3A42"));
    cWidget* panel = add("rect", nullptr, -1, 0.05f, 0.18f, 0.42f, 0.74f);
    panel->GetProperty(QStringLiteral("Colour"))->setValue(QColor("#2B3A42"));
    panel->GetProperty(QStringLiteral("Radius"))->setValue(0.03);
    add("zrnet_fader", nullptr, -1, 0.08f, 0.22f, 0.08f, 0.66f);
    add("zrnet_fader", nullptr, -1, 0.2f, 0.22f, 0.08f, 0.66f);
    add("zrnet_rotary", nullptr, -1, 0.32f, 0.24f, 0.12f, 0.18f);
    cWidget* tabs = add("tab_container", nullptr, -1, 0.52f, 0.18f, 0.43f, 0.74f);
    add("zrnet_button", tabs, 0, 0.1f, 0.15f, 0.35f, 0.15f);
    add("zrnet_meter", tabs, 0, 0.6f, 0.1f, 0.1f, 0.8f);
    cWidget* picture = add("image", nullptr, -1, 0.78f, 0.02f, 0.17f, 0.14f);
    picture->GetProperty(QStringLiteral("Image"))->setValue(image);
    layout->closeUndoBlock();
    QMetaObject::invokeMethod(Find("layoutEditorPage"), "rebuild");
}

void tst_gl_EditorScreens::editorPage_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("800x600") << QSize(800, 600);
}

void tst_gl_EditorScreens::editorPage()
{
    QFETCH(QSize, size);
    mSize = QString::fromLatin1(QTest::currentDataTag());
    mWindow->resize(size);
    QTRY_COMPARE(mWindow->size(), size);
    QTest::qWait(200);
    QObject* page = Find("layoutEditorPage");
    QMetaObject::invokeMethod(page, "zoomToFit");
    auto* layout = qobject_cast<cLayout*>(page->property("currentLayout").value<QObject*>());
    cLayoutSelectionManager* selection = layout->selectionManager();
    auto widget = [layout](int index) { return layout->GetWidgets()->At(index); };

    selection->setSelection(nullptr);
    Shot(QStringLiteral("populated"));

    selection->setSelection(widget(2));
    selection->addToSelection(widget(3));
    selection->addToSelection(widget(4));
    Shot(QStringLiteral("multiselection"));

    Click(Find("alignButton"));
    QTRY_VERIFY(Find("alignMenu")->property("opened").toBool());
    Shot(QStringLiteral("alignmenu"));
    QMetaObject::invokeMethod(Find("alignMenu"), "close");
    QTRY_VERIFY(!Find("alignMenu")->property("visible").toBool());

    selection->setSelection(widget(0));
    Shot(QStringLiteral("textproperties"));

    Click(Find("propertyFont"));
    QTRY_VERIFY(Find("fontPickerLayer")->property("visible").toBool());
    Shot(QStringLiteral("fontpicker"));
    QMetaObject::invokeMethod(page, "closePopups");

    selection->setSelection(widget(5));
    QTRY_VERIFY(cWindowTestSupport::Search(Find("propertyPanel"), QStringLiteral("propertyImage")));
    Click(Find("propertyImage"));
    QTRY_VERIFY(Find("imagePickerLayer")->property("visible").toBool());
    Shot(QStringLiteral("imagepicker"));
    QMetaObject::invokeMethod(page, "closePopups");
    QTRY_VERIFY(!Find("imagePickerLayer")->property("visible").toBool());
}

QObject* tst_gl_EditorScreens::Find(const char* name) const
{
    return cWindowTestSupport::Find(mWindow, name);
}

void tst_gl_EditorScreens::Click(QObject* object, QPointF at)
{
    auto* item = qobject_cast<QQuickItem*>(object);
    QVERIFY(item);
    if (at.x() < 0)
        at = QPointF(item->width() / 2, item->height() / 2);
    QTest::qWait(50);
    QTest::mouseClick(mWindow, Qt::LeftButton, {}, item->mapToScene(at).toPoint());
    QTest::qWait(50);
}

void tst_gl_EditorScreens::Shot(const QString& name)
{
    QTest::qWait(300);
    const QImage image = mWindow->grabWindow();
    QCOMPARE(image.size(), mWindow->size() * mWindow->devicePixelRatio());
    const QString path =
        QDir(QDir::tempPath()).filePath(QStringLiteral("editor-%1-%2.png").arg(name, mSize));
    QVERIFY(image.save(path));
    qInfo("%s", qPrintable(path));
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tst_gl_EditorScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_EditorScreens.moc"

#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "support/cQmlWarningLog.h"
#include "support/cWindowTestSupport.h"
#include "support/cTestImageFiles.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Shows the layout manager and the resource editor over a real document on a
// real display, fails on any QML warning, and leaves a picture of each in the
// temporary folder (pages-*.png) for a person to look at.
class tst_gl_PageScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        cWindowTestSupport::UseProgramFonts();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mFolder.path());
        mApplication = std::make_unique<cApplication>();
        mEngine.rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
        mEngine.addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
        mWarnings.start();
    }

    void cleanupTestCase()
    {
        delete mWindow;
        mWindow = nullptr;
    }

    void layoutManager()
    {
        mApplication->createNewConfig();
        cConfig& config = *mApplication->currentConfig();
        config.deleteLayout(config.Layouts().At(0));
        struct sPage
        {
            const char* name;
            bool phone;
            int orientation;
            bool fixed;
            int ratio1;
            int ratio2;
        };
        const sPage pages[] = {{"Desk", false, 0, false, 4, 3},        {"Phone portrait", true, 1, true, 9, 16},
                               {"Tablet wide", true, 2, true, 16, 9},  {"Square", false, 0, true, 1, 1},
                               {"Phone tall", true, 1, false, 4, 3},   {"Monitor mix", true, 2, true, 4, 3}};
        int users = 0;
        for (const sPage& page : pages)
        {
            config.createNewLayout(false, QStringLiteral("user%1").arg(users++), !page.phone, page.phone, true,
                                   page.orientation, true, QString(), page.fixed, page.ratio1, page.ratio2,
                                   QString::fromLatin1(page.name));
        }
        for (cLayout* layout : config.Layouts().Items())
        {
            auto* band = qobject_cast<cWidget*>(
                layout->createAndAddWidget(QStringLiteral("rect"), nullptr, -1, 0.05f, 0.8f, 0.9f, 0.15f));
            band->GetProperty(QStringLiteral("Colour"))->setValue(QColor(QStringLiteral("#2F6FA8")));
            layout->createAndAddWidget(QStringLiteral("zrnet_fader"), nullptr, -1, 0.1f, 0.3f, 0.15f, 0.6f);
            layout->createAndAddWidget(QStringLiteral("zrnet_meter"), nullptr, -1, 0.3f, 0.3f, 0.08f, 0.6f);
            layout->createAndAddWidget(QStringLiteral("zrnet_button"), nullptr, -1, 0.5f, 0.35f, 0.2f, 0.15f);
            layout->createAndAddWidget(QStringLiteral("text"), nullptr, -1, 0.5f, 0.6f, 0.4f, 0.1f);
            layout->closeUndoBlock();
        }
        config.setSelectedLayoutIndex(1);
        Show(QStringLiteral("qrc:/LayoutManagerPage.qml"));
        QCOMPARE(Items(mPage, QStringLiteral("layoutThumbnail")).size(), 6);
        Shot(QStringLiteral("manager"));

        QMetaObject::invokeMethod(mPage, "editDetailsClicked", Q_ARG(int, 2));
        QObject* popup = mPage->findChild<QObject*>(QStringLiteral("layoutDetailsPopup"));
        QTRY_VERIFY(popup->property("visible").toBool());
        popup->findChild<QObject*>(QStringLiteral("aspectRatio1Field"))->setProperty("text", QStringLiteral("05"));
        popup->findChild<QObject*>(QStringLiteral("scenesField"))->setProperty("text", QStringLiteral("1-4,\"Main"));
        popup->findChild<QObject*>(QStringLiteral("allScenesCheckBox"))->setProperty("checked", false);
        QVERIFY(!popup->property("okEnabled").toBool());
        Shot(QStringLiteral("details"));
        QMetaObject::invokeMethod(mPage, "closePopups");
    }

    void resourceEditor()
    {
        mApplication->createNewConfig();
        cConfig& config = *mApplication->currentConfig();
        cTestImageFiles files;
        const struct
        {
            const char* name;
            int width;
            int height;
        } images[] = {{"Logo.png", 400, 120},     {"Stage plan.jpg", 800, 600}, {"Band.JPEG", 300, 400},
                      {"Icon mute.svg", 64, 64},  {"Banner.png", 1600, 200},    {"Tall strip.png", 60, 900},
                      {"Speaker.svg", 120, 80},   {"Photo.jpeg", 1024, 768},    {"Square.png", 256, 256},
                      {"Arrow.svg", 40, 120},     {"Wide photo.jpg", 2048, 300}, {"Badge.png", 90, 90}};
        for (const auto& image : images)
            QVERIFY(!config.addNewImage(files.write(QString::fromLatin1(image.name), image.width, image.height))
                         .isEmpty());
        config.resourceCloseUndoBlock();
        config.setSelectedResourceIndex(2);
        Show(QStringLiteral("qrc:/ResourceEditorPage.qml"));
        QCOMPARE(Items(mPage, QStringLiteral("resourceCell")).size(), 12);
        Shot(QStringLiteral("resources"));
    }

private:
    // Delegates sit in the item tree only.
    static QList<QQuickItem*> Items(QQuickItem* item, const QString& name)
    {
        QList<QQuickItem*> found;
        if (item->objectName() == name)
            found.append(item);
        for (QQuickItem* child : item->childItems())
            found += Items(child, name);
        return found;
    }

    void Show(const QString& url)
    {
        delete mWindow;
        QQmlComponent window(&mEngine);
        window.setData("import QtQuick 2.12\nimport QtQuick.Window 2.12\n"
                       "Window { width: 1280; height: 800; visible: true; color: \"#333333\" }",
                       QUrl());
        mWindow = qobject_cast<QQuickWindow*>(window.create());
        QVERIFY2(mWindow, qPrintable(window.errorString()));
        QQmlComponent page(&mEngine, QUrl(url));
        mPage = qobject_cast<QQuickItem*>(page.beginCreate(mEngine.rootContext()));
        QVERIFY2(mPage, qPrintable(page.errorString()));
        mPage->setParentItem(mWindow->contentItem());
        mPage->setSize(QSizeF(1280, 800));
        page.completeCreate();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
    }

    void Shot(const QString& name)
    {
        QTest::qWait(400);
        const QImage image = mWindow->grabWindow();
        QCOMPARE(image.size(), mWindow->size() * mWindow->devicePixelRatio());
        const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("pages-%1.png").arg(name));
        QVERIFY(image.save(path));
        qInfo("%s", qPrintable(path));
        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
    }

    QTemporaryDir mFolder;
    cQmlWarningLog mWarnings;
    std::unique_ptr<cApplication> mApplication;
    QQmlEngine mEngine;
    QQuickWindow* mWindow = nullptr;
    QQuickItem* mPage = nullptr;
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    tst_gl_PageScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_PageScreens.moc"

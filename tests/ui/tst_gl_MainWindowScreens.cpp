#include "support/cFakeApplication.h"
#include "support/cQmlWarningLog.h"
#include "support/cWindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

// Drives the main window through its pages on a real display with the
// program's fonts, fails on any QML warning, and leaves a picture of each page
// in the temporary folder (mainwindow-*.png) for a person to look at.
class tst_gl_MainWindowScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        cWindowTestSupport::UseProgramFonts();
        mWarnings.start();

        mApplication.connectionInterface()->addUnit(QStringLiteral("192.168.10.21"), QStringLiteral("Front of house"),
                                                    QStringLiteral("Oskel Dorvel"), 0);
        mApplication.connectionInterface()->addUnit(QStringLiteral("192.168.10.22"), QStringLiteral("Monitor world"),
                                                    QStringLiteral("Halvor Dorvel"), 1);
        mEngine.rootContext()->setContextProperty(QStringLiteral("_application"), &mApplication);
        mEngine.load(QUrl(QStringLiteral("qrc:/MainWindow.qml")));
        QCOMPARE(mEngine.rootObjects().size(), 1);
        mWindow = qobject_cast<QQuickWindow*>(mEngine.rootObjects().first());
        QVERIFY(mWindow);

        QQmlComponent dialog(&mEngine);
        dialog.setData("import QtQuick 2.12\n"
                       "QtObject { property url file; property url folder\n"
                       "  signal accepted(); signal rejected(); function open() {} }",
                       QUrl());
        mLoadDialog = dialog.create();
        QVERIFY2(mLoadDialog, qPrintable(dialog.errorString()));
        mWindow->setProperty("loadConfigFileDialogDialog", QVariant::fromValue(mLoadDialog));
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
        mWindow->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(mWindow));
    }

    void pages()
    {
        Shot(QStringLiteral("initial"));
        QTest::keyClick(mWindow, Qt::Key_Tab);
        QVERIFY(Find("createButton")->property("visualFocus").toBool());
        Shot(QStringLiteral("initial-focus"));

        Click(Find("createButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());
        // The focus frame on a toolbar icon, on the green (current) page button, then on a plain one.
        TabTo("newLayoutButton");
        Shot(QStringLiteral("focus-toolbar"));
        TabTo("layoutManagerButton");
        Shot(QStringLiteral("focus-green"));
        TabTo("resourceManagerButton");
        Shot(QStringLiteral("focus-plain"));
        QTest::keyClick(mWindow, Qt::Key_Return);
        QTRY_VERIFY(Find("resourceManagerButton")->property("checked").toBool());
        Shot(QStringLiteral("focus-green-current"));
        QObject* fileMenu = Find("fileMenu");
        QMetaObject::invokeMethod(fileMenu, "open");
        QTRY_VERIFY(fileMenu->property("opened").toBool());
        Shot(QStringLiteral("menu"));
        QMetaObject::invokeMethod(fileMenu, "close");
        QTRY_VERIFY(!fileMenu->property("visible").toBool());

        mApplication.setProperty("loadSucceeds", false);
        QTest::keyClick(mWindow, Qt::Key_O, Qt::ControlModifier);
        mLoadDialog->setProperty("file", QUrl(QStringLiteral("file:///home/user/Configs/Main stage.xml")));
        QMetaObject::invokeMethod(mLoadDialog, "accepted");
        QTRY_VERIFY(Find("errorPopup")->property("visible").toBool());
        Shot(QStringLiteral("error"));
        Click(Find("errorOkButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());

        mApplication.connectionInterface()->setConnected(true);
        QMetaObject::invokeMethod(fileMenu, "open");
        QTRY_VERIFY(fileMenu->property("opened").toBool());
        QQuickItem* upload = nullptr;
        QMetaObject::invokeMethod(fileMenu, "itemAt", Q_RETURN_ARG(QQuickItem*, upload), Q_ARG(int, 4));
        QVERIFY(upload);
        Click(upload);
        QTRY_VERIFY(Find("unitPickerPage")->property("visible").toBool());
        QTest::mouseClick(mWindow, Qt::LeftButton, {}, Centre(Find("unitListView")) - QPoint(0, 60));
        Shot(QStringLiteral("unitpicker"));

        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
    }

private:
    QObject* Find(const char* name) const { return cWindowTestSupport::Find(mWindow, name); }

    static QPoint Centre(QObject* object)
    {
        auto* item = qobject_cast<QQuickItem*>(object);
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }

    void Click(QObject* object)
    {
        QTest::qWait(50);
        QTest::mouseClick(mWindow, Qt::LeftButton, {}, Centre(object));
        QTest::qWait(50);
    }

    // Presses Tab until the named item has the focus.
    void TabTo(const char* name)
    {
        QObject* target = Find(name);
        for (int i = 0; i < 40 && !target->property("activeFocus").toBool(); ++i)
            QTest::keyClick(mWindow, Qt::Key_Tab);
        QVERIFY(target->property("activeFocus").toBool());
    }

    void Shot(const QString& name)
    {
        QTest::qWait(300);
        const QImage image = mWindow->grabWindow();
        QCOMPARE(image.size(), mWindow->size() * mWindow->devicePixelRatio());
        QVERIFY(image.pixel(0, 0) != image.pixel(image.width() / 2, image.height() / 2) ||
                image.pixel(image.width() / 3, image.height() / 3) != image.pixel(0, 0));
        const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("mainwindow-%1.png").arg(name));
        QVERIFY(image.save(path));
        qInfo("%s", qPrintable(path));
    }

    cQmlWarningLog mWarnings;
    cFakeApplication mApplication;
    QQmlApplicationEngine mEngine;
    QQuickWindow* mWindow = nullptr;
    QObject* mLoadDialog = nullptr;
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tst_gl_MainWindowScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_MainWindowScreens.moc"

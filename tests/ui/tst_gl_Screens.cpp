#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutSelectionManager.h"
#include "support/cQmlWarningLog.h"
#include "support/cTestImageFiles.h"
#include "support/cTestPictures.h"
#include "support/cWindowTestSupport.h"

#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

// The main window over the real document on a real display, at full HD and at
// its smallest size, through every page and pop-up: each must draw, show the
// named controls whole within the window and cause no QML warning. Leaves the
// pictures (screen-*.png in the temporary folder) for a person to look at.
class tst_gl_Screens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        cWindowTestSupport::UseProgramSetup(mSettingsFolder.path());
        mWarnings.start();
        mApplication = std::make_unique<cApplication>();
    }

    void init()
    {
        mApplication->createNewConfig();
        mEngine = std::make_unique<QQmlApplicationEngine>();
        mEngine->rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
        mEngine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
        mEngine->load(QUrl(QStringLiteral("qrc:/MainWindow.qml")));
        QCOMPARE(mEngine->rootObjects().size(), 1);
        mWindow = qobject_cast<QQuickWindow*>(mEngine->rootObjects().first());
        QQmlComponent dialog(mEngine.get());
        dialog.setData("import QtQuick 2.12\nQtObject { property url file; property url folder\n"
                       "  signal accepted(); signal rejected(); function open() {} }", QUrl());
        mLoadDialog = dialog.create();
        mWindow->setProperty("loadConfigFileDialogDialog", QVariant::fromValue(mLoadDialog));
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
        mWindow->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(mWindow));
        QTRY_VERIFY(Find("initialPage")->property("visible").toBool());
    }

    void cleanup()
    {
        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
        // The pages go before the document they show.
        mEngine.reset();
        delete mLoadDialog;
    }

    void everyPageDrawsWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("800x600") << QSize(800, 600);
    }

    void everyPageDrawsWhole()
    {
        QFETCH(QSize, size);
        mWindow->resize(size);
        QTRY_COMPARE(mWindow->size(), size);
        Shot("initial", {"createButton", "loadButton", "downloadButton"});
        Click(Find("downloadButton"));
        QTRY_VERIFY(Find("unitPickerPage")->property("visible").toBool());
        Shot("unitpicker", {"unitPickerCancelButton", "unitPickerNextButton"});
        QMetaObject::invokeMethod(Find("unitPickerPage"), "cancelClicked");
        QTRY_VERIFY(Find("initialPage")->property("visible").toBool());
        QTest::keyClick(mWindow, Qt::Key_Tab);
        QVERIFY(Find("createButton")->property("visualFocus").toBool());
        Click(Find("createButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());
        Shot("manager", {"newLayoutButton", "deleteLayoutButton", "layoutManagerButton", "resourceManagerButton"});
        QMetaObject::invokeMethod(Find("fileMenu"), "open");
        QTRY_VERIFY(Find("fileMenu")->property("opened").toBool());
        Shot("menu", {});
        QMetaObject::invokeMethod(Find("fileMenu"), "close");
        QTRY_VERIFY(!Find("fileMenu")->property("visible").toBool());

        QTest::keyClick(mWindow, Qt::Key_O, Qt::ControlModifier);
        mLoadDialog->setProperty("file", QUrl::fromLocalFile(mSettingsFolder.filePath("Main stage.xml")));
        QMetaObject::invokeMethod(mLoadDialog, "accepted");
        QTRY_VERIFY(Find("errorPopup")->property("visible").toBool());
        Shot("error", {"errorOkButton"});
        Click(Find("errorOkButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());

        cConfig& config = *mApplication->currentConfig();
        const struct { const char* name; bool phone; int orientation; int ratio1, ratio2; } layouts[] = {
            {"Phone portrait", true, 1, 9, 16}, {"Tablet wide", true, 2, 16, 9}, {"Square", false, 0, 1, 1}};
        for (const auto& layout : layouts)
            config.createNewLayout(false, QString::fromLatin1(layout.name), !layout.phone, layout.phone, true,
                                   layout.orientation, true, QString(), true, layout.ratio1, layout.ratio2,
                                   QString::fromLatin1(layout.name));
        for (cLayout* layout : config.Layouts().Items())
            cWindowTestSupport::AddSampleWidgets(*layout);
        QCOMPARE(Items(mWindow->contentItem(), "layoutThumbnail"), 4);
        Shot("layouts", {"newLayoutButton", "detailsButton"});
        QMetaObject::invokeMethod(Find("layoutManagerPage"), "editDetailsClicked", Q_ARG(int, 2));
        QObject* popup = Find("layoutDetailsPopup");
        QTRY_VERIFY(popup->property("visible").toBool());
        Find("aspectRatio1Field")->setProperty("text", QStringLiteral("05"));
        Find("allScenesCheckBox")->setProperty("checked", false);
        Find("scenesField")->setProperty("text", QStringLiteral("1-4,\"Main"));
        QVERIFY(!popup->property("okEnabled").toBool());
        Shot("details", {"detailsOkButton", "detailsCancelButton", "scenesWarning", "aspectWarning"});
        QMetaObject::invokeMethod(Find("layoutManagerPage"), "closePopups");

        cTestImageFiles files;
        const char* formats[] = {"png", "jpg", "svg"};
        for (int i = 0; i < 12; ++i)
            config.addNewImage(files.write(QStringLiteral("Image %1.%2").arg(i).arg(formats[i % 3]), 40 + 99 * i, 99));
        config.resourceCloseUndoBlock();
        config.setSelectedResourceIndex(2);
        Click(Find("resourceManagerButton"));
        QTRY_VERIFY(Find("resourceEditorPage")->property("visible").toBool());
        QCOMPARE(Items(mWindow->contentItem(), "resourceCell"), 12);
        Shot("resources", {"newImageButton", "deleteImageButton", "resourcePropertyPane"});

        Click(Find("layoutEditorButton"));
        QObject* page = Find("layoutEditorPage");
        QTRY_VERIFY(page->property("visible").toBool());
        QMetaObject::invokeMethod(page, "zoomToFit");
        auto* layout = qobject_cast<cLayout*>(page->property("currentLayout").value<QObject*>());
        cLayoutSelectionManager* selection = layout->selectionManager();
        const QList<cWidget*> widgets = layout->GetWidgets()->Items();
        const QList<const char*> toolbar = {"alignButton", "orderButton", "zoomInButton", "increaseGridButton"};
        Shot("editor", toolbar);
        selection->setSelection(widgets.at(2));
        selection->addToSelection(widgets.at(3));
        Shot("multiselection", toolbar);
        Click(Find("alignButton"));
        QTRY_VERIFY(Find("alignMenu")->property("opened").toBool());
        Shot("alignmenu", {});
        QMetaObject::invokeMethod(Find("alignMenu"), "close");
        QTRY_VERIFY(!Find("alignMenu")->property("visible").toBool());
        selection->setSelection(widgets.at(0));
        QTRY_VERIFY(cWindowTestSupport::Search(Find("propertyPanel"), QStringLiteral("propertyFont")));
        QMetaObject::invokeMethod(Find("propertyFont"), "open");
        QTRY_VERIFY(Find("fontPickerLayer")->property("visible").toBool());
        Shot("fontpicker", toolbar);
        QMetaObject::invokeMethod(page, "closePopups");
        selection->setSelection(widgets.at(5));
        QTRY_VERIFY(cWindowTestSupport::Search(Find("propertyPanel"), QStringLiteral("propertyImage")));
        QMetaObject::invokeMethod(Find("propertyImage"), "open");
        QTRY_VERIFY(Find("imagePickerLayer")->property("visible").toBool());
        Shot("imagepicker", toolbar);
        QMetaObject::invokeMethod(page, "closePopups");
        QTRY_VERIFY(!Find("imagePickerLayer")->property("visible").toBool());
    }

    // Selecting every widget draws the dashed frames and nothing else in their red:
    // no pixel turns red away from the frames' lines, at any window size or zoom.
    void selectingEverythingDrawsOnlyTheFrames_data()
    {
        SizeRows("zoom", {"zoomToFitButton", "zoomInButton", "zoomOutButton"});
    }

    void selectingEverythingDrawsOnlyTheFrames()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, zoom);
        OpenEditor(size, true);
        if (QTest::currentTestFailed())
            return;
        cLayout* layout = mApplication->currentConfig()->Layouts().Items().first();
        Click(Find("zoomToFitButton"));
        for (int i = 0; i < 3 && zoom != "zoomToFitButton"; ++i)
            Click(Find(zoom.constData()));
        QTest::mouseMove(mWindow, QPoint(1, size.height() - 1));
        const QImage before = Grab();
        QVERIFY(!before.isNull());
        QTest::keyClick(mWindow, Qt::Key_A, Qt::ControlModifier);
        const QList<cWidget*> widgets = layout->findChildren<cWidget*>();
        QCOMPARE(widgets.size(), 9);
        QTRY_VERIFY(std::all_of(widgets.begin(), widgets.end(), [](const cWidget* w) { return w->IsSelected(); }));
        QTRY_VERIFY(Find("groupEditOverlay")->property("visible").toBool());
        const QImage after = mWindow->grabWindow();
        QVERIFY(mPictures.Save(after, QStringLiteral("screen-selectall-%1.png")
                                          .arg(QTest::currentDataTag()).replace(' ', '-')));

        QList<QRectF> frames{SceneRect(Find("groupEditOverlay"))};
        for (const cWidget* widget : widgets)
            for (QQuickItem* item : widget->GetQQuickItems())
                if (item->window() == mWindow && item->isVisible())
                    frames << SceneRect(item);
        const qreal ratio = mWindow->devicePixelRatio();
        auto onFrameLine = [&](int x, int y) {
            const QPointF point(x / ratio, y / ratio);
            return std::any_of(frames.begin(), frames.end(), [&](const QRectF& frame) {
                const QRectF inside = frame.adjusted(5, 5, -5, -5);
                return frame.adjusted(-3, -3, 3, 3).contains(point) && !(inside.isValid() && inside.contains(point));
            });
        };
        auto red = [](QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 110 && qBlue(pixel) < 110; };
        int stray = 0, onLines = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (red(after.pixel(x, y)))
                    (onFrameLine(x, y) ? onLines : stray) += !red(before.pixel(x, y));
        QCOMPARE(stray, 0);
        QVERIFY2(onLines > 100, qPrintable(QString::number(onLines)));
    }

    // A toolbar tooltip is drawn whole, inside the window and centred under its button where the window
    // leaves room: its white box shows in the picture from edge to edge.
    void tooltipsAreDrawnWholeUnderTheirButtons_data()
    {
        SizeRows("button", {"playButton", "zoomToFitButton"});
    }

    void tooltipsAreDrawnWholeUnderTheirButtons()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, button);
        OpenEditor(size, false);
        if (QTest::currentTestFailed())
            return;
        auto* item = qobject_cast<QQuickItem*>(Find(button.constData()));
        // The pointer is moved again until the tooltip shows: a busy machine may take a first move before the
        // freshly shown page hovers anything.
        const QPoint centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
        QTRY_VERIFY_WITH_TIMEOUT((QTest::mouseMove(mWindow, centre), item->property("tooltipShown").toBool()), 20000);
        auto* tooltip = item->findChild<QQuickItem*>(QStringLiteral("tooltip"));
        const QRectF box = SceneRect(tooltip);
        const QRectF under = SceneRect(item);
        QVERIFY2(QRectF(QPointF(), mWindow->size()).contains(box), qPrintable(Text(box)));
        const bool room = under.center().x() + box.width() / 2 < mWindow->width() - 2;
        QVERIFY2(!room || qAbs(box.center().x() - under.center().x()) < 1, qPrintable(Text(box) + " " + Text(under)));

        const QImage image = Grab();
        QVERIFY(!image.isNull());
        QVERIFY(mPictures.Save(image, QStringLiteral("screen-tooltip-%1.png")
                                          .arg(QTest::currentDataTag()).replace(' ', '-')));
        const qreal ratio = mWindow->devicePixelRatio();
        const int row = qRound(box.center().y() * ratio);
        // Inside the border, a pixel in from each side: both white, so the box is not cut at either edge.
        for (const qreal x : {box.left() + 2, box.right() - 3})
            QVERIFY2(qGray(image.pixel(qRound(x * ratio), row)) > 240, qPrintable(QString::number(x)));
    }

private:
    // Rows at full HD and at the smallest size, one for each named part.
    static void SizeRows(const char* column, const QList<const char*>& parts)
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>(column);
        for (const QSize size : {QSize(1920, 1080), QSize(800, 600)})
            for (const char* part : parts)
                QTest::addRow("%dx%d %s", size.width(), size.height(), part) << size << QByteArray(part);
    }

    // A new config's first layout in the editor, in a window of that size; with the sample widgets if asked.
    void OpenEditor(const QSize& size, bool withSamples)
    {
        mWindow->resize(size);
        QTRY_COMPARE(mWindow->size(), size);
        Click(Find("createButton"));
        QTRY_VERIFY(mWindow->property("mainMenuEnabled").toBool());
        if (withSamples)
            cWindowTestSupport::AddSampleWidgets(*mApplication->currentConfig()->Layouts().Items().first());
        Click(Find("layoutEditorButton"));
        QTRY_VERIFY(Find("layoutEditorPage")->property("visible").toBool());
    }

    static QString Text(const QRectF& r)
    {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

    QObject* Find(const char* name) const { return cWindowTestSupport::Find(mWindow, name); }

    static int Items(QQuickItem* item, const char* name)
    {
        int count = item->objectName() == QLatin1String(name) ? 1 : 0;
        for (QQuickItem* child : item->childItems())
            count += Items(child, name);
        return count;
    }

    static QRectF SceneRect(QObject* object)
    {
        auto* item = qobject_cast<QQuickItem*>(object);
        return item->mapRectToScene(item->boundingRect());
    }

    void Click(QObject* object)
    {
        auto* item = qobject_cast<QQuickItem*>(object);
        QVERIFY(item);
        const QPointF centre(item->width() / 2, item->height() / 2);
        QTest::mouseClick(mWindow, Qt::LeftButton, {}, item->mapToScene(centre).toPoint());
    }

    // The window as drawn at its present size, or null when no frame of that size comes. The first frame
    // at a new size may still be on its way; each grab draws the whole window, so the one that fits is kept.
    QImage Grab() const
    {
        QImage image;
        const bool drawn = QTest::qWaitFor(
            [&] {
                image = mWindow->grabWindow();
                return image.size() == mWindow->size() * mWindow->devicePixelRatio();
            },
            10000);
        return drawn ? image : QImage();
    }

    // The window draws something other than one colour, shows the named items whole, and causes no warning.
    void Shot(const char* name, const QList<const char*>& whole)
    {
        const QImage image = Grab();
        QVERIFY(!image.isNull());
        QVERIFY(image.pixel(0, 0) != image.pixel(image.width() / 2, image.height() / 2) ||
                image.pixel(image.width() / 3, image.height() / 3) != image.pixel(0, 0));
        const QRectF window = QRectF(QPointF(), mWindow->size()).adjusted(-0.5, -0.5, 0.5, 0.5);
        for (const char* part : whole) {
            auto* item = qobject_cast<QQuickItem*>(Find(part));
            QVERIFY2(item->isVisible() && window.contains(item->mapRectToScene(item->boundingRect())),
                     qPrintable(QStringLiteral("%1 whole on %2").arg(part, name)));
        }
        QVERIFY(mPictures.Save(image, QStringLiteral("screen-%1-%2.png").arg(name, QTest::currentDataTag())));
        QVERIFY2(mWarnings.messages().isEmpty(), qPrintable(mWarnings.messages().join(QLatin1Char('\n'))));
    }

    QTemporaryDir mSettingsFolder;
    cTestPictures mPictures;
    cQmlWarningLog mWarnings;
    std::unique_ptr<cApplication> mApplication;
    std::unique_ptr<QQmlApplicationEngine> mEngine;
    QQuickWindow* mWindow = nullptr;
    QObject* mLoadDialog = nullptr;
};

QTEST_MAIN(tst_gl_Screens)

#include "tst_gl_Screens.moc"

#include "support/cFixedConfigSource.h"
#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"

#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QtTest>
#include <memory>

// The TabContainer component bound to a tab container with text, rectangle
// and image widgets, rendered as the layout page shows it. With
// KELVARI_PREVIEW_DIR set, the renderings are written there as PNG files.
class tst_TabContainerItem : public QObject
{
    Q_OBJECT

private:
    QQuickItem* Item() const { return mView->rootObject()->property("tabContainerItem").value<QQuickItem*>(); }
    QQuickItem* Stack() const { return Item()->findChild<QQuickItem*>("stackLayout"); }
    QQuickItem* TabBar() const { return Item()->findChild<QQuickItem*>("tabBar"); }

    QVariant GetContainer(int location) const
    {
        QVariant result;
        QMetaObject::invokeMethod(Item(), "getContainer", Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, location));
        return result;
    }

    void Render(const QString& name)
    {
        QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
        const QSharedPointer<QQuickItemGrabResult> grab = mView->rootObject()->grabToImage();
        QVERIFY(grab);
        QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
        QVERIFY(ready.wait());
        const QImage image = grab->image();
        QVERIFY(!image.isNull());
        const QString folder = qEnvironmentVariable("KELVARI_PREVIEW_DIR");
        if (!folder.isEmpty())
            QVERIFY(image.save(QDir(folder).filePath(name + ".png")));
    }

    cConfigBase mConfig{nullptr};
    cFixedConfigSource mOpenConfig{&mConfig};
    std::unique_ptr<QObject> mOwner;
    cTabContainer* mContainer = nullptr;
    cTextWidget* mTitle = nullptr;
    std::unique_ptr<QQuickView> mView;

private slots:
    void init();
    void cleanup();

    void pagesFollowTheTabs();
    void tabButtonsChangeTheCurrentTab();
    void currentTabDrivesEveryPage();
    void barMovesToTheBottom();
    void labelsTakeTheBarSizeUnlessTheyWouldNotFit_data();
    void labelsTakeTheBarSizeUnlessTheyWouldNotFit();
};

void tst_TabContainerItem::init()
{
    mOwner = std::make_unique<QObject>();
    int id = 1;
    const auto place = [this, &id](cWidget* widget, int tab, float x, float y, float width, float height) {
        widget->setXFraction(x);
        widget->setYFraction(y);
        widget->setWidthFraction(width);
        widget->setHeightFraction(height);
        mContainer->AddContainerChild(widget, tab);
    };
    const auto title = [&](int tab, const char* text) {
        auto* widget = new cTextWidget(++id, mOwner.get());
        widget->GetTextProperty()->setStringValue(text);
        widget->GetTextColourProperty()->setStringValue("#B3B3B3");
        place(widget, tab, 0.05f, 0.05f, 0.6f, 0.15f);
        return widget;
    };
    const auto panel = [&](int tab, const char* colour, float x, float width, float radius) {
        auto* widget = new cRectangleWidget(++id, mOwner.get());
        widget->GetColourProperty()->setStringValue(colour);
        widget->GetRadiusProperty()->setFloatValue(radius);
        place(widget, tab, x, 0.3f, width, 0.6f);
    };

    mContainer = new cTabContainer(id, mOwner.get(), mConfig);
    mContainer->setXFraction(0);
    mContainer->setYFraction(0);
    mContainer->setWidthFraction(1);
    mContainer->setHeightFraction(1);
    const QStringList names = {"Inputs", "Buses", "Effects"};
    for (int tab = 0; tab < names.size(); ++tab)
        mContainer->GetTabNameProperties().at(tab)->setStringValue(names.at(tab));

    mTitle = title(0, "Input channels");
    const QStringList colours = {"#04FFC5", "#3d7eff", "#ff8a3d", "#c94dff"};
    for (int i = 0; i < colours.size(); ++i)
        panel(0, qPrintable(colours.at(i)), 0.05f + 0.22f * i, 0.18f, 0.08f);
    title(1, "Mix buses");
    panel(1, "#262626", 0.05f, 0.9f, 0);
    title(2, "Effects returns");
    // Each drawing keeps its own proportions on the 720 x 376 page.
    const QList<QPair<const char*, QSizeF>> drawings = {
        {"default_th_0_rotary_pointer_0", {0.11, 0.21}}, {"default_th_2_rotary_pointer_2", {0.11, 0.21}},
        {"default_th_1_btn_on_0", {0.13, 0.15}},         {"default_th_3_btn_off_3", {0.13, 0.15}},
        {"default_th_0_led_on_0", {0.06, 0.115}},        {"default_th_1_led_off_2", {0.06, 0.115}}};
    float left = 0.05f;
    for (const auto& drawing : drawings)
    {
        auto* picture = new cImageWidget(++id, mConfig, mOwner.get());
        picture->GetImageProperty()->setStringValue(drawing.first);
        const QSizeF size = drawing.second;
        place(picture, 2, left, 0.5f - size.height() / 2, size.width(), size.height());
        left += size.width() + 0.04f;
    }

    mView = std::make_unique<QQuickView>();
    mView->engine()->addImageProvider("imageProvider", new cImageProvider(mOpenConfig));
    mView->rootContext()->setContextProperty("previewContainer", mContainer);
    const QString preview = QDir::cleanPath(QStringLiteral(TEST_DATA_DIR "/../qml/TabContainerPreview.qml"));
    mView->setSource(QUrl::fromLocalFile(preview));
    QCOMPARE(mView->status(), QQuickView::Ready);
    mView->show();
}

void tst_TabContainerItem::cleanup()
{
    mView.reset();
    mOwner.reset();
}

void tst_TabContainerItem::pagesFollowTheTabs()
{
    QCOMPARE(mContainer->GetQQuickItems(), QList<QQuickItem*>({Item()}));
    for (int tab = 0; tab < 4; ++tab)
    {
        const QList<QQuickItem*> pages = mContainer->LinkedContainerQuickItems(tab);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first()->objectName(), QString("containerItem"));
        QCOMPARE(GetContainer(tab).value<QQuickItem*>(), pages.first());
    }
    QCOMPARE(mTitle->GetQQuickItems().first()->parentItem(), mContainer->LinkedContainerQuickItems(0).first());
    QVERIFY(Stack()->isVisible());
    Render("TabContainerPreview-top");
}

void tst_TabContainerItem::tabButtonsChangeTheCurrentTab()
{
    QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
    const QPointF onSecond = TabBar()->mapToScene(QPointF(TabBar()->width() * 3 / 8, TabBar()->height() / 2));

    QTest::mouseClick(mView.get(), Qt::LeftButton, Qt::NoModifier, onSecond.toPoint());
    QCOMPARE(mContainer->currentTabIndex(), 1);
    QVERIFY(!mTitle->IsVisible());
    QCOMPARE(Stack()->property("currentIndex").toInt(), 1);
    Render("TabContainerPreview-second-tab");
}

void tst_TabContainerItem::currentTabDrivesEveryPage()
{
    mContainer->setCurrentTabIndex(2);
    QCOMPARE(TabBar()->property("currentIndex").toInt(), 2);
    QCOMPARE(Stack()->property("currentIndex").toInt(), 2);
    QVERIFY(!mContainer->LinkedContainerQuickItems(0).first()->isVisible());
    Render("TabContainerPreview-drawings");

    mContainer->setCurrentTabIndex(3);
    mContainer->GetNumberOfTabsProperty()->SetIntValue(2);
    QCOMPARE(TabBar()->property("count").toInt(), 2);
    QCOMPARE(Stack()->property("currentIndex").toInt(), 1);
    QVERIFY(GetContainer(1).value<QQuickItem*>());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Invalid containerLocation 2"));
    GetContainer(2);
}

void tst_TabContainerItem::barMovesToTheBottom()
{
    mContainer->GetTabPositionProperty()->setIntValue(1);
    mContainer->GetColourOnProperty()->setStringValue("#04FFC5");
    mContainer->GetColourOffProperty()->setStringValue("#4d4d4d");
    QCOMPARE(TabBar()->y() + TabBar()->height(), Item()->height());
    QCOMPARE(Stack()->y(), 0.0);
    Render("TabContainerPreview-bottom");
}

void tst_TabContainerItem::labelsTakeTheBarSizeUnlessTheyWouldNotFit_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<int>("pixelSize");
    // The canvas keeps a margin of 40 around the container; the bar is a tenth of its height.
    QTest::newRow("four tabs, wide bar") << 4 << QSize(880, 580) << 25;
    QTest::newRow("ten tabs, wide bar") << 10 << QSize(880, 580) << 25;
    QTest::newRow("ten tabs, mid-sized") << 10 << QSize(480, 380) << 15;
    QTest::newRow("ten tabs, small: long labels shrink") << 10 << QSize(280, 280) << 10;
}

void tst_TabContainerItem::labelsTakeTheBarSizeUnlessTheyWouldNotFit()
{
    QFETCH(int, tabs);
    QFETCH(QSize, canvas);
    QFETCH(int, pixelSize);
    QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
    for (int k = 0; k < tabs; ++k)
        mContainer->GetTabNameProperties().at(k)->setStringValue(QString::number(k + 1));
    mContainer->GetNumberOfTabsProperty()->SetIntValue(tabs);
    mView->rootObject()->setSize(canvas);
    for (int i = 0; i < tabs; ++i)
    {
        QQuickItem* button = nullptr;
        QMetaObject::invokeMethod(TabBar(), "itemAt", Q_RETURN_ARG(QQuickItem*, button), Q_ARG(int, i));
        const int size = button->property("font").value<QFont>().pixelSize();
        QVERIFY(i < 9 ? size == pixelSize : size <= pixelSize);
        QVERIFY(!button->property("contentItem").value<QQuickItem*>()->property("truncated").toBool());
    }
}

QTEST_MAIN(tst_TabContainerItem)

#include "tst_TabContainerItem.moc"

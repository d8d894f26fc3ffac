#include "support/cFixedConfigSource.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cKelvariFonts.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"

#include <QFontDatabase>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QRawFont>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace
{
// The real provider, noting every request the QML engine makes as "id WxH".
class cRecordingImageProvider : public cImageProvider
{
public:
    cRecordingImageProvider(const cCurrentConfigSource& source, QStringList& requests)
        : cImageProvider(source), mRequests(requests)
    {
    }
    QImage requestImage(const QString& id, QSize* size, const QSize& requested) override
    {
        mRequests << QStringLiteral("%1 %2x%3").arg(id).arg(requested.width()).arg(requested.height());
        return cImageProvider::requestImage(id, size, requested);
    }

private:
    QStringList& mRequests;
};
}

// The widgets' QML components bound to their widgets, in a window as the layout page shows them.
class tst_WidgetItems : public QObject
{
    Q_OBJECT

    std::unique_ptr<cConfigBase> mConfig;
    std::unique_ptr<cFixedConfigSource> mSource;
    std::unique_ptr<QObject> mOwner;
    std::unique_ptr<QQuickView> mView;
    QStringList mRequests;
    QStringList mWarnings;

    QQuickItem* Create(const QString& file, cWidget* widget, bool runner = false)
    {
        QQmlComponent component(mView->engine(), QUrl("qrc:/Widgets/" + file));
        auto* item = qobject_cast<QQuickItem*>(component.beginCreate(mView->engine()->rootContext()));
        if (!item)
            return nullptr;
        item->setParent(mView->contentItem());
        item->setParentItem(mView->contentItem());
        item->setProperty("cppWidget", QVariant::fromValue<QObject*>(widget));
        item->setProperty("runner", runner);
        component.completeCreate();
        if (widget)
            widget->setQQuickItem(item, !runner);
        return item;
    }
    void Place(cWidget* widget, const QRectF& geometry)
    {
        widget->setXFraction(geometry.x());
        widget->setYFraction(geometry.y());
        widget->setWidthFraction(geometry.width());
        widget->setHeightFraction(geometry.height());
    }

    QQuickItem* Tabs(cTabContainer*& container, cWidget*& first)
    {
        container = new cTabContainer(1, mOwner.get(), *mConfig);
        Place(container, {0, 0, 1, 1});
        first = new cTextWidget(2, mOwner.get());
        container->AddContainerChild(first, 0);
        return Create("TabContainer.qml", container);
    }
    static QQuickItem* Page(QQuickItem* tabs, int location)
    {
        QVariant result;
        QMetaObject::invokeMethod(tabs, "getContainer", Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, location));
        return result.value<QQuickItem*>();
    }

private slots:
    void init()
    {
        mConfig = std::make_unique<cConfigBase>(nullptr);
        mSource = std::make_unique<cFixedConfigSource>(mConfig.get());
        mOwner = std::make_unique<QObject>();
        mRequests.clear();
        mWarnings.clear();
        mView = std::make_unique<QQuickView>();
        mView->engine()->addImageProvider("imageProvider", new cRecordingImageProvider(*mSource, mRequests));
        connect(mView->engine(), &QQmlEngine::warnings, this, [this](const QList<QQmlError>& warnings) {
            for (const QQmlError& warning : warnings)
                mWarnings << warning.toString();
        });
        mView->resize(400, 200);
        mView->contentItem()->setSize(QSizeF(400, 200));
    }
    void cleanup()
    {
        mView.reset();
        mOwner.reset();
    }
    // Without a widget the default picture; with one, its choice, which only the editor's item reloads.
    void imageShowsTheWidgetsChoiceOrTheDefault()
    {
        QQuickItem* item = Create("GeneralImage.qml", nullptr);
        auto* picture = item->findChild<QQuickItem*>("picture");
        QCOMPARE(item->size(), QSizeF(80, 40));
        QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/_default"));
        QCOMPARE(picture->property("sourceSize").toSize(), QSize(100, 100));
        QCOMPARE(picture->size(), item->size());
        QCOMPARE(mRequests, QStringList{"_default 100x100"});
        cImageWidget widget(1, *mConfig, nullptr);
        QQuickItem* editorItem = Create("GeneralImage.qml", &widget, false);
        QQuickItem* testWindowItem = Create("GeneralImage.qml", &widget, true);
        widget.GetImageProperty()->setStringValue("default_th_0_btn_on_0");
        for (QQuickItem* item : {editorItem, testWindowItem})
        {
            auto* picture = item->findChild<QQuickItem*>("picture");
            QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/default_th_0_btn_on_0"));
            QCOMPARE(picture->property("status").toInt(), 1);
            QCOMPARE(picture->property("cache").toBool(), item == testWindowItem);
        }
        QVERIFY(!mRequests.filter("default_th_0_btn_on_0").isEmpty());
    }
    void imageReloadsOnlyForItsOwnResource()
    {
        cImageWidget widget(1, *mConfig, nullptr);
        widget.GetImageProperty()->setStringValue("1");
        QQuickItem* item = Create("GeneralImage.qml", &widget);
        auto* picture = item->findChild<QQuickItem*>("picture");
        QSignalSpy changed(&widget, &cImageWidget::imageChanged);
        const auto insert = [this](const QString& id, int width) {
            auto* resource = new cImageResource(mConfig.get(), id, "photo", QImage(width, 10, QImage::Format_ARGB32), "x",
                                                "png", mConfig.get());
            mConfig->InsertNewResource(resource);
            return resource;
        };
        insert("0", 40);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(mRequests.filter(QRegularExpression("^1[: ]")).size(), 1);
        cImageResource* own = insert("1", 30);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(mRequests.filter(QRegularExpression("^1[: ]")).size(), 2);
        QCOMPARE(picture->implicitWidth(), 30.0);
        mConfig->RemoveResource(own);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(picture->implicitWidth(), 20.0);
        // The source is bound again after a reload, and drawn again at its parent's size.
        widget.GetImageProperty()->setStringValue("default_gen_rotary_0");
        QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/default_gen_rotary_0"));
        Place(&widget, {0, 0, 0.5, 0.5});
        mView->contentItem()->setSize(QSizeF(640, 480));
        QCOMPARE(item->size(), QSizeF(320, 240));
        QTRY_COMPARE_WITH_TIMEOUT(picture->property("sourceSize").toSize(), QSize(640, 480), 3000);
        QCOMPARE(mRequests.last(), QString("default_gen_rotary_0 640x480"));
    }
    // Each network-bound component loads cleanly, takes its widget's geometry and draws from existing drawings.
    void networkWidgetItemsShowTheirWidgets()
    {
        mView->contentItem()->setSize(QSizeF(1000, 420));
        const QStringList kinds = {"zrnet_fader ZRNetFader", "zrnet_meter ZRNetMeter", "zrnet_rotary ZRNetRotary",
                                   "zrnet_button ZRNetButton", "zrnet_led ZRNetLEDIndicator", "zrnet_grmeter ZRNetGRMeter",
                                   "zrnet_chrom_meter ZRNetChromaticMeter", "zrnet_source_sel ZRNetSourceSelector",
                                   "zrnet_text ZRNetTextWidget"};
        int drawings = 0;
        for (int id = 1; id <= kinds.size(); ++id)
        {
            const QString kind = kinds.at(id - 1);
            cWidget* widget = cEditorWidgetFactory::CreateWidget(kind.section(' ', 0, 0), id, *mConfig, mOwner.get());
            Place(widget, {0.0625 * id, 0.125, 0.0625, 0.5});
            QQuickItem* item = Create(kind.section(' ', 1) + ".qml", widget);
            QVERIFY2(item, qPrintable(kind));
            QCOMPARE(item->property("widgetType").toString(), widget->GetType());
            QCOMPARE(widget->GetQQuickItems(), QList<QQuickItem*>({item}));
            QCOMPARE(QRectF(item->position(), item->size()), QRectF(62.5 * id, 52.5, 62.5, 210));
            QVERIFY(item->property("defaultWidthFraction").toReal() > 0);
            widget->setHeightFraction(0.25f);
            QCOMPARE(item->height(), 105.0);
            // Fader track and cap, rotary scale and knob, button and LED come from existing drawings.
            for (QQuickItem* child : item->findChildren<QQuickItem*>())
            {
                const QUrl source = child->property("source").toUrl();
                if (!child->inherits("QQuickImage") || source.scheme() != QLatin1String("image"))
                    continue;
                const QString id = source.path().mid(1).section(':', 0, 0);
                QVERIFY2(QFile::exists(cConfigBase::DrawingPath(id)), qPrintable(id));
                ++drawings;
            }
        }
        QCOMPARE(drawings, 6);
        QVERIFY2(mWarnings.isEmpty(), qPrintable(mWarnings.join('\n')));
    }
    void tabButtonsAndTheCurrentTabFollowEachOther()
    {
        cTabContainer* container = nullptr;
        cWidget* first = nullptr;
        QQuickItem* item = Tabs(container, first);
        auto* bar = item->findChild<QQuickItem*>("tabBar");
        auto* stack = item->findChild<QQuickItem*>("stackLayout");
        mView->show();
        QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
        const QPointF onSecond = bar->mapToScene(QPointF(bar->width() * 3 / 8, bar->height() / 2));
        QTest::mouseClick(mView.get(), Qt::LeftButton, Qt::NoModifier, onSecond.toPoint());
        QCOMPARE(container->currentTabIndex(), 1);
        QVERIFY(!first->IsVisible());
        QCOMPARE(stack->property("currentIndex").toInt(), 1);
        container->setCurrentTabIndex(2);
        QCOMPARE(bar->property("currentIndex").toInt(), 2);
        QCOMPARE(stack->property("currentIndex").toInt(), 2);
        QVERIFY(!Page(item, 0)->isVisible());
        container->setCurrentTabIndex(3);
        container->GetNumberOfTabsProperty()->SetIntValue(2);
        QCOMPARE(bar->property("count").toInt(), 2);
        QCOMPARE(stack->property("currentIndex").toInt(), 1);
        QVERIFY(Page(item, 1));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Invalid containerLocation 2"));
        Page(item, 2);
    }
    // The bar is a tenth of the container's height.
    void tabLabelsTakeTheBarSizeUnlessTheyWouldNotFit_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("four tabs, wide bar") << 4 << QSize(800, 500) << 25;
        QTest::newRow("ten tabs, wide bar") << 10 << QSize(800, 500) << 25;
        QTest::newRow("ten tabs, mid-sized") << 10 << QSize(400, 300) << 15;
        QTest::newRow("ten tabs, small: long labels shrink") << 10 << QSize(200, 200) << 10;
    }
    void tabLabelsTakeTheBarSizeUnlessTheyWouldNotFit()
    {
        QFETCH(int, tabs);
        QFETCH(int, pixelSize);
        QFETCH(QSize, page);
        cTabContainer* container = nullptr;
        cWidget* first = nullptr;
        auto* bar = Tabs(container, first)->findChild<QQuickItem*>("tabBar");
        container->GetNumberOfTabsProperty()->SetIntValue(tabs);
        mView->contentItem()->setSize(page);
        for (int i = 0; i < tabs; ++i)
        {
            QQuickItem* button = nullptr;
            QMetaObject::invokeMethod(bar, "itemAt", Q_RETURN_ARG(QQuickItem*, button), Q_ARG(int, i));
            const int size = button->property("font").value<QFont>().pixelSize();
            QVERIFY(i < 9 ? size == pixelSize : size <= pixelSize);
            QVERIFY(!button->property("contentItem").value<QQuickItem*>()->property("truncated").toBool());
        }
    }
    void fontTableListsTheCodesInTheOrderTheUserSees()
    {
        QStringList listed;
        for (auto font = cKelvariFonts::mFontCodesToNames.cbegin(); font != cKelvariFonts::mFontCodesToNames.cend(); ++font)
            listed << font.key() + "=" + font.value();
        QCOMPARE(listed, QStringList({"amaticsc=Amatic SC", "andada=Andada", "anticsans=Antic Sans", "belgrano=Belgrano",
                                      "blackhansans=Black Han Sans", "breeserif=Bree Serif", "crimsontext=Crimson Text",
                                      "encodesans=Encode Sans", "exo2=Exo 2", "fjordone=Fjord One", "glegoo=Glegoo",
                                      "ibmplexmono=IBM Plex Mono", "koho=Ko-Ho", "lato=Lato", "martelsans=Martel Sans",
                                      "mina=Mina", "poiretone=Poiret One", "shadowsintolight=Shadows Into Light"}));
        QCOMPARE(cKelvariFonts::mDefaultFontCode, QString("lato"));
    }
    void everyFontFileLoadsWithItsWeight_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("weight");
        const QMap<QString, int> weights = {{"exo2", 700}, {"lato-bold", 700}, {"crimsontext", 600}, {"martelsans", 600}};
        const QStringList codes = cKelvariFonts::mFontCodesToNames.keys() << QStringLiteral("lato-bold");
        for (const QString& code : codes)
            QTest::newRow(qPrintable(code)) << code << weights.value(code, 400);
    }
    void everyFontFileLoadsWithItsWeight()
    {
        QFETCH(QString, code);
        const int id = QFontDatabase::addApplicationFont(":/" + code);
        QVERIFY2(id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty(), qPrintable(code));
        const QRawFont font(":/" + code, 12);
        QVERIFY(font.isValid());
        QCOMPARE(font.style(), QFont::StyleNormal);
        // The weight class of the file's OS/2 table (a big-endian word at offset 4) tells semi-bold from bold.
        const QByteArray os2 = font.fontTable("OS/2");
        QVERIFY(os2.size() >= 6);
        QTEST(int(qFromBigEndian<quint16>(os2.constData() + 4)), "weight");
        // Widget items load their font by "qrc:/" and the code, and use the name the loader reports.
        QQmlComponent component(mView->engine());
        component.setData("import QtQuick 2.12\nFontLoader { source: \"qrc:/" + code.toUtf8() + "\" }", QUrl());
        std::unique_ptr<QObject> loader(component.create());
        QVERIFY2(loader, qPrintable(component.errorString()));
        QTRY_COMPARE(loader->property("status").toInt(), 1);
        QVERIFY(!loader->property("name").toString().isEmpty());
    }
};

QTEST_MAIN(tst_WidgetItems)
#include "tst_WidgetItems.moc"

#include "support/cFixedConfigSource.h"
#include "support/WidgetXml.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace
{
struct sRequest
{
    QString id;
    QSize requestedSize;
};

// The real provider, noting every request the QML engine makes.
class cRecordingImageProvider : public cImageProvider
{
public:
    cRecordingImageProvider(const cCurrentConfigSource& source, QList<sRequest>& requests)
        : cImageProvider(source), mRequests(requests)
    {
    }

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override
    {
        mRequests.append({id, requestedSize});
        return cImageProvider::requestImage(id, size, requestedSize);
    }

private:
    QList<sRequest>& mRequests;
};
}

class tst_cImageWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void attributesRoundTripAfterTheBase();
    void resourceIdIsRead_data();
    void resourceIdIsRead();
    void itemWithoutWidgetShowsTheDefaultPicture();
    void itemShowsTheWidgetsChoice();
    void itemReloadsOnlyForItsOwnResource();
    void itemRendersAgainAtItsParentsSize();

private:
    QQuickItem* CreateItem(cImageWidget* widget, bool runner = false);
    int RequestsFor(const QString& id) const;

    std::unique_ptr<cConfigBase> mConfig;
    std::unique_ptr<cFixedConfigSource> mSource;
    QList<sRequest> mRequests;
    std::unique_ptr<QQmlEngine> mEngine;
    std::unique_ptr<QQuickItem> mCanvas;
};

void tst_cImageWidget::init()
{
    mConfig = std::make_unique<cConfigBase>(nullptr);
    mSource = std::make_unique<cFixedConfigSource>(mConfig.get());
    mRequests.clear();
    mEngine = std::make_unique<QQmlEngine>();
    mEngine->addImageProvider("imageProvider", new cRecordingImageProvider(*mSource, mRequests));
    mCanvas = std::make_unique<QQuickItem>();
    mCanvas->setSize(QSizeF(400, 200));
}

void tst_cImageWidget::cleanup()
{
    mCanvas.reset();
    mEngine.reset();
    mSource.reset();
    mConfig.reset();
}

QQuickItem* tst_cImageWidget::CreateItem(cImageWidget* widget, bool runner)
{
    QQmlComponent component(mEngine.get(), QUrl("qrc:/Widgets/GeneralImage.qml"));
    auto* item = qobject_cast<QQuickItem*>(component.beginCreate(mEngine->rootContext()));
    if (!item)
        return nullptr;
    item->setParent(mCanvas.get());
    item->setParentItem(mCanvas.get());
    item->setProperty("cppWidget", QVariant::fromValue<QObject*>(widget));
    item->setProperty("runner", runner);
    component.completeCreate();
    if (widget)
        widget->setQQuickItem(item, !runner);
    return item;
}

int tst_cImageWidget::RequestsFor(const QString& id) const
{
    return int(std::count_if(mRequests.cbegin(), mRequests.cend(),
                             [&id](const sRequest& request) { return request.id == id; }));
}

void tst_cImageWidget::attributesRoundTripAfterTheBase()
{
    cImageWidget original(3, *mConfig, nullptr);
    QCOMPARE(PropertyNames(original), QStringList({"X", "Y", "Width", "Height", "Z", "Image"}));
    QCOMPARE(WriteWidgetXml(original), QString("<Widget id=\"3\" type=\"image\" x=\"-1\" y=\"-1\" width=\"-1\" "
                                               "height=\"-1\" z=\"0\" resourceId=\"_default\"/>"));
    original.GetImageProperty()->setStringValue("default_th_2_rotary_4");
    original.setXFraction(0.25f);

    cImageWidget copy(3, *mConfig, nullptr);
    copy.LoadAttributes(*XmlReaderOn(WriteWidgetXml(original)));
    QCOMPARE(WriteWidgetXml(copy), WriteWidgetXml(original));
}

void tst_cImageWidget::resourceIdIsRead_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << "<Widget id=\"1\" type=\"image\" x=\"0.5\"/>" << "_default";
    QTest::newRow("user image") << "<Widget resourceId=\"12\"/>" << "12";
    QTest::newRow("empty") << "<Widget resourceId=\"\"/>" << "";
}

void tst_cImageWidget::resourceIdIsRead()
{
    QFETCH(QString, element);
    QFETCH(QString, expected);
    cImageWidget widget(1, *mConfig, nullptr);
    widget.LoadAttributes(*XmlReaderOn(element));
    QCOMPARE(widget.GetImageProperty()->stringValue(), expected);
}

void tst_cImageWidget::itemWithoutWidgetShowsTheDefaultPicture()
{
    QQuickItem* item = CreateItem(nullptr);
    QVERIFY(item);
    auto* picture = item->findChild<QQuickItem*>("picture");
    QVERIFY(picture);

    QCOMPARE(item->size(), QSizeF(80, 40));
    QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/_default"));
    QCOMPARE(picture->property("sourceSize").toSize(), QSize(100, 100));
    QCOMPARE(picture->size(), item->size());
    QCOMPARE(RequestsFor("_default"), 1);
    QCOMPARE(mRequests.first().requestedSize, QSize(100, 100));
}

void tst_cImageWidget::itemShowsTheWidgetsChoice()
{
    cImageWidget widget(1, *mConfig, nullptr);
    QQuickItem* editorItem = CreateItem(&widget, false);
    QQuickItem* testWindowItem = CreateItem(&widget, true);
    QVERIFY(editorItem && testWindowItem);

    widget.GetImageProperty()->setStringValue("default_th_0_btn_on_0");
    for (QQuickItem* item : {editorItem, testWindowItem})
    {
        auto* picture = item->findChild<QQuickItem*>("picture");
        QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/default_th_0_btn_on_0"));
        QCOMPARE(picture->property("status").toInt(), 1);
        // Only the editor reloads pictures that change under it.
        QCOMPARE(picture->property("cache").toBool(), item == testWindowItem);
    }
    QVERIFY(RequestsFor("default_th_0_btn_on_0") >= 1);
}

void tst_cImageWidget::itemReloadsOnlyForItsOwnResource()
{
    cImageWidget widget(1, *mConfig, nullptr);
    widget.GetImageProperty()->setStringValue("1");
    QQuickItem* item = CreateItem(&widget);
    QVERIFY(item);
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
    QCOMPARE(RequestsFor("1"), 1);
    cImageResource* own = insert("1", 30);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(RequestsFor("1"), 2);
    QCOMPARE(picture->implicitWidth(), 30.0);
    mConfig->RemoveResource(own);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(picture->implicitWidth(), 20.0);

    // The source is bound again after a reload.
    widget.GetImageProperty()->setStringValue("_default");
    QCOMPARE(picture->property("source").toUrl(), QUrl("image://imageProvider/_default"));
}

void tst_cImageWidget::itemRendersAgainAtItsParentsSize()
{
    cImageWidget widget(1, *mConfig, nullptr);
    widget.GetImageProperty()->setStringValue("default_gen_rotary_0");
    widget.setWidthFraction(0.5f);
    widget.setHeightFraction(0.5f);
    QQuickItem* item = CreateItem(&widget);
    QVERIFY(item);
    auto* picture = item->findChild<QQuickItem*>("picture");

    mCanvas->setSize(QSizeF(640, 480));
    QCOMPARE(item->size(), QSizeF(320, 240));
    QTRY_COMPARE_WITH_TIMEOUT(picture->property("sourceSize").toSize(), QSize(640, 480), 3000);
    QCOMPARE(mRequests.last().id, QString("default_gen_rotary_0"));
    QCOMPARE(mRequests.last().requestedSize, QSize(640, 480));
}

QTEST_MAIN(tst_cImageWidget)
#include "tst_cImageWidget.moc"

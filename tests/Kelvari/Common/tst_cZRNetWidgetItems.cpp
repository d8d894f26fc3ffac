#include "support/cFixedConfigSource.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cZRNetButtonWidget.h"
#include "Kelvari/Common/cZRNetChromaticMeterWidget.h"
#include "Kelvari/Common/cZRNetFaderWidget.h"
#include "Kelvari/Common/cZRNetGRMeterWidget.h"
#include "Kelvari/Common/cZRNetLEDIndicatorWidget.h"
#include "Kelvari/Common/cZRNetMeterWidget.h"
#include "Kelvari/Common/cZRNetRotaryWidget.h"
#include "Kelvari/Common/cZRNetSourceSelectorWidget.h"
#include "Kelvari/Common/cZRNetTextWidget.h"

#include <QDir>
#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QtTest>
#include <memory>

// The components of the network-bound widgets on a layout page: each loads
// cleanly, takes its widget's geometry and draws from existing drawings.
// With KELVARI_PREVIEW_DIR set, the page is written there as zrnet-widgets.png.
class tst_cZRNetWidgetItems : public QObject
{
    Q_OBJECT

private:
    cConfigBase mConfig{nullptr};
    cFixedConfigSource mOpenConfig{&mConfig};
    std::shared_ptr<cKelvariConfigClient> mClient;
    std::unique_ptr<QObject> mOwner;
    std::unique_ptr<QQuickView> mView;
    std::unique_ptr<QQuickItem> mPage;
    QStringList mWarnings;
    QList<cWidget*> mWidgets;
    QList<QQuickItem*> mItems;

private slots:
    void init();
    void cleanup();

    void eachComponentShowsItsWidget();
};

void tst_cZRNetWidgetItems::init()
{
    mOwner = std::make_unique<QObject>();
    QObject* owner = mOwner.get();
    // Side by side as on a control surface page of 1000 by 420 pixels.
    const QList<QPair<cWidget*, QPair<QString, QRectF>>> placed = {
        {new cZRNetFaderWidget(1, owner, mClient, mConfig), {"ZRNetFader.qml", {0.03, 0.08, 0.05, 0.82}}},
        {new cZRNetMeterWidget(2, owner, mClient, mConfig), {"ZRNetMeter.qml", {0.09, 0.1, 0.016, 0.78}}},
        {new cZRNetRotaryWidget(3, owner, mClient, mConfig), {"ZRNetRotary.qml", {0.15, 0.08, 0.08, 0.19}}},
        {new cZRNetButtonWidget(4, owner, mClient, mConfig), {"ZRNetButton.qml", {0.26, 0.1, 0.08, 0.11}}},
        {new cZRNetLEDIndicatorWidget(5, owner, mClient, mConfig), {"ZRNetLEDIndicator.qml", {0.37, 0.11, 0.03, 0.07}}},
        {new cZRNetGRMeterWidget(6, owner, mClient, mConfig), {"ZRNetGRMeter.qml", {0.44, 0.08, 0.016, 0.5}}},
        {new cZRNetChromaticMeterWidget(7, owner, mClient, mConfig),
         {"ZRNetChromaticMeter.qml", {0.49, 0.08, 0.016, 0.82}}},
        {new cZRNetSourceSelectorWidget(8, owner, mClient), {"ZRNetSourceSelector.qml", {0.55, 0.1, 0.18, 0.09}}},
        {new cZRNetTextWidget(9, owner, mClient), {"ZRNetTextWidget.qml", {0.77, 0.1, 0.18, 0.08}}},
    };

    mView = std::make_unique<QQuickView>();
    mView->engine()->addImageProvider("imageProvider", new cImageProvider(mOpenConfig));
    connect(mView->engine(), &QQmlEngine::warnings, this, [this](const QList<QQmlError>& warnings) {
        for (const QQmlError& warning : warnings)
            mWarnings << warning.toString();
    });
    mView->resize(1000, 420);
    QQmlComponent pageComponent(mView->engine());
    pageComponent.setData("import QtQuick 2.12\nRectangle { width: 1000; height: 420; color: \"#333333\" }", QUrl());
    mPage.reset(qobject_cast<QQuickItem*>(pageComponent.create()));
    QVERIFY(mPage);
    mPage->setParentItem(mView->contentItem());
    for (const auto& entry : placed)
    {
        cWidget* widget = entry.first;
        const QRectF geometry = entry.second.second;
        widget->setXFraction(geometry.x());
        widget->setYFraction(geometry.y());
        widget->setWidthFraction(geometry.width());
        widget->setHeightFraction(geometry.height());
        QQmlComponent component(mView->engine(), QUrl("qrc:/Widgets/" + entry.second.first));
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        auto* item = qobject_cast<QQuickItem*>(component.beginCreate(mView->engine()->rootContext()));
        QVERIFY(item);
        item->setProperty("cppWidget", QVariant::fromValue<QObject*>(widget));
        item->setParentItem(mPage.get());
        component.completeCreate();
        widget->setQQuickItem(item, false);
        mWidgets << widget;
        mItems << item;
    }
    mView->show();
    QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
}

void tst_cZRNetWidgetItems::cleanup()
{
    mPage.reset();
    mView.reset();
    mOwner.reset();
}

void tst_cZRNetWidgetItems::eachComponentShowsItsWidget()
{
    for (int i = 0; i < mWidgets.size(); ++i)
    {
        const cWidget* widget = mWidgets.at(i);
        QQuickItem* item = mItems.at(i);
        QCOMPARE(item->property("widgetType").toString(), widget->GetType());
        QCOMPARE(widget->GetQQuickItems(), QList<QQuickItem*>({item}));
        QCOMPARE(QRectF(item->position(), item->size()),
                 QRectF(widget->xFraction() * 1000.0, widget->yFraction() * 420.0, widget->widthFraction() * 1000.0,
                        widget->heightFraction() * 420.0));
        QVERIFY(item->property("defaultWidthFraction").toReal() > 0);
    }
    // Fader track and cap, rotary scale and knob, button and LED come from existing drawings.
    int drawings = 0;
    for (QQuickItem* item : mItems)
    {
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

    const QSharedPointer<QQuickItemGrabResult> grab = mPage->grabToImage();
    QVERIFY(grab);
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    QVERIFY(ready.wait());
    QCOMPARE(grab->image().size(), QSize(1000, 420));
    const QString folder = qEnvironmentVariable("KELVARI_PREVIEW_DIR");
    if (!folder.isEmpty())
        QVERIFY(grab->image().save(QDir(folder).filePath("zrnet-widgets.png")));

    // Resizing a widget resizes its item.
    mWidgets.first()->setHeightFraction(0.5f);
    QCOMPARE(mItems.first()->height(), 210.0);
    QVERIFY2(mWarnings.isEmpty(), qPrintable(mWarnings.join('\n')));
}

QTEST_MAIN(tst_cZRNetWidgetItems)

#include "tst_cZRNetWidgetItems.moc"

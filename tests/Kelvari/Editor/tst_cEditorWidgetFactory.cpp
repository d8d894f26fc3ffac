#include "cFakeLayoutConfig.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Editor/cEditorTabContainer.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutUndoManager.h"

#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

namespace
{
QList<int> Ids(const QList<cWidget*>& widgets)
{
    QList<int> ids;
    for (const cWidget* widget : widgets)
        ids << widget->GetId();
    return ids;
}
}

class tst_cEditorWidgetFactory : public QObject
{
    Q_OBJECT

private slots:
    void createWidgetFollowsTheTypeTable_data();
    void createWidgetFollowsTheTypeTable();
    void negativeSizeDropsTheWholeElement();
    void requestPatternsAreHeldOnceInByteOrder();
    void reducingTabsDeletesTheirWidgetsUndoably();
    void loadedTabChildrenJoinThePage();
};

void tst_cEditorWidgetFactory::createWidgetFollowsTheTypeTable_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("isContainer");
    QTest::newRow("button") << "zrnet_button" << "cZRNetButtonWidget" << false;
    QTest::newRow("image") << "image" << "cImageWidget" << false;
    QTest::newRow("tab container") << "tab_container" << "cEditorTabContainer" << true;
    QTest::newRow("rotary") << "zrnet_rotary" << "cZRNetRotaryWidget" << false;
    QTest::newRow("rectangle") << "rect" << "cRectangleWidget" << false;
    QTest::newRow("case differs") << "Rect" << "cWidget" << false;
    QTest::newRow("unknown") << "container" << "cWidget" << false;
}

void tst_cEditorWidgetFactory::createWidgetFollowsTheTypeTable()
{
    QFETCH(QString, type);
    QFETCH(QString, className);
    QFETCH(bool, isContainer);
    cFakeLayoutConfig config;
    QObject parent;
    cWidget* widget = cEditorWidgetFactory::CreateWidget(type, 7, config, &parent);
    QVERIFY(widget);
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QCOMPARE(widget->GetType(), type);
    QCOMPARE(widget->GetId(), 7);
    QCOMPARE(widget->parent(), &parent);
    QVERIFY(!widget->IsOnline());
    QCOMPARE(cEditorWidgetFactory::IsWidgetTypeAContainer(type), isContainer);
}

void tst_cEditorWidgetFactory::negativeSizeDropsTheWholeElement()
{
    cFakeLayoutConfig config;
    QObject parent;
    std::shared_ptr<cKelvariConfigClient> client;
    const cEditorWidgetFactory factory;
    QXmlStreamReader reader(
        "<Layout>"
        "<Widget id=\"1\" type=\"tab_container\" width=\"0.5\" height=\"-0.1\">"
        "<Tab tabName=\"a\"><Widget id=\"2\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
        "<Widget id=\"3\" type=\"text\" width=\"-1\" height=\"0.1\"/>"
        "<Widget id=\"4\" type=\"rect\" x=\"-0.5\" width=\"0.2\" height=\"0.3\"/>"
        "</Layout>");
    reader.readNextStartElement();

    cTraceCapture trace;
    QList<int> loaded;
    while (reader.readNextStartElement())
    {
        if (cWidget* widget = factory.CreateFromXml(reader, config, &parent, client))
            loaded << widget->GetId();
    }
    QVERIFY(!reader.hasError());
    QCOMPARE(loaded, QList<int>{4});
    QCOMPARE(trace.LinesContaining("Error loading widget coords").size(), 2);
    // The dropped widgets are gone, their children with them.
    QCOMPARE(parent.findChildren<cWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
}

void tst_cEditorWidgetFactory::requestPatternsAreHeldOnceInByteOrder()
{
    cEditorWidgetFactory::mAllObjectRequestRegExps.clear();
    cEditorWidgetFactory::AddZRNetObjectRequestRegExps({"b", "a", "b"});
    QCOMPARE(QList<QByteArray>(cEditorWidgetFactory::mAllObjectRequestRegExps.begin(),
                               cEditorWidgetFactory::mAllObjectRequestRegExps.end()),
             QList<QByteArray>({"a", "b"}));

    cEditorWidgetFactory::mAllObjectRequestRegExps.clear();
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    const std::set<QByteArray> all = cEditorWidgetFactory::mAllObjectRequestRegExps;
    QVERIFY(!all.empty());
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    QCOMPARE(cEditorWidgetFactory::mAllObjectRequestRegExps, all);
}

void tst_cEditorWidgetFactory::reducingTabsDeletesTheirWidgetsUndoably()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    auto* tabs =
        qobject_cast<cEditorTabContainer*>(layout.createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    QVERIFY(tabs);
    auto* onFirst = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", tabs, 0, 0, 0, 0.1f, 0.1f));
    auto* onThird = qobject_cast<cWidget*>(layout.createAndAddWidget("text", tabs, 2, 0, 0, 0.1f, 0.1f));
    auto* onFourth = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", tabs, 3, 0, 0, 0.1f, 0.1f));
    layout.closeUndoBlock();

    // The children left after each removal: the fourth tab's widget goes first.
    QList<QList<int>> remaining;
    connect(tabs->GetWidgetChildren(), &QQmlObjectListModelBase::countChanged, this,
            [&] { remaining << Ids(tabs->GetWidgetChildren()->Items()); });
    tabs->GetNumberOfTabsProperty()->SetIntValue(2);
    layout.closeUndoBlock();
    QCOMPARE(remaining, QList<QList<int>>({{onFirst->GetId(), onThird->GetId()}, {onFirst->GetId()}}));
    QCOMPARE(tabs->GetTabs()->count(), 2);
    QCOMPARE(tabs->GetWidgetChildren()->Items(), QList<cWidget*>{onFirst});

    // One step brings back the tabs, then each widget in its own tab.
    layout.undoPressed();
    QCOMPARE(tabs->GetTabs()->count(), 4);
    QCOMPARE(tabs->GetTabs()->At(2)->GetWidgets(), QList<cWidget*>{onThird});
    QCOMPARE(tabs->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>{onFourth});

    layout.redoPressed();
    QCOMPARE(tabs->GetTabs()->count(), 2);
    QCOMPARE(tabs->getContainerLocation(onFourth), -1);

    // Raising, or changing between counts past the maximum, deletes nothing.
    layout.undoPressed();
    tabs->GetNumberOfTabsProperty()->SetIntValue(12);
    tabs->GetNumberOfTabsProperty()->SetIntValue(11);
    QCOMPARE(tabs->GetWidgetChildren()->count(), 3);

    // Off any page the widgets of a removed tab still leave the container.
    cEditorTabContainer loose(1, nullptr, config);
    cWidget child(2, "rect", nullptr);
    loose.AddContainerChild(&child, 3);
    loose.GetNumberOfTabsProperty()->SetIntValue(1);
    QVERIFY(loose.GetWidgetChildren()->isEmpty());
}

void tst_cEditorWidgetFactory::loadedTabChildrenJoinThePage()
{
    cFakeLayoutConfig config;
    QXmlStreamReader reader(
        "<Layout><Widget id=\"3\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"2\">"
        "<Tab tabName=\"a\"/>"
        "<Tab tabName=\"b\"><Widget id=\"40\" type=\"rect\" x=\"0.2\" width=\"0.1\" height=\"0.1\"/></Tab>"
        "</Widget></Layout>");
    reader.readNextStartElement();
    std::unique_ptr<cLayout> layout(cLayout::CreateFromXml(reader, config));
    auto* tabs = qobject_cast<cEditorTabContainer*>(layout->GetWidgets()->At(0));
    QVERIFY(tabs);
    QCOMPARE(config.mNextId, 41);
    cWidget* child = tabs->GetTabs()->At(1)->GetWidgets().value(0);
    QVERIFY(child);
    QCOMPARE(child->parent(), layout.get());

    // The loaded child's changes are recorded in the page's history.
    QVERIFY(!layout->hasUndo());
    child->setXFraction(0.3f);
    layout->closeUndoBlock();
    QVERIFY(layout->hasUndo());
    layout->undoPressed();
    QCOMPARE(child->xFraction(), 0.2f);
}

QTEST_MAIN(tst_cEditorWidgetFactory)
#include "tst_cEditorWidgetFactory.moc"

#include "cFakeLayoutConfig.h"

#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Editor/cEditorTabContainer.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"
#include "Kelvari/Editor/cLayout.h"

#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

class tst_cEditorWidgetFactory : public QObject
{
    Q_OBJECT

private slots:
    void createWidgetFollowsTheTypeTable_data();
    void createWidgetFollowsTheTypeTable();
    void requestPatternsAreHeldOnceInByteOrder();
    void reducingTabsDeletesTheirWidgetsUndoably();
    void loadedTabChildrenJoinThePage();
};

void tst_cEditorWidgetFactory::createWidgetFollowsTheTypeTable_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("className");
    QTest::newRow("button") << "zrnet_button" << "cZRNetButtonWidget";
    QTest::newRow("tab container") << "tab_container" << "cEditorTabContainer";
    QTest::newRow("rectangle") << "rect" << "cRectangleWidget";
    QTest::newRow("case differs") << "Rect" << "cWidget";
    QTest::newRow("unknown") << "container" << "cWidget";
}

void tst_cEditorWidgetFactory::createWidgetFollowsTheTypeTable()
{
    QFETCH(QString, type);
    QFETCH(QString, className);
    cFakeLayoutConfig config;
    QObject parent;
    cWidget* widget = cEditorWidgetFactory::CreateWidget(type, 7, config, &parent);
    QVERIFY(widget);
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QCOMPARE(widget->GetType(), type);
    QCOMPARE(widget->parent(), &parent);
    QVERIFY(!widget->IsOnline());
    QCOMPARE(cEditorWidgetFactory::IsWidgetTypeAContainer(type), type == QLatin1String("tab_container"));
}

void tst_cEditorWidgetFactory::requestPatternsAreHeldOnceInByteOrder()
{
    auto& patterns = cEditorWidgetFactory::mAllObjectRequestRegExps;
    patterns.clear();
    cEditorWidgetFactory::AddZRNetObjectRequestRegExps({"b", "a", "b"});
    QCOMPARE(QList<QByteArray>(patterns.begin(), patterns.end()), QList<QByteArray>({"a", "b"}));

    patterns.clear();
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    const std::set<QByteArray> all = patterns;
    QVERIFY(!all.empty());
    cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
    QCOMPARE(patterns, all);
}

void tst_cEditorWidgetFactory::reducingTabsDeletesTheirWidgetsUndoably()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    auto* tabs =
        qobject_cast<cEditorTabContainer*>(layout.createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    QVERIFY(tabs);
    const auto add = [&](int tab) {
        return qobject_cast<cWidget*>(layout.createAndAddWidget("rect", tabs, tab, 0, 0, 0.1f, 0.1f));
    };
    cWidget* onFirst = add(0);
    cWidget* onThird = add(2);
    cWidget* onFourth = add(3);
    layout.closeUndoBlock();

    // The children left after each removal: the fourth tab's widget goes first.
    QList<QList<int>> remaining;
    connect(tabs->GetWidgetChildren(), &QQmlObjectListModelBase::countChanged, this,
            [&] { remaining << Ids(tabs->GetWidgetChildren()->Items()); });
    tabs->GetNumberOfTabsProperty()->SetIntValue(2);
    layout.closeUndoBlock();
    QCOMPARE(remaining, QList<QList<int>>({{onFirst->GetId(), onThird->GetId()}, {onFirst->GetId()}}));
    QCOMPARE(tabs->GetTabs()->count(), 2);

    // One step brings back the tabs, then each widget in its own tab.
    layout.undoPressed();
    QCOMPARE(tabs->GetTabs()->count(), 4);
    QCOMPARE(tabs->GetTabs()->At(2)->GetWidgets(), QList<cWidget*>{onThird});
    QCOMPARE(tabs->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>{onFourth});
    layout.redoPressed();
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
    cWidget* child = tabs->GetTabs()->At(1)->GetWidgets().value(0);
    QVERIFY(child);
    QCOMPARE(child->parent(), layout.get());

    // The loaded child's changes are recorded in the page's history.
    child->setXFraction(0.3f);
    layout->closeUndoBlock();
    layout->undoPressed();
    QCOMPARE(child->xFraction(), 0.2f);
}

QTEST_MAIN(tst_cEditorWidgetFactory)
#include "tst_cEditorWidgetFactory.moc"

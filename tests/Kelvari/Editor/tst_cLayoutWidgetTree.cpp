#include "cFakeLayoutConfig.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

namespace
{
QList<int> Ids(const QList<cWidget*>& widgets)
{
    QList<int> ids;
    for (const cWidget* widget : widgets)
        ids << widget->GetId();
    return ids;
}

QQuickItem* Item(QQuickItem* parent, qreal x, qreal y, qreal width, qreal height, qreal z = 0)
{
    auto* item = new QQuickItem(parent);
    item->setPosition(QPointF(x, y));
    item->setSize(QSizeF(width, height));
    item->setZ(z);
    return item;
}

QQuickItem* DropArea(QQuickItem* parent, cWidget* container, int location, const QRectF& rect, qreal z = 0)
{
    QQuickItem* area = Item(parent, rect.x(), rect.y(), rect.width(), rect.height(), z);
    area->setProperty("cppWidget", QVariant::fromValue(static_cast<QObject*>(container)));
    area->setProperty("containerLocation", location);
    area->setProperty("highlight", false);
    return area;
}
}

class tst_cLayoutWidgetTree : public QObject
{
    Q_OBJECT

private slots:
    void createdWidgetsStackOnTopAndUndo();
    void deletingAContainerUndoesContainerFirstThenItsChildren();
    void movesBetweenContainersUndoAndImpossibleOnesAreRefused();
    void keepPlaceMovesIntoATabWithoutMovingOnScreen();
    void dropAreasAreSortedTopmostFirst();
    void dropAreaChoiceRespectsStackingAndNesting();
    void tabOrderWalksTheTree();
};

void tst_cLayoutWidgetTree::createdWidgetsStackOnTopAndUndo()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    auto* canvas = new QQuickItem;
    layout.setEditContent(canvas);
    QList<cWidget*> created;
    for (int i = 0; i < 3; ++i)
    {
        created << qobject_cast<cWidget*>(layout.createAndAddWidget("rect", nullptr, -1, 0.1f, 0.2f, 0.3f, 0.4f));
        layout.closeUndoBlock();
    }
    QCOMPARE(Ids(layout.GetWidgets()->Items()), QList<int>({0, 1, 2}));
    QCOMPARE(created.at(0)->z(), 0.0f);
    QCOMPARE(created.at(1)->z(), 0.5f);
    QCOMPARE(created.at(2)->z(), 1.0f);
    QCOMPARE(created.at(2)->heightFraction(), 0.4f);
    QCOMPARE(created.at(2)->parent(), &layout);

    QSignalSpy createSpy(&layout, &cLayout::createRequest);
    layout.undoPressed();
    QCOMPARE(Ids(layout.GetWidgets()->Items()), QList<int>({0, 1}));
    QCOMPARE(created.at(1)->z(), 1.0f);
    layout.redoPressed();
    QCOMPARE(Ids(layout.GetWidgets()->Items()), QList<int>({0, 1, 2}));
    QCOMPARE(created.at(1)->z(), 0.5f);
    QCOMPARE(createSpy.count(), 1);
    QCOMPARE(createSpy.at(0).at(0).value<cWidget*>(), created.at(2));
    QCOMPARE(createSpy.at(0).at(1).value<QQuickItem*>(), canvas);

    // A new step after undo drops the undone widget for good.
    layout.undoPressed();
    QPointer<cWidget> undone = created.at(2);
    layout.createAndAddWidget("text", nullptr, -1, 0, 0, 0.1f, 0.1f);
    QVERIFY(undone.isNull());
    delete canvas;
}

void tst_cLayoutWidgetTree::deletingAContainerUndoesContainerFirstThenItsChildren()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    auto* tabs = qobject_cast<cTabContainer*>(layout.createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    auto* a = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", tabs, 0, 0, 0, 0.1f, 0.1f));
    auto* b = qobject_cast<cWidget*>(layout.createAndAddWidget("text", tabs, 0, 0, 0, 0.1f, 0.1f));
    auto* c = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", tabs, 2, 0, 0, 0.1f, 0.1f));
    auto* kept = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f));
    layout.closeUndoBlock();

    // A selection of the container and one of its children, deleted last first.
    cTraceCapture trace;
    layout.DeleteWidget(b);
    layout.DeleteWidget(tabs);
    layout.DeleteWidget(b);
    layout.closeUndoBlock();
    QCOMPARE(trace.LinesContaining("is not on layout").size(), 1);
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>{kept});
    QVERIFY(tabs->GetWidgetChildren()->isEmpty());
    QCOMPARE(layout.GetNestingLevel(a), -1);

    layout.undoPressed();
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>({kept, tabs}));
    QCOMPARE(tabs->GetTabs()->At(0)->GetWidgets(), QList<cWidget*>({a, b}));
    QCOMPARE(tabs->GetTabs()->At(2)->GetWidgets(), QList<cWidget*>{c});

    layout.redoPressed();
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>{kept});
    QVERIFY(tabs->GetWidgetChildren()->isEmpty());

    // Forgetting the history destroys the deleted widgets.
    QPointer<cWidget> guard = c;
    layout.clearUndoRedo();
    QVERIFY(guard.isNull());
}

void tst_cLayoutWidgetTree::movesBetweenContainersUndoAndImpossibleOnesAreRefused()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    auto* outer = qobject_cast<cTabContainer*>(layout.createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    auto* inner = qobject_cast<cTabContainer*>(layout.createAndAddWidget("tab_container", outer, 0, 0, 0, 1, 1));
    auto* widget = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f));
    layout.closeUndoBlock();

    layout.SetWidgetContainer(widget, outer, 1, false);
    layout.closeUndoBlock();
    layout.SetWidgetContainer(widget, outer, 3, false);
    layout.closeUndoBlock();
    QCOMPARE(outer->getContainerLocation(widget), 3);
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>{outer});

    cTraceCapture trace;
    layout.SetWidgetContainer(outer, outer, 1, false);
    layout.SetWidgetContainer(outer, inner, 0, false);
    layout.SetWidgetContainer(widget, inner, 9, false);
    // The same place, or the top level again, is no move.
    layout.SetWidgetContainer(widget, outer, 3, false);
    layout.SetWidgetContainer(outer, nullptr, 5, false);
    layout.closeUndoBlock();
    QCOMPARE(trace.LinesContaining("into itself").size(), 2);
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>{outer});
    QCOMPARE(outer->getContainerLocation(inner), 0);
    QCOMPARE(outer->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>{widget});
    QVERIFY(inner->GetWidgetChildren()->isEmpty());

    layout.undoPressed();
    QCOMPARE(outer->getContainerLocation(widget), 1);
    layout.undoPressed();
    QCOMPARE(layout.GetWidgets()->Items(), QList<cWidget*>({outer, widget}));
    layout.redoPressed();
    layout.redoPressed();
    QCOMPARE(outer->getContainerLocation(widget), 3);
    QVERIFY(!layout.hasRedo());

    // A widget created for a tab that does not exist stays on the page.
    auto* stray = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", outer, 7, 0, 0, 0.5f, 0.5f));
    QCOMPARE(layout.GetNestingLevel(stray), 0);
}

void tst_cLayoutWidgetTree::keepPlaceMovesIntoATabWithoutMovingOnScreen()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    QQuickItem canvas;
    canvas.setSize(QSizeF(1000, 1000));
    layout.setEditContent(&canvas);
    layout.registerContentItem(&canvas, true);
    auto* tabs = qobject_cast<cTabContainer*>(layout.createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    QQuickItem* page = Item(&canvas, 100, 200, 400, 400);
    tabs->GetTabs()->At(0)->addLinkedContainerQuickItem(page, true);
    auto* widget = qobject_cast<cWidget*>(layout.createAndAddWidget("rect", nullptr, -1, 0.3f, 0.4f, 0.1f, 0.1f));
    QQuickItem* item = Item(&canvas, 300, 400, 100, 100);
    widget->setQQuickItem(item, true);
    layout.closeUndoBlock();

    layout.SetWidgetContainer(widget, tabs, 0, true);
    layout.closeUndoBlock();
    QCOMPARE(item->parentItem(), page);
    QCOMPARE(item->parent(), page);
    QCOMPARE(widget->xFraction(), 0.5f);
    QCOMPARE(widget->yFraction(), 0.5f);
    QCOMPARE(widget->widthFraction(), 0.25f);
    QCOMPARE(widget->heightFraction(), 0.25f);
    QCOMPARE(layout.FindWidgetFractionsRelativeToBase(widget), QRectF(0.3, 0.4, 0.1, 0.1));

    // One step back: the canvas holds the item again, at its old fractions.
    layout.undoPressed();
    QCOMPARE(item->parentItem(), &canvas);
    QCOMPARE(layout.FindContainer(widget), nullptr);
    QCOMPARE(widget->xFraction(), 0.3f);
    QCOMPARE(widget->widthFraction(), 0.1f);
    layout.setEditContent(nullptr);
}

void tst_cLayoutWidgetTree::dropAreasAreSortedTopmostFirst()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    QQuickItem root;
    QQuickItem* canvas = Item(&root, 0, 0, 1000, 1000);
    QQuickItem* canvasArea = DropArea(&root, nullptr, -1, QRectF(0, 0, 1000, 1000));
    canvasArea->setObjectName("editContentDropArea");
    QQuickItem* low = DropArea(canvas, nullptr, 0, QRectF(0, 0, 10, 10), 1);
    QQuickItem* holder = Item(canvas, 0, 0, 10, 10, 2);
    QQuickItem* high = DropArea(holder, nullptr, 0, QRectF(0, 0, 10, 10));
    QQuickItem* same = DropArea(canvas, nullptr, 0, QRectF(0, 0, 10, 10), 1);
    Item(canvas, 0, 0, 10, 10, 5);

    layout.registerDropArea(canvasArea);
    layout.registerDropArea(high);
    layout.registerDropArea(low);
    layout.registerDropArea(same);
    layout.registerDropArea(low);
    // Without a canvas there is no order.
    QVERIFY(layout.GetVisuallySortedDropAreas().isEmpty());
    layout.setEditContent(canvas);
    QCOMPARE(layout.GetVisuallySortedDropAreas(), QList<QQuickItem*>({high, same, low, canvasArea}));

    low->setZ(3);
    QCOMPARE(layout.GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, high, same, canvasArea}));
    high->setParentItem(&root);
    QCOMPARE(layout.GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, same, canvasArea}));
    delete same;
    QCOMPARE(layout.GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, canvasArea}));
    layout.setEditContent(nullptr);
}

void tst_cLayoutWidgetTree::dropAreaChoiceRespectsStackingAndNesting()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    QList<cWidget*> nested{nullptr};
    for (int level = 0; level < 4; ++level)
        nested << qobject_cast<cWidget*>(layout.createAndAddWidget("tab_container", nested.last(), 0, 0, 0, 1, 1));
    QQuickItem root;
    QQuickItem* canvas = Item(&root, 0, 0, 1000, 1000);
    layout.setEditContent(canvas);
    QQuickItem* canvasArea = DropArea(&root, nullptr, -1, QRectF(0, 0, 1000, 1000));
    canvasArea->setObjectName("editContentDropArea");
    QQuickItem* lower = DropArea(canvas, nested.at(1), 0, QRectF(100, 100, 400, 400), 1);
    QQuickItem* upper = DropArea(canvas, nested.at(2), 0, QRectF(300, 300, 400, 400), 2);
    QQuickItem* deepest = DropArea(canvas, nested.at(4), 0, QRectF(600, 600, 300, 300), 3);
    for (QQuickItem* area : {canvasArea, lower, upper, deepest})
        layout.registerDropArea(area);

    QQuickItem* dragged = Item(&root, 350, 350, 50, 50);
    QCOMPARE(layout.findDropArea(dragged, false), upper);
    dragged->setPosition(QPointF(150, 150));
    QCOMPARE(layout.findDropArea(dragged, true), lower);
    upper->setVisible(false);
    dragged->setPosition(QPointF(350, 350));
    QCOMPARE(layout.findDropArea(dragged, false), lower);
    // Partly outside every tab area: only the canvas holds it whole.
    dragged->setPosition(QPointF(480, 480));
    QCOMPARE(layout.findDropArea(dragged, false), canvasArea);
    dragged->setPosition(QPointF(990, 990));
    QCOMPARE(layout.findDropArea(dragged, false), nullptr);

    // A container may not go into a container at level 3.
    dragged->setPosition(QPointF(700, 700));
    layout.updateDropAreaHighlights(dragged, true);
    QVERIFY(!deepest->property("highlight").toBool());
    QVERIFY(canvasArea->property("highlight").toBool());
    layout.updateDropAreaHighlights(dragged, false);
    QVERIFY(deepest->property("highlight").toBool());
    QVERIFY(!canvasArea->property("highlight").toBool());
    layout.updateDropAreaHighlights(nullptr, false);
    QVERIFY(!deepest->property("highlight").toBool());
    layout.setEditContent(nullptr);
}

void tst_cLayoutWidgetTree::tabOrderWalksTheTree()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    QCOMPARE(layout.NextWidgetInTabOrder(nullptr), nullptr);
    QCOMPARE(layout.PreviousWidgetInTabOrder(nullptr), nullptr);

    auto add = [&layout](const char* type, cWidget* container, int location) {
        return qobject_cast<cWidget*>(layout.createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
    };
    cWidget* first = add("rect", nullptr, -1);
    cWidget* tabs = add("tab_container", nullptr, -1);
    cWidget* onSecondTab = add("rect", tabs, 1);
    cWidget* onFirstTab = add("text", tabs, 0);
    cWidget* empty = add("tab_container", nullptr, -1);

    QCOMPARE(layout.NextWidgetInTabOrder(nullptr), first);
    QCOMPARE(layout.NextWidgetInTabOrder(first), tabs);
    QCOMPARE(layout.NextWidgetInTabOrder(tabs), onFirstTab);
    QCOMPARE(layout.NextWidgetInTabOrder(onFirstTab), onSecondTab);
    QCOMPARE(layout.NextWidgetInTabOrder(onSecondTab), empty);
    QCOMPARE(layout.NextWidgetInTabOrder(empty), first);

    QCOMPARE(layout.PreviousWidgetInTabOrder(onFirstTab), tabs);
    QCOMPARE(layout.PreviousWidgetInTabOrder(empty), onSecondTab);
    QCOMPARE(layout.PreviousWidgetInTabOrder(first), empty);
    QCOMPARE(layout.PreviousWidgetInTabOrder(nullptr), empty);
    layout.SetWidgetContainer(empty, qobject_cast<cContainer*>(tabs), 3, false);
    QCOMPARE(layout.PreviousWidgetInTabOrder(nullptr), empty);
    layout.SetWidgetContainer(empty, nullptr, -1, false);
    layout.SetWidgetContainer(first, qobject_cast<cContainer*>(empty), 0, false);
    // The last top-level widget is a container: go into it.
    QCOMPARE(layout.PreviousWidgetInTabOrder(nullptr), first);
}

QTEST_MAIN(tst_cLayoutWidgetTree)
#include "tst_cLayoutWidgetTree.moc"

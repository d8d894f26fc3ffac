#include "cFakeLayoutConfig.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
QQuickItem* Item(QQuickItem* parent, const QRectF& rect, qreal z = 0)
{
    auto* item = new QQuickItem(parent);
    item->setPosition(rect.topLeft());
    item->setSize(rect.size());
    item->setZ(z);
    return item;
}

QQuickItem* DropArea(QQuickItem* parent, cWidget* container, int location, const QRectF& rect, qreal z = 0)
{
    QQuickItem* area = Item(parent, rect, z);
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
    void init();
    void cleanup();
    void createdWidgetsStackOnTopAndUndo();
    void deletingAContainerUndoesContainerFirstThenItsChildren();
    void movesBetweenContainersUndoAndImpossibleOnesAreRefused();
    void keepPlaceMovesIntoATabWithoutMovingOnScreen();
    void dropAreasAreSortedTopmostFirst();
    void dropAreaChoiceRespectsStackingAndNesting();
    void tabOrderWalksTheTree();
    void eachViewKeepsItsOwnItemsWhateverOrderTheyCameIn();

private:
    template <class T = cWidget>
    T* Add(const char* type, cWidget* container = nullptr, int location = -1)
    {
        return qobject_cast<T*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
    }

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout;
};

void tst_cLayoutWidgetTree::init()
{
    mConfig = std::make_unique<cFakeLayoutConfig>();
    mLayout = std::make_unique<cLayout>(*mConfig);
}

void tst_cLayoutWidgetTree::cleanup()
{
    mLayout.reset();
}

void tst_cLayoutWidgetTree::createdWidgetsStackOnTopAndUndo()
{
    QQuickItem canvas;
    mLayout->setEditContent(&canvas);
    QList<cWidget*> created;
    for (int i = 0; i < 3; ++i)
    {
        created << Add("rect");
        mLayout->closeUndoBlock();
    }
    QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({0, 1, 2}));
    QCOMPARE(created.at(1)->z(), 0.5f);
    QCOMPARE(created.at(2)->z(), 1.0f);

    QSignalSpy createSpy(mLayout.get(), &cLayout::createRequest);
    mLayout->undoPressed();
    QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({0, 1}));
    QCOMPARE(created.at(1)->z(), 1.0f);
    mLayout->redoPressed();
    QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({0, 1, 2}));
    QCOMPARE(created.at(1)->z(), 0.5f);
    QCOMPARE(createSpy.count(), 1);
    QCOMPARE(createSpy.at(0).at(0).value<cWidget*>(), created.at(2));
    QCOMPARE(createSpy.at(0).at(1).value<QQuickItem*>(), &canvas);

    // A new step after undo drops the undone widget for good.
    mLayout->undoPressed();
    QPointer<cWidget> undone = created.at(2);
    Add("text");
    QVERIFY(undone.isNull());
}

void tst_cLayoutWidgetTree::deletingAContainerUndoesContainerFirstThenItsChildren()
{
    auto* tabs = Add<cTabContainer>("tab_container");
    cWidget* a = Add("rect", tabs, 0);
    cWidget* b = Add("text", tabs, 0);
    cWidget* c = Add("rect", tabs, 2);
    cWidget* kept = Add("rect");
    mLayout->closeUndoBlock();

    // A selection of the container and one of its children, deleted last first.
    cTraceCapture trace;
    mLayout->DeleteWidget(b);
    mLayout->DeleteWidget(tabs);
    mLayout->DeleteWidget(b);
    mLayout->closeUndoBlock();
    QCOMPARE(trace.LinesContaining("is not on layout").size(), 1);
    QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>{kept});
    QVERIFY(tabs->GetWidgetChildren()->isEmpty());

    mLayout->undoPressed();
    QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>({kept, tabs}));
    QCOMPARE(tabs->GetTabs()->At(0)->GetWidgets(), QList<cWidget*>({a, b}));
    QCOMPARE(tabs->GetTabs()->At(2)->GetWidgets(), QList<cWidget*>{c});
    mLayout->redoPressed();
    QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>{kept});

    // Forgetting the history destroys the deleted widgets.
    QPointer<cWidget> guard = c;
    mLayout->clearUndoRedo();
    QVERIFY(guard.isNull());
}

void tst_cLayoutWidgetTree::movesBetweenContainersUndoAndImpossibleOnesAreRefused()
{
    auto* outer = Add<cTabContainer>("tab_container");
    auto* inner = Add<cTabContainer>("tab_container", outer, 0);
    cWidget* widget = Add("rect");
    mLayout->closeUndoBlock();

    mLayout->SetWidgetContainer(widget, outer, 1, false);
    mLayout->closeUndoBlock();
    mLayout->SetWidgetContainer(widget, outer, 3, false);
    mLayout->closeUndoBlock();

    cTraceCapture trace;
    mLayout->SetWidgetContainer(outer, outer, 1, false);
    mLayout->SetWidgetContainer(outer, inner, 0, false);
    mLayout->SetWidgetContainer(widget, inner, 9, false);
    // The same place, or the top level again, is no move.
    mLayout->SetWidgetContainer(widget, outer, 3, false);
    mLayout->SetWidgetContainer(outer, nullptr, 5, false);
    mLayout->closeUndoBlock();
    QCOMPARE(trace.LinesContaining("into itself").size(), 2);
    QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>{outer});
    QCOMPARE(outer->getContainerLocation(inner), 0);
    QCOMPARE(outer->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>{widget});
    QVERIFY(inner->GetWidgetChildren()->isEmpty());

    mLayout->undoPressed();
    QCOMPARE(outer->getContainerLocation(widget), 1);
    mLayout->undoPressed();
    QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>({outer, widget}));
    mLayout->redoPressed();
    mLayout->redoPressed();
    QCOMPARE(outer->getContainerLocation(widget), 3);
    QVERIFY(!mLayout->hasRedo());

    // A widget created for a tab that does not exist stays on the page.
    QCOMPARE(mLayout->GetNestingLevel(Add("rect", outer, 7)), 0);
}

void tst_cLayoutWidgetTree::keepPlaceMovesIntoATabWithoutMovingOnScreen()
{
    QQuickItem canvas;
    canvas.setSize(QSizeF(1000, 1000));
    mLayout->setEditContent(&canvas);
    mLayout->registerContentItem(&canvas, true);
    auto* tabs = Add<cTabContainer>("tab_container");
    QQuickItem* page = Item(&canvas, QRectF(100, 200, 400, 400));
    tabs->GetTabs()->At(0)->addLinkedContainerQuickItem(page, true);
    auto* widget = qobject_cast<cWidget*>(mLayout->createAndAddWidget("rect", nullptr, -1, 0.3f, 0.4f, 0.1f, 0.1f));
    QQuickItem* item = Item(&canvas, QRectF(300, 400, 100, 100));
    widget->setQQuickItem(item, true);
    mLayout->closeUndoBlock();

    mLayout->SetWidgetContainer(widget, tabs, 0, true);
    mLayout->closeUndoBlock();
    QCOMPARE(item->parentItem(), page);
    QCOMPARE(item->parent(), page);
    QCOMPARE(widget->xFraction(), 0.5f);
    QCOMPARE(widget->yFraction(), 0.5f);
    QCOMPARE(widget->widthFraction(), 0.25f);
    QCOMPARE(mLayout->FindWidgetFractionsRelativeToBase(widget), QRectF(0.3, 0.4, 0.1, 0.1));

    mLayout->undoPressed();
    QCOMPARE(item->parentItem(), &canvas);
    QCOMPARE(mLayout->FindContainer(widget), nullptr);
    QCOMPARE(widget->xFraction(), 0.3f);
    QCOMPARE(widget->widthFraction(), 0.1f);
}

void tst_cLayoutWidgetTree::dropAreasAreSortedTopmostFirst()
{
    QQuickItem root;
    QQuickItem* canvas = Item(&root, QRectF(0, 0, 1000, 1000));
    QQuickItem* canvasArea = DropArea(&root, nullptr, -1, QRectF(0, 0, 1000, 1000));
    canvasArea->setObjectName("editContentDropArea");
    const QRectF small(0, 0, 10, 10);
    QQuickItem* low = DropArea(canvas, nullptr, 0, small, 1);
    QQuickItem* high = DropArea(Item(canvas, small, 2), nullptr, 0, small);
    QQuickItem* same = DropArea(canvas, nullptr, 0, small, 1);
    Item(canvas, small, 5);

    for (QQuickItem* area : {canvasArea, high, low, same, low})
        mLayout->registerDropArea(area);
    // Without a canvas there is no order.
    QVERIFY(mLayout->GetVisuallySortedDropAreas().isEmpty());
    mLayout->setEditContent(canvas);
    QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({high, same, low, canvasArea}));

    low->setZ(3);
    QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, high, same, canvasArea}));
    high->setParentItem(&root);
    delete same;
    QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, canvasArea}));
}

void tst_cLayoutWidgetTree::dropAreaChoiceRespectsStackingAndNesting()
{
    QList<cWidget*> nested{nullptr};
    for (int level = 0; level < 4; ++level)
        nested << Add("tab_container", nested.last(), 0);
    QQuickItem root;
    QQuickItem* canvas = Item(&root, QRectF(0, 0, 1000, 1000));
    mLayout->setEditContent(canvas);
    QQuickItem* canvasArea = DropArea(&root, nullptr, -1, QRectF(0, 0, 1000, 1000));
    canvasArea->setObjectName("editContentDropArea");
    QQuickItem* lower = DropArea(canvas, nested.at(1), 0, QRectF(100, 100, 400, 400), 1);
    QQuickItem* upper = DropArea(canvas, nested.at(2), 0, QRectF(300, 300, 400, 400), 2);
    QQuickItem* deepest = DropArea(canvas, nested.at(4), 0, QRectF(600, 600, 300, 300), 3);
    for (QQuickItem* area : {canvasArea, lower, upper, deepest})
        mLayout->registerDropArea(area);

    QQuickItem* dragged = Item(&root, QRectF(350, 350, 50, 50));
    QCOMPARE(mLayout->findDropArea(dragged, false), upper);
    upper->setVisible(false);
    QCOMPARE(mLayout->findDropArea(dragged, false), lower);
    // Partly outside every tab area: only the canvas holds it whole.
    dragged->setPosition(QPointF(480, 480));
    QCOMPARE(mLayout->findDropArea(dragged, false), canvasArea);
    dragged->setPosition(QPointF(990, 990));
    QCOMPARE(mLayout->findDropArea(dragged, false), nullptr);

    // A container may not go into a container at level 3.
    dragged->setPosition(QPointF(700, 700));
    mLayout->updateDropAreaHighlights(dragged, true);
    QVERIFY(!deepest->property("highlight").toBool());
    QVERIFY(canvasArea->property("highlight").toBool());
    mLayout->updateDropAreaHighlights(dragged, false);
    QVERIFY(deepest->property("highlight").toBool());
    QVERIFY(!canvasArea->property("highlight").toBool());
    mLayout->updateDropAreaHighlights(nullptr, false);
    QVERIFY(!deepest->property("highlight").toBool());
}

void tst_cLayoutWidgetTree::tabOrderWalksTheTree()
{
    QCOMPARE(mLayout->NextWidgetInTabOrder(nullptr), nullptr);
    cWidget* first = Add("rect");
    cWidget* tabs = Add("tab_container");
    cWidget* onSecondTab = Add("rect", tabs, 1);
    cWidget* onFirstTab = Add("text", tabs, 0);
    cWidget* empty = Add("tab_container");

    const QList<cWidget*> order{first, tabs, onFirstTab, onSecondTab, empty, first};
    QCOMPARE(mLayout->NextWidgetInTabOrder(nullptr), first);
    for (int i = 0; i + 1 < order.size(); ++i)
    {
        QCOMPARE(mLayout->NextWidgetInTabOrder(order.at(i)), order.at(i + 1));
        QCOMPARE(mLayout->PreviousWidgetInTabOrder(order.at(i + 1)), order.at(i));
    }
    QCOMPARE(mLayout->PreviousWidgetInTabOrder(nullptr), empty);
    mLayout->SetWidgetContainer(first, qobject_cast<cContainer*>(empty), 0, false);
    // The last top-level widget is a container: go into it.
    QCOMPARE(mLayout->PreviousWidgetInTabOrder(nullptr), first);
}

// The thumbnail's view was rebuilt after the test window's came: every item
// still moves within its own view, and each view is found by its kind.
void tst_cLayoutWidgetTree::eachViewKeepsItsOwnItemsWhateverOrderTheyCameIn()
{
    QQuickItem editor;
    QQuickItem testWindow;
    testWindow.setProperty("isTestWindow", true);
    auto thumbnail = std::make_unique<QQuickItem>();
    thumbnail->setProperty("isTestWindow", false);
    mLayout->registerContentItem(&editor, true);
    mLayout->registerContentItem(thumbnail.get(), false);
    mLayout->registerContentItem(&testWindow, false);
    thumbnail = std::make_unique<QQuickItem>();
    thumbnail->setProperty("isTestWindow", false);
    mLayout->registerContentItem(thumbnail.get(), false);
    QCOMPARE(mLayout->getThumbnailContentItem(), thumbnail.get());

    cWidget* tabs = Add<cWidget>("tab_container");
    cWidget* rect = Add("rect", tabs, 0);
    QQuickItem* views[] = {&editor, thumbnail.get(), &testWindow};
    for (QQuickItem* view : views)
    {
        // Stands for the tab's page in that view.
        auto* page = Item(view, QRectF(0, 0, 100, 100));
        rect->setQQuickItem(Item(page, QRectF(0, 0, 10, 10)), view == &editor);
    }
    mLayout->SetWidgetContainer(rect, nullptr, -1, false);
    QCOMPARE(rect->GetQQuickItems().size(), 3);
    QCOMPARE(rect->GetQQuickItems().at(0)->parentItem(), &editor);
    QCOMPARE(rect->GetQQuickItems().at(1)->parentItem(), thumbnail.get());
    QCOMPARE(rect->GetQQuickItems().at(2)->parentItem(), &testWindow);
    QCOMPARE(mLayout->getParentItem(rect, -1, true), &testWindow);
    QCOMPARE(mLayout->getParentItem(rect, -1, false), thumbnail.get());
}

QTEST_MAIN(tst_cLayoutWidgetTree)
#include "tst_cLayoutWidgetTree.moc"

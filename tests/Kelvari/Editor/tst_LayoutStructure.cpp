#include "cFakeLayoutConfig.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cWidgetTreeUndoTarget.h"
#include "Kelvari/Editor/cEditorTabContainer.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutUndoManager.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QXmlStreamReader>
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

// A page as far as the history sees it: the QObject parent of its widgets.
class cFakePage : public QObject, public cWidgetTreeUndoTarget
{
public:
    void UndoNewWidget(cWidget*) override {}
    void RedoNewWidget(cWidget*, cContainer*, int) override {}
    void UndoDeleteWidget(cWidget*, cContainer*, int) override {}
    void RedoDeleteWidget(cWidget*) override {}
    // A real page records the move it makes; while undoing that is ignored.
    void UndoOrRedoMoveContainer(cWidget* widget, cContainer*, int location) override
    {
        ++mMoves;
        mManager.AddMoveContainerAction(widget, nullptr, 0, nullptr, location);
    }
    QPointer<cWidget> New(int id) { return new cWidget(id, "rect", this); }

    int mMoves = 0;
    cLayoutUndoManager& mManager = *new cLayoutUndoManager(this);
};
}

// The layout page's widget tree: reading it, creating, deleting and moving widgets with their undo steps,
// drop areas, tab order, the views' items, the history that owns removed widgets, and the widget factory.
class tst_LayoutStructure : public QObject
{
    Q_OBJECT

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout;

    template <class T = cWidget> T* Add(const char* type, cWidget* container = nullptr, int location = -1)
    {
        return qobject_cast<T*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
    }
    QString Tree() const { return ::Tree(mLayout->GetWidgets()->Items()); }
    // Runs the page's action, then gives its widget tree.
    QString After(void (cLayout::*action)())
    {
        (mLayout.get()->*action)();
        return Tree();
    }
    // The whole element is read, and the page replaces this test's one.
    void Read(const QString& xml)
    {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        mLayout.reset(cLayout::CreateFromXml(reader, *mConfig));
        reader.readNext();
        QVERIFY2(reader.isEndDocument(), qPrintable(reader.tokenString()));
    }

private slots:
    void init()
    {
        mConfig = std::make_unique<cFakeLayoutConfig>();
        mLayout = std::make_unique<cLayout>(*mConfig);
    }
    void cleanup() { mLayout.reset(); }

    // A repeated attribute is an XML error only once the reader moves on.
    void attributeValuesAreReadAsIntegers_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<int>("aspectRatio1");
        QTest::newRow("two is true, true is not") << "allUsers=\"2\" phone=\"true\"" << 4;
        QTest::newRow("unreadable number") << "aspectRatio1=\"x\"" << 0;
        QTest::newRow("last of a repeat wins") << "allUsers=\"0\" unknown=\"1\" allUsers=\"1\"" << 4;
    }
    void attributeValuesAreReadAsIntegers()
    {
        QFETCH(QString, attributes);
        QXmlStreamReader reader("<Layout " + attributes + "/>");
        reader.readNextStartElement();
        mLayout.reset(cLayout::CreateFromXml(reader, *mConfig));
        QVERIFY(mLayout->allUsers());
        QTEST(mLayout->aspectRatio1(), "aspectRatio1");
        QCOMPARE(mLayout->phone(), !attributes.contains("phone"));
    }

    // Only widgets on the page count for the next id, not those of skipped elements, which are gone with
    // their children; a loaded tab's child belongs to the page and its history.
    void widgetsThatFailToLoadAreSkippedWholeAndTheRestJoinThePage()
    {
        cTraceCapture trace;
        Read("<Layout><Widget type=\"rect\" width=\"0.1\" height=\"0.1\"><Extra/></Widget>"
             "<Widget id=\"1\" type=\"rect\" x=\"-0.5\" width=\"0.1\" height=\"0.1\"/>"
             "<Notes><Widget id=\"50\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Notes>"
             "<Widget id=\"2\" type=\"tab_container\" width=\"-0.4\" height=\"0.5\">"
             "<Tab><Widget id=\"60\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
             "<Widget id=\"3\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"2\"><Tab tabName=\"a\"/>"
             "<Tab tabName=\"b\"><Widget id=\"4\" type=\"rect\" x=\"0.2\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
             "</Layout>");
        QCOMPARE(Tree(), QString("1,3[1:4]"));
        QCOMPARE(trace.LinesContaining("Error loading widget coords").size(), 1);
        QCOMPARE(trace.LinesContaining("Error loading widget id").size(), 1);
        QCOMPARE(mConfig->mNextId, 5);
        QCOMPARE(mLayout->findChildren<cWidget*>().size(), 3);
        QVERIFY(qobject_cast<cEditorTabContainer*>(mLayout->GetWidgets()->At(1)));
        cWidget* child = qobject_cast<cTabContainer*>(mLayout->GetWidgets()->At(1))->GetTabs()->At(1)->GetWidgets().value(0);
        QCOMPARE(child->parent(), mLayout.get());
        child->setXFraction(0.3f);
        mLayout->closeUndoBlock();
        mLayout->undoPressed();
        QCOMPARE(child->xFraction(), 0.2f);
    }

    // A pasted layout's name is set without an undo step; undo restores the details and tells the config,
    // reversed.
    void detailsFromQmlAreRecordedAndUndoneThroughTheConfig()
    {
        QSignalSpy nameSpy(mLayout.get(), &cLayout::nameChanged);
        QSignalSpy usersSpy(mLayout.get(), &cLayout::usersChanged);
        mLayout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "");
        QCOMPARE(nameSpy.count() + usersSpy.count(), 0);
        mLayout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, true, "Pasted");
        QCOMPARE(QList<int>({nameSpy.count(), mConfig->mNameChanges}), QList<int>({1, 1}));
        QVERIFY(mConfig->mDetailsChanges.isEmpty());
        mLayout->setLayoutDetails(false, "ann", true, false, true, 0, true, "", false, 4, 3, false, "Pasted");
        QCOMPARE(QList<int>({usersSpy.count(), nameSpy.count()}), QList<int>({1, 1}));
        const sLayoutDetails pasted = mConfig->mDetailsChanges.value(0).first, changed = mLayout->LayoutDetails();
        QCOMPARE(mConfig->mDetailsChanges, (QList<QPair<sLayoutDetails, sLayoutDetails>>{{pasted, changed}}));
        QCOMPARE(pasted.users, QString());
        mConfig->mUndoManager.Undo();
        QCOMPARE(mLayout->LayoutDetails(), pasted);
        QCOMPARE(mConfig->mDetailsChanges.last(), qMakePair(changed, pasted));
        mConfig->mUndoManager.Redo();
        QCOMPARE(mLayout->LayoutDetails(), changed);
    }

    // A container's own pictures belong to the level that holds it.
    void resourceIdsInUseAreSortedAndUnique()
    {
        Read("<Layout><Widget id=\"1\" type=\"image\" width=\"0.1\" height=\"0.1\" resourceId=\"7\"/>"
             "<Widget id=\"2\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" onImageResourceId=\"12\">"
             "<Tab><Widget id=\"3\" type=\"image\" width=\"0.1\" height=\"0.1\" resourceId=\"7\"/></Tab>"
             "</Widget></Layout>");
        QVERIFY(qobject_cast<cImageWidget*>(mLayout->GetWidgets()->At(0)));
        QCOMPARE(mLayout->GetResourceIdsUsed(qobject_cast<cContainer*>(mLayout->GetWidgets()->At(1))),
                 QStringList{"7"});
        QCOMPARE(mLayout->GetResourceIdsUsed(nullptr), QStringList({"12", "7", "_basic"}));
    }

    // A new step after undo drops the undone widget for good.
    void createdWidgetsStackOnTopAndUndo()
    {
        QQuickItem canvas;
        mLayout->setEditContent(&canvas);
        QList<cWidget*> created;
        for (int i = 0; i < 3; ++i)
        {
            created << Add("rect");
            mLayout->closeUndoBlock();
        }
        QCOMPARE(Zs(created), QList<float>({0, 0.5f, 1}));
        QSignalSpy createSpy(mLayout.get(), &cLayout::createRequest);
        QCOMPARE(After(&cLayout::undoPressed), QString("0,1"));
        QCOMPARE(created.at(1)->z(), 1.0f);
        QCOMPARE(After(&cLayout::redoPressed), QString("0,1,2"));
        QCOMPARE(created.at(1)->z(), 0.5f);
        QCOMPARE(createSpy.count(), 1);
        QCOMPARE(createSpy.at(0).at(0).value<cWidget*>(), created.at(2));
        QCOMPARE(createSpy.at(0).at(1).value<QQuickItem*>(), &canvas);
        mLayout->undoPressed();
        QPointer<cWidget> undone = created.at(2);
        Add("text");
        QVERIFY(undone.isNull());
    }

    // A selection of the container and one of its children, deleted last first; forgetting the history
    // destroys the deleted widgets.
    void deletingAContainerUndoesContainerFirstThenItsChildren()
    {
        auto* tabs = Add<cTabContainer>("tab_container");
        Add("rect", tabs, 0);
        cWidget* b = Add("text", tabs, 0);
        QPointer<cWidget> c = Add("rect", tabs, 2);
        Add("rect");
        mLayout->closeUndoBlock();
        cTraceCapture trace;
        mLayout->DeleteWidget(b);
        mLayout->DeleteWidget(tabs);
        mLayout->DeleteWidget(b);
        QCOMPARE(After(&cLayout::closeUndoBlock), QString("4"));
        QCOMPARE(trace.LinesContaining("is not on layout").size(), 1);
        QVERIFY(tabs->GetWidgetChildren()->isEmpty());
        QCOMPARE(After(&cLayout::undoPressed), QString("4,0[0:1,2 2:3]"));
        QCOMPARE(After(&cLayout::redoPressed), QString("4"));
        mLayout->clearUndoRedo();
        QVERIFY(c.isNull());
    }

    // The same place, or the top level again, is no move; a widget created for a tab that does not exist
    // stays on the page.
    void movesBetweenContainersUndoAndImpossibleOnesAreRefused()
    {
        auto* outer = Add<cTabContainer>("tab_container");
        auto* inner = Add<cTabContainer>("tab_container", outer, 0);
        cWidget* widget = Add("rect");
        mLayout->closeUndoBlock();
        for (int location : {1, 3})
        {
            mLayout->SetWidgetContainer(widget, outer, location, false);
            mLayout->closeUndoBlock();
        }
        cTraceCapture trace;
        mLayout->SetWidgetContainer(outer, outer, 1, false);
        mLayout->SetWidgetContainer(outer, inner, 0, false);
        mLayout->SetWidgetContainer(widget, inner, 9, false);
        mLayout->SetWidgetContainer(widget, outer, 3, false);
        mLayout->SetWidgetContainer(outer, nullptr, 5, false);
        QCOMPARE(After(&cLayout::closeUndoBlock), QString("0[0:1[] 3:2]"));
        QCOMPARE(trace.LinesContaining("into itself").size(), 2);
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1[] 1:2]"));
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1[]],2"));
        mLayout->redoPressed();
        QCOMPARE(After(&cLayout::redoPressed), QString("0[0:1[] 3:2]"));
        QVERIFY(!mLayout->hasRedo());
        QCOMPARE(mLayout->GetNestingLevel(Add("rect", outer, 7)), 0);
    }

    void keepPlaceMovesIntoATabWithoutMovingOnScreen()
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
        QVERIFY(item->parentItem() == page && item->parent() == page);
        QCOMPARE(Rects({widget}), QString("0.5,0.5,0.25,0.25"));
        QCOMPARE(Text(mLayout->FindWidgetFractionsRelativeToBase(widget)), QString("0.3,0.4,0.1,0.1"));
        mLayout->undoPressed();
        QCOMPARE(item->parentItem(), &canvas);
        QCOMPARE(mLayout->FindContainer(widget), nullptr);
        QCOMPARE(Rects({widget}), QString("0.3,0.4,0.1,0.1"));
    }

    // Without a canvas there is no order.
    void dropAreasAreSortedTopmostFirst()
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
        QVERIFY(mLayout->GetVisuallySortedDropAreas().isEmpty());
        mLayout->setEditContent(canvas);
        QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({high, same, low, canvasArea}));
        low->setZ(3);
        QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, high, same, canvasArea}));
        high->setParentItem(&root);
        delete same;
        QCOMPARE(mLayout->GetVisuallySortedDropAreas(), QList<QQuickItem*>({low, canvasArea}));
    }

    // Partly outside every tab area only the canvas holds it whole; a container may not go into a
    // container at level 3.
    void dropAreaChoiceRespectsStackingAndNesting()
    {
        QList<cWidget*> nested{nullptr};
        for (int level = 0; level < 4; ++level)
            nested << Add("tab_container", nested.last(), 0);
        QCOMPARE(mLayout->GetNestingLevel(nested.at(4)), 3);
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
        dragged->setPosition(QPointF(480, 480));
        QCOMPARE(mLayout->findDropArea(dragged, false), canvasArea);
        dragged->setPosition(QPointF(990, 990));
        QCOMPARE(mLayout->findDropArea(dragged, false), nullptr);
        const auto lit = [&] {
            return qMakePair(deepest->property("highlight").toBool(), canvasArea->property("highlight").toBool());
        };
        dragged->setPosition(QPointF(700, 700));
        mLayout->updateDropAreaHighlights(dragged, true);
        QCOMPARE(lit(), qMakePair(false, true));
        mLayout->updateDropAreaHighlights(dragged, false);
        QCOMPARE(lit(), qMakePair(true, false));
        mLayout->updateDropAreaHighlights(nullptr, false);
        QVERIFY(!lit().first);
    }

    // When the last top-level widget is a container, backwards goes into it.
    void tabOrderWalksTheTree()
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
        QCOMPARE(mLayout->PreviousWidgetInTabOrder(nullptr), first);
    }

    // The thumbnail's view was rebuilt after the test window's came: every item still moves within its own
    // view, and each view is found by its kind.
    void eachViewKeepsItsOwnItemsWhateverOrderTheyCameIn()
    {
        QQuickItem editor, testWindow;
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
        cWidget* rect = Add("rect", Add("tab_container"), 0);
        const QList<QQuickItem*> views{&editor, thumbnail.get(), &testWindow};
        // Each stands for the tab's page in that view.
        for (QQuickItem* view : views)
            rect->setQQuickItem(Item(Item(view, QRectF(0, 0, 100, 100)), QRectF(0, 0, 10, 10)), view == &editor);
        mLayout->SetWidgetContainer(rect, nullptr, -1, false);
        QCOMPARE(rect->GetQQuickItems().size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rect->GetQQuickItems().at(i)->parentItem(), views.at(i));
        QCOMPARE(mLayout->getParentItem(rect, -1, true), &testWindow);
        QCOMPARE(mLayout->getParentItem(rect, -1, false), thumbnail.get());
    }

    // The fourth tab's widget goes first; one step brings back the tabs, then each widget in its own tab.
    // Raising, or changing between counts past the maximum, deletes nothing; off any page the widgets of a
    // removed tab still leave the container.
    void reducingTabsDeletesTheirWidgetsUndoably()
    {
        auto* tabs = Add<cEditorTabContainer>("tab_container");
        QVERIFY(tabs);
        for (int tab : {0, 2, 3})
            Add("rect", tabs, tab);
        mLayout->closeUndoBlock();
        QStringList remaining;
        connect(tabs->GetWidgetChildren(), &QQmlObjectListModelBase::countChanged, this, [&] { remaining << Tree(); });
        tabs->GetNumberOfTabsProperty()->SetIntValue(2);
        mLayout->closeUndoBlock();
        QCOMPARE(remaining, QStringList({"0[0:1 2:2]", "0[0:1]"}));
        QCOMPARE(tabs->GetTabs()->count(), 2);
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1 2:2 3:3]"));
        QCOMPARE(tabs->GetTabs()->count(), 4);
        QCOMPARE(After(&cLayout::redoPressed), QString("0[0:1]"));
        mLayout->undoPressed();
        tabs->GetNumberOfTabsProperty()->SetIntValue(12);
        tabs->GetNumberOfTabsProperty()->SetIntValue(11);
        QCOMPARE(tabs->GetWidgetChildren()->count(), 3);
        cEditorTabContainer loose(1, nullptr, *mConfig);
        cWidget child(2, "rect", nullptr);
        loose.AddContainerChild(&child, 3);
        loose.GetNumberOfTabsProperty()->SetIntValue(1);
        QVERIFY(loose.GetWidgetChildren()->isEmpty());
    }

    void createWidgetFollowsTheTypeTable_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("className");
        QTest::newRow("button") << "zrnet_button" << "cZRNetButtonWidget";
        QTest::newRow("tab container") << "tab_container" << "cEditorTabContainer";
        QTest::newRow("rectangle") << "rect" << "cRectangleWidget";
        QTest::newRow("case differs") << "Rect" << "cWidget";
        QTest::newRow("unknown") << "container" << "cWidget";
    }
    void createWidgetFollowsTheTypeTable()
    {
        QFETCH(QString, type);
        QObject parent;
        cWidget* widget = cEditorWidgetFactory::CreateWidget(type, 7, *mConfig, &parent);
        QVERIFY(widget && widget->parent() == &parent && !widget->IsOnline());
        QTEST(QString(widget->metaObject()->className()), "className");
        QCOMPARE(widget->GetType(), type);
        QCOMPARE(cEditorWidgetFactory::IsWidgetTypeAContainer(type), type == QLatin1String("tab_container"));
    }

    // Moves made while undoing are not recorded. A new step after undo destroys widgets whose creation was
    // undone; clearing destroys deleted widgets once (also one created and deleted twice in a block) and
    // keeps created ones; the page takes what the history kept, once, also from a manager made after them.
    void theHistoryOwnsRemovedWidgetsAndDestroysThemOnce()
    {
        auto page = std::make_unique<cFakePage>();
        cLayoutUndoManager& manager = page->mManager;
        manager.AddMoveContainerAction(page->New(9), nullptr, 1, nullptr, 4);
        manager.CloseUndoBlock();
        manager.Undo();
        QVERIFY(page->mMoves == 1 && !manager.HasUndo() && manager.HasRedo());
        QPointer<cWidget> created = page->New(1), deleted = page->New(2);
        manager.AddNewWidgetAction(created, nullptr, -1);
        manager.AddDeleteWidgetAction(deleted, nullptr, -1);
        manager.CloseUndoBlock();
        manager.Undo();
        QVERIFY(created);
        manager.AddPropertyChangeAction(deleted->GetXProperty());
        QVERIFY(!created && deleted && !manager.HasRedo());

        QPointer<cWidget> deletedInClosedBlock = page->New(3), createdInClosedBlock = page->New(4),
                          deletedInOpenBlock = page->New(5), createdAndDeleted = page->New(6);
        manager.AddDeleteWidgetAction(deletedInClosedBlock, nullptr, -1);
        manager.AddNewWidgetAction(createdInClosedBlock, nullptr, -1);
        manager.CloseUndoBlock();
        manager.AddDeleteWidgetAction(deletedInOpenBlock, nullptr, -1);
        manager.AddNewWidgetAction(createdAndDeleted, nullptr, -1);
        manager.AddDeleteWidgetAction(createdAndDeleted, nullptr, -1);
        manager.AddDeleteWidgetAction(createdAndDeleted, nullptr, -1);
        manager.ClearUndoList();
        QVERIFY(!deletedInClosedBlock && !deletedInOpenBlock && !createdAndDeleted);
        QVERIFY(createdInClosedBlock && !manager.HasUndo());

        QPointer<cWidget> kept = page->New(7), undone = page->New(8);
        manager.AddDeleteWidgetAction(kept, nullptr, -1);
        manager.CloseUndoBlock();
        manager.AddNewWidgetAction(undone, nullptr, -1);
        manager.Undo();
        QPointer<cWidget> keptByLater = page->New(10);
        QPointer<cLayoutUndoManager> later = new cLayoutUndoManager(page.get());
        later->AddDeleteWidgetAction(keptByLater, nullptr, -1);
        later->CloseUndoBlock();
        page.reset();
        QVERIFY(!kept && !undone && !keptByLater && !later);
    }

    void widgetOutsideAPageIsTracedAndLeftAlone()
    {
        cFakePage page;
        QObject notAPage;
        auto* widget = new cWidget(7, "rect", &notAPage);
        cTraceCapture trace;
        page.mManager.AddDeleteWidgetAction(widget, nullptr, -1);
        page.mManager.CloseUndoBlock();
        page.mManager.Undo();
        page.mManager.Redo();
        QCOMPARE(trace.LinesContaining("Widget 7 is not held by a page").size(), 1);
    }
};

QTEST_MAIN(tst_LayoutStructure)
#include "tst_LayoutStructure.moc"

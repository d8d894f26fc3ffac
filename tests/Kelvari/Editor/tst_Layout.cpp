#include "support/cHeadlessLayoutView.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cWidgetTreeUndoTarget.h"
#include "Kelvari/Editor/cConfig.h"
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
QList<float> Zs(const QList<cWidget*>& widgets)
{
    QList<float> zs;
    for (const cWidget* widget : widgets)
        zs << widget->z();
    return zs;
}

// Fractions as "x,y,width,height" to four decimals: exact enough to catch a wrong step, blind to float
// rounding. Several widgets' rectangles are separated by spaces.
QString Text(const QRectF& rect)
{
    const auto text = [](qreal fraction) { return QString::number(qRound64(fraction * 1e4) / 1e4); };
    return text(rect.x()) + ',' + text(rect.y()) + ',' + text(rect.width()) + ',' + text(rect.height());
}

QString Rects(const QList<cWidget*>& widgets)
{
    QStringList rects;
    for (const cWidget* w : widgets)
        rects << Text(QRectF(w->xFraction(), w->yFraction(), w->widthFraction(), w->heightFraction()));
    return rects.join(' ');
}

// Widget ids in order, each container's children after it by tab: "1,2[0:3,4 2:5],6".
QString Tree(const QList<cWidget*>& widgets)
{
    QStringList out;
    for (cWidget* widget : widgets)
    {
        QStringList tabs;
        if (auto* container = qobject_cast<cTabContainer*>(widget))
            for (int tab = 0; tab < container->GetTabs()->count(); ++tab)
                if (!container->GetTabs()->At(tab)->GetWidgets().isEmpty())
                    tabs << QString::number(tab) + ':' + Tree(container->GetTabs()->At(tab)->GetWidgets());
        out << QString::number(widget->GetId()) + (qobject_cast<cTabContainer*>(widget) ? '[' + tabs.join(' ') + ']' : "");
    }
    return out.join(',');
}

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

// A layout page: reading its widget tree, creating, deleting and moving widgets with their undo steps, drop
// areas, tab order, the views' items, the history that owns removed widgets, the widget factory; and on two
// pages shown by headless canvases, selecting, transforming, arranging and copying widgets.
class tst_Layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<cConfig> mConfig;
    // Pages of no layout list: one without a view, and two shown by headless canvases.
    std::unique_ptr<cLayout> mPage, mLayout, mOther;
    std::unique_ptr<cHeadlessLayoutView> mView, mOtherView;

    template <class T = cWidget> T* New(const char* type, cWidget* container = nullptr, int location = -1)
    {
        return qobject_cast<T*>(mPage->createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
    }
    QString Tree() const { return ::Tree(mPage->GetWidgets()->Items()); }
    // Runs the page's action, then gives its widget tree.
    QString After(void (cLayout::*action)())
    {
        (mPage.get()->*action)();
        return Tree();
    }
    // The whole element is read, and the page replaces this test's one.
    void Read(const QString& xml)
    {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        mPage.reset(cLayout::CreateFromXml(reader, *mConfig));
        reader.readNext();
        QVERIFY2(reader.isEndDocument(), qPrintable(reader.tokenString()));
    }

    cLayoutSelectionManager& Selection() { return *mLayout->selectionManager(); }
    static QList<cWidget*> Selected(cLayout& layout) { return layout.selectionManager()->GetSelectedWidgets(); }
    template <class T = cWidget> T* Add(const char* type, const QRectF& rect, cWidget* in = nullptr, int tab = -1)
    {
        return qobject_cast<T*>(mView->Add(type, rect, in, tab));
    }
    // Rectangles from "x,y,width,height" texts, added in order and selected.
    QList<cWidget*> AddSelected(const QString& rects, cWidget* container = nullptr, int location = -1)
    {
        QList<cWidget*> widgets;
        for (const QString& rect : rects.split(' '))
        {
            const QStringList f = rect.split(',');
            widgets << Add("rect", {f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble()}, container,
                           location);
            Selection().addToSelection(widgets.last());
        }
        return widgets;
    }
    int UndoSteps()
    {
        int steps = 0;
        for (; mLayout->hasUndo(); ++steps)
            mLayout->undoPressed();
        for (int i = 0; i < steps; ++i)
            mLayout->redoPressed();
        return steps;
    }
    QStringList GroupNames()
    {
        QStringList names;
        for (const cGroupProperty* group : Selection().GetCurrentSelectionProperties()->Items())
            names << group->name();
        return names;
    }
    void Transform(const std::function<void()>& gesture)
    {
        Selection().selectionTransformStartOrEnd(true);
        gesture();
        Selection().selectionTransformStartOrEnd(false);
    }

private slots:
    void init()
    {
        mConfig = std::make_unique<cConfig>(nullptr);
        mPage = std::make_unique<cLayout>(*mConfig);
        mLayout = std::make_unique<cLayout>(*mConfig);
        mOther = std::make_unique<cLayout>(*mConfig);
        mView = std::make_unique<cHeadlessLayoutView>(*mLayout);
        mOtherView = std::make_unique<cHeadlessLayoutView>(*mOther);
    }
    void cleanup()
    {
        mView.reset();
        mOtherView.reset();
        mLayout.reset();
        mOther.reset();
        mPage.reset();
    }

    // Two is true and "true" is not; an unreadable number is 0; of a repeated attribute the last wins (an XML
    // error only once the reader moves on). As "allUsers phone aspectRatio1".
    void attributeValuesAreReadAsIntegers()
    {
        QStringList read;
        for (const char* attributes : {"allUsers=\"2\" phone=\"true\"", "aspectRatio1=\"x\"", "allUsers=\"0\" allUsers=\"1\""})
        {
            QXmlStreamReader reader("<Layout " + QString(attributes) + "/>");
            reader.readNextStartElement();
            mPage.reset(cLayout::CreateFromXml(reader, *mConfig));
            read << QString("%1 %2 %3").arg(mPage->allUsers()).arg(mPage->phone()).arg(mPage->aspectRatio1());
        }
        QCOMPARE(read, QStringList({"1 0 4", "1 1 0", "1 1 4"}));
    }

    // Only widgets on the page count for the next id, not those of skipped elements, which are gone with
    // their children; a loaded tab's child belongs to the page and its history. Pictures in use are sorted
    // and unique, a container's own belonging to the level that holds it.
    void widgetsThatFailToLoadAreSkippedWholeAndTheRestJoinThePage()
    {
        cTraceCapture trace;
        Read("<Layout><Widget type=\"rect\" width=\"0.1\" height=\"0.1\"><Extra/></Widget>"
             "<Widget id=\"1\" type=\"image\" x=\"-0.5\" width=\"0.1\" height=\"0.1\" resourceId=\"7\"/>"
             "<Notes><Widget id=\"50\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Notes>"
             "<Widget id=\"2\" type=\"tab_container\" width=\"-0.4\" height=\"0.5\">"
             "<Tab><Widget id=\"60\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
             "<Widget id=\"3\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"2\" onImageResourceId=\"12\">"
             "<Tab tabName=\"a\"/><Tab tabName=\"b\"><Widget id=\"4\" type=\"image\" x=\"0.2\" width=\"0.1\" "
             "height=\"0.1\" resourceId=\"7\"/></Tab></Widget>"
             "</Layout>");
        QCOMPARE(Tree(), QString("1,3[1:4]"));
        QCOMPARE(trace.LinesContaining("Error loading widget coords").size(), 1);
        QCOMPARE(trace.LinesContaining("Error loading widget id").size(), 1);
        QCOMPARE(mConfig->GetNextId(), 5);
        QCOMPARE(mPage->findChildren<cWidget*>().size(), 3);
        auto* tabs = qobject_cast<cEditorTabContainer*>(mPage->GetWidgets()->At(1));
        QCOMPARE(mPage->GetResourceIdsUsed(tabs), QStringList{"7"});
        QCOMPARE(mPage->GetResourceIdsUsed(nullptr), QStringList({"12", "7", "_basic"}));
        cWidget* child = tabs->GetTabs()->At(1)->GetWidgets().value(0);
        QCOMPARE(child->parent(), mPage.get());
        child->setXFraction(0.3f);
        mPage->closeUndoBlock();
        mPage->undoPressed();
        QCOMPARE(child->xFraction(), 0.2f);
    }

    // A pasted layout's name is set without an undo step, and its pictures know it; the document records the
    // other changes and undoes them.
    void detailsFromQmlAreRecordedAndUndoneThroughTheConfig()
    {
        const QString id = mConfig->addNewImage(QUrl::fromLocalFile(TEST_DATA_DIR "/images/folder.png"));
        mConfig->createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, "");
        cLayout* layout = mConfig->Layouts().At(0);
        qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", nullptr, -1, 0, 0, 1, 1))
            ->GetImageProperty()->setStringValue(id);
        layout->closeUndoBlock();
        QSignalSpy nameSpy(layout, &cLayout::nameChanged);
        QSignalSpy usersSpy(layout, &cLayout::usersChanged);
        layout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "");
        QCOMPARE(nameSpy.count() + usersSpy.count(), 0);
        layout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, true, "Pasted");
        QVERIFY(nameSpy.count() == 1 && mConfig->FindImageResource(id)->LayoutNames() == "Pasted\n");
        const sLayoutDetails pasted = layout->LayoutDetails();
        layout->setLayoutDetails(false, "ann", true, false, true, 0, true, "", false, 4, 3, false, "Pasted");
        QCOMPARE(QList<int>({usersSpy.count(), nameSpy.count()}), QList<int>({1, 1}));
        const sLayoutDetails changed = layout->LayoutDetails();
        QVERIFY(pasted.users.isEmpty() && changed.users == "ann");
        mConfig->undoPressed();
        QCOMPARE(layout->LayoutDetails(), pasted);
        mConfig->undoPressed();
        QCOMPARE(mConfig->Layouts().count(), 0);
        mConfig->redoPressed();
        mConfig->redoPressed();
        QCOMPARE(layout->LayoutDetails(), changed);
    }

    void createdWidgetsStackOnTopAndUndo()
    {
        QQuickItem canvas;
        mPage->setEditContent(&canvas);
        QList<cWidget*> created;
        for (int i = 0; i < 3; ++i)
        {
            created << New("rect");
            mPage->closeUndoBlock();
        }
        QCOMPARE(Zs(created), QList<float>({0, 0.5f, 1}));
        QSignalSpy createSpy(mPage.get(), &cLayout::createRequest);
        QCOMPARE(After(&cLayout::undoPressed), QString("0,1"));
        QCOMPARE(created.at(1)->z(), 1.0f);
        QCOMPARE(After(&cLayout::redoPressed), QString("0,1,2"));
        QCOMPARE(created.at(1)->z(), 0.5f);
        QCOMPARE(createSpy.count(), 1);
        QCOMPARE(createSpy.at(0).at(0).value<cWidget*>(), created.at(2));
        QCOMPARE(createSpy.at(0).at(1).value<QQuickItem*>(), &canvas);
    }

    // A selection of the container and one of its children, deleted last first.
    void deletingAContainerUndoesContainerFirstThenItsChildren()
    {
        auto* tabs = New<cTabContainer>("tab_container");
        New("rect", tabs, 0);
        cWidget* b = New("text", tabs, 0);
        New("rect", tabs, 2);
        New("rect");
        mPage->closeUndoBlock();
        cTraceCapture trace;
        mPage->DeleteWidget(b);
        mPage->DeleteWidget(tabs);
        mPage->DeleteWidget(b);
        QCOMPARE(After(&cLayout::closeUndoBlock), QString("4"));
        QCOMPARE(trace.LinesContaining("is not on layout").size(), 1);
        QVERIFY(tabs->GetWidgetChildren()->isEmpty());
        QCOMPARE(After(&cLayout::undoPressed), QString("4,0[0:1,2 2:3]"));
        QCOMPARE(After(&cLayout::redoPressed), QString("4"));
    }

    // The same place, or the top level again, is no move; a widget created for a tab that does not exist
    // stays on the page.
    void movesBetweenContainersUndoAndImpossibleOnesAreRefused()
    {
        auto* outer = New<cTabContainer>("tab_container");
        auto* inner = New<cTabContainer>("tab_container", outer, 0);
        cWidget* widget = New("rect");
        mPage->closeUndoBlock();
        for (int location : {1, 3})
        {
            mPage->SetWidgetContainer(widget, outer, location, false);
            mPage->closeUndoBlock();
        }
        cTraceCapture trace;
        mPage->SetWidgetContainer(outer, outer, 1, false);
        mPage->SetWidgetContainer(outer, inner, 0, false);
        mPage->SetWidgetContainer(widget, inner, 9, false);
        mPage->SetWidgetContainer(widget, outer, 3, false);
        mPage->SetWidgetContainer(outer, nullptr, 5, false);
        QCOMPARE(After(&cLayout::closeUndoBlock), QString("0[0:1[] 3:2]"));
        QCOMPARE(trace.LinesContaining("into itself").size(), 2);
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1[] 1:2]"));
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1[]],2"));
        mPage->redoPressed();
        QCOMPARE(After(&cLayout::redoPressed), QString("0[0:1[] 3:2]"));
        QVERIFY(!mPage->hasRedo());
        QCOMPARE(mPage->GetNestingLevel(New("rect", outer, 7)), 0);
    }

    void keepPlaceMovesIntoATabWithoutMovingOnScreen()
    {
        QQuickItem canvas;
        canvas.setSize(QSizeF(1000, 1000));
        mPage->setEditContent(&canvas);
        mPage->registerContentItem(&canvas, true);
        auto* tabs = New<cTabContainer>("tab_container");
        QQuickItem* page = Item(&canvas, QRectF(100, 200, 400, 400));
        tabs->GetTabs()->At(0)->addLinkedContainerQuickItem(page, true);
        auto* widget = qobject_cast<cWidget*>(mPage->createAndAddWidget("rect", nullptr, -1, 0.3f, 0.4f, 0.1f, 0.1f));
        QQuickItem* item = Item(&canvas, QRectF(300, 400, 100, 100));
        widget->setQQuickItem(item, true);
        mPage->closeUndoBlock();
        mPage->SetWidgetContainer(widget, tabs, 0, true);
        mPage->closeUndoBlock();
        QVERIFY(item->parentItem() == page && item->parent() == page);
        QCOMPARE(Rects({widget}), QString("0.5,0.5,0.25,0.25"));
        QCOMPARE(Text(mPage->FindWidgetFractionsRelativeToBase(widget)), QString("0.3,0.4,0.1,0.1"));
        mPage->undoPressed();
        QCOMPARE(item->parentItem(), &canvas);
        QCOMPARE(mPage->FindContainer(widget), nullptr);
        QCOMPARE(Rects({widget}), QString("0.3,0.4,0.1,0.1"));
    }

    // Partly outside every tab area only the canvas holds it whole; a container may not go into a
    // container at level 3.
    void dropAreaChoiceRespectsStackingAndNesting()
    {
        QList<cWidget*> nested{nullptr};
        for (int level = 0; level < 4; ++level)
            nested << New("tab_container", nested.last(), 0);
        QCOMPARE(mPage->GetNestingLevel(nested.at(4)), 3);
        QQuickItem root;
        QQuickItem* canvas = Item(&root, QRectF(0, 0, 1000, 1000));
        mPage->setEditContent(canvas);
        QQuickItem* canvasArea = DropArea(&root, nullptr, -1, QRectF(0, 0, 1000, 1000));
        canvasArea->setObjectName("editContentDropArea");
        QQuickItem* lower = DropArea(canvas, nested.at(1), 0, QRectF(100, 100, 400, 400), 1);
        QQuickItem* upper = DropArea(canvas, nested.at(2), 0, QRectF(300, 300, 400, 400), 2);
        QQuickItem* deepest = DropArea(canvas, nested.at(4), 0, QRectF(600, 600, 300, 300), 3);
        for (QQuickItem* area : {canvasArea, lower, upper, deepest})
            mPage->registerDropArea(area);
        QQuickItem* dragged = Item(&root, QRectF(350, 350, 50, 50));
        QCOMPARE(mPage->findDropArea(dragged, false), upper);
        upper->setVisible(false);
        QCOMPARE(mPage->findDropArea(dragged, false), lower);
        dragged->setPosition(QPointF(480, 480));
        QCOMPARE(mPage->findDropArea(dragged, false), canvasArea);
        dragged->setPosition(QPointF(990, 990));
        QCOMPARE(mPage->findDropArea(dragged, false), nullptr);
        const auto lit = [&] {
            return qMakePair(deepest->property("highlight").toBool(), canvasArea->property("highlight").toBool());
        };
        dragged->setPosition(QPointF(700, 700));
        mPage->updateDropAreaHighlights(dragged, true);
        QCOMPARE(lit(), qMakePair(false, true));
        mPage->updateDropAreaHighlights(dragged, false);
        QCOMPARE(lit(), qMakePair(true, false));
        mPage->updateDropAreaHighlights(nullptr, false);
        QVERIFY(!lit().first);
    }

    // When the last top-level widget is a container, backwards goes into it.
    void tabOrderWalksTheTree()
    {
        QCOMPARE(mPage->NextWidgetInTabOrder(nullptr), nullptr);
        cWidget* first = New("rect");
        cWidget* tabs = New("tab_container");
        cWidget* onSecondTab = New("rect", tabs, 1);
        cWidget* onFirstTab = New("text", tabs, 0);
        cWidget* empty = New("tab_container");
        const QList<cWidget*> order{first, tabs, onFirstTab, onSecondTab, empty, first};
        QCOMPARE(mPage->NextWidgetInTabOrder(nullptr), first);
        for (int i = 0; i + 1 < order.size(); ++i)
        {
            QCOMPARE(mPage->NextWidgetInTabOrder(order.at(i)), order.at(i + 1));
            QCOMPARE(mPage->PreviousWidgetInTabOrder(order.at(i + 1)), order.at(i));
        }
        QCOMPARE(mPage->PreviousWidgetInTabOrder(nullptr), empty);
        mPage->SetWidgetContainer(first, qobject_cast<cContainer*>(empty), 0, false);
        QCOMPARE(mPage->PreviousWidgetInTabOrder(nullptr), first);
    }

    // The thumbnail's view was remade after the test window's came: a moved widget's items stay each in its own
    // view, and each view is found by its kind.
    void eachViewKeepsItsOwnItemsWhateverOrderTheyCameIn()
    {
        QQuickItem editor, testWindow, thumbnail;
        testWindow.setProperty("isTestWindow", true);
        auto oldThumbnail = std::make_unique<QQuickItem>();
        mPage->registerContentItem(&editor, true);
        mPage->registerContentItem(oldThumbnail.get(), false);
        mPage->registerContentItem(&testWindow, false);
        oldThumbnail.reset();
        mPage->registerContentItem(&thumbnail, false);
        cWidget* rect = New("rect", New("tab_container"), 0);
        const QList<QQuickItem*> views{&editor, &thumbnail, &testWindow};
        for (QQuickItem* view : views)
            rect->setQQuickItem(Item(Item(view, QRectF()), QRectF()), view == &editor);
        mPage->SetWidgetContainer(rect, nullptr, -1, false);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rect->GetQQuickItems().at(i)->parentItem(), views.at(i));
        QCOMPARE(mPage->getParentItem(rect, -1, true), &testWindow);
        QCOMPARE(mPage->getParentItem(rect, -1, false), &thumbnail);
    }

    // The fourth tab's widget goes first; one step brings back the tabs, then each widget in its own tab.
    // Raising, or changing between counts past the maximum, deletes nothing; off any page the widgets of a
    // removed tab still leave the container.
    void reducingTabsDeletesTheirWidgetsUndoably()
    {
        auto* tabs = New<cEditorTabContainer>("tab_container");
        QVERIFY(tabs);
        for (int tab : {0, 2, 3})
            New("rect", tabs, tab);
        mPage->closeUndoBlock();
        QStringList remaining;
        connect(tabs->GetWidgetChildren(), &QQmlObjectListModelBase::countChanged, this, [&] { remaining << Tree(); });
        tabs->GetNumberOfTabsProperty()->SetIntValue(2);
        mPage->closeUndoBlock();
        QCOMPARE(remaining, QStringList({"0[0:1 2:2]", "0[0:1]"}));
        QCOMPARE(tabs->GetTabs()->count(), 2);
        QCOMPARE(After(&cLayout::undoPressed), QString("0[0:1 2:2 3:3]"));
        QCOMPARE(tabs->GetTabs()->count(), 4);
        QCOMPARE(After(&cLayout::redoPressed), QString("0[0:1]"));
        mPage->undoPressed();
        tabs->GetNumberOfTabsProperty()->SetIntValue(12);
        tabs->GetNumberOfTabsProperty()->SetIntValue(11);
        QCOMPARE(tabs->GetWidgetChildren()->count(), 3);
        cEditorTabContainer loose(1, nullptr, *mConfig);
        cWidget child(2, "rect", nullptr);
        loose.AddContainerChild(&child, 3);
        loose.GetNumberOfTabsProperty()->SetIntValue(1);
        QVERIFY(loose.GetWidgetChildren()->isEmpty());
    }

    // Exactly "tab_container" is a container; other types, also in another case, are plain widgets.
    void theFactoryMakesEachTypesClass()
    {
        QObject parent;
        QStringList made;
        for (const QString type : {"zrnet_button", "tab_container", "rect", "Rect", "container"})
        {
            cWidget* widget = cEditorWidgetFactory::CreateWidget(type, 7, *mConfig, &parent);
            QVERIFY(widget->parent() == &parent && !widget->IsOnline() && widget->GetType() == type);
            made << widget->metaObject()->className() + QString(cEditorWidgetFactory::IsWidgetTypeAContainer(type) ? "+" : "");
        }
        QCOMPARE(made.join(' '), QString("cZRNetButtonWidget cEditorTabContainer+ cRectangleWidget cWidget cWidget"));
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
        QObject notAPage;
        cTraceCapture trace;
        manager.AddDeleteWidgetAction(new cWidget(11, "rect", &notAPage), nullptr, -1);
        manager.CloseUndoBlock();
        manager.Undo();
        manager.Redo();
        QCOMPARE(trace.LinesContaining("Widget 11 is not held by a page").size(), 1);
        page.reset();
        QVERIFY(!kept && !undone && !keptByLater && !later);
    }
    void groupsHoldWhatEverySelectedWidgetShares()
    {
        QCOMPARE(QVariantList({Selection().GetCurrentSelectionProperties()->count(), Selection().currentSelectionType(),
                               Selection().selectionRect()}), QVariantList({0, QString(), QRectF()}));
        const QList<cWidget*> widgets{Add("text", {0.1, 0.1, 0.2, 0.1}), Add("text", {0.4, 0.1, 0.2, 0.1}),
                                      Add("rect", {0.1, 0.5, 0.2, 0.1})};
        Selection().setSelection(widgets.at(0));
        Selection().addToSelection(widgets.at(1));
        QCOMPARE(Selection().currentSelectionType(), QString("text"));
        QVERIFY(GroupNames().contains("Align"));
        QSignalSpy counts(&Selection(), &cLayoutSelectionManager::selectionCountChanged);
        Selection().addToSelection(widgets.at(2));
        Selection().addToSelection(widgets.at(2));
        QCOMPARE(counts.count(), 1);
        QCOMPARE(Selection().selectionCount(), 3);
        QCOMPARE(Selection().currentSelectionType(), cWidget::mMultipleTypeName);
        QCOMPARE(GroupNames().mid(0, 5), QStringList({"X", "Y", "Width", "Height", "Z"}));
        QVERIFY(!GroupNames().contains("Align"));
    }

    // Undoing a creation takes the widget out of the selection and out of the count.
    void rectangleCountAndOrderFollowTheTree()
    {
        cWidget* left = Add("rect", {0.1, 0.2, 0.2, 0.1});
        auto* tabs = Add<cContainer>("tab_container", {0.5, 0.5, 0.1, 0.2});
        const QList<cWidget*> children{Add("rect", {0, 0, 0.5, 0.5}, tabs, 0), Add("rect", {0, 0, 0.5, 0.5}, tabs, 0),
                                       Add("rect", {0, 0, 0.5, 0.5}, tabs, 1)};
        Selection().setSelection(left);
        Selection().addToSelection(tabs);
        QCOMPARE(Text(Selection().selectionRect()), QString("0.1,0.2,0.5,0.5"));
        Selection().selectAll();
        QCOMPARE(Selection().selectionCount(), 5);
        QCOMPARE(Selected(*mLayout), QList<cWidget*>({left, tabs}) + children);
        const QList<sSelectionGroup> groups = Selection().GetSelectedWidgetsInContainerGroups(nullptr);
        QVERIFY(groups.size() == 2 && groups.at(0).container == tabs && groups.at(1).widgets == QList<cWidget*>({left, tabs}));
        QCOMPARE(Selection().GetLastSelectedWidget(nullptr), tabs);
        mLayout->undoPressed();
        QCOMPARE(Selection().selectionCount(), 4);
        QVERIFY(!Selected(*mLayout).contains(children.at(2)));
    }

    void elasticBandTakesWhollyContainedShownWidgets()
    {
        cWidget* half = Add("rect", {0.1, 0.1, 0.2, 0.2});
        auto* tabs = Add("tab_container", {0.5, 0.5, 0.4, 0.4});
        cWidget* shown = Add("rect", {0.1, 0.1, 0.2, 0.2}, tabs, 0);
        mView->ItemOf(Add("rect", {0.5, 0.5, 0.2, 0.2}, tabs, 0))->setVisible(false);
        Selection().setElasticBandSelection(0, 0, 0.2f, 0.4f, false);
        QCOMPARE(Selection().selectionCount(), 0);
        Selection().setElasticBandSelection(0.5f, 0.5f, 0.4f, 0.4f, false);
        QCOMPARE(Selected(*mLayout), QList<cWidget*>({tabs, shown}));
        Selection().setElasticBandSelection(0, 0, 0.3f, 0.3f, true);
        QCOMPARE(Selection().selectionCount(), 3);
        Selection().setElasticBandSelection(0, 0, 0.3f, 0.3f, false);
        QCOMPARE(Selected(*mLayout), QList<cWidget*>{half});
    }

    void edgeDragsScaleAboutTheFixedEdgeAndZeroSizesNever()
    {
        for (const bool shift : {false, true})
        {
            const QList<cWidget*> widgets = AddSelected("0.2,0.4,0.2,0.2 0.4,0.5,0.2,0.1");
            Transform([&] { Selection().setGroupEditOverlayLeft(0.1f, shift); });
            QCOMPARE(Rects(widgets),
                     shift ? "0.1,0.35,0.25,0.25 0.35,0.475,0.25,0.125" : "0.1,0.4,0.25,0.2 0.35,0.5,0.25,0.1");
            QCOMPARE(Text(Selection().selectionRect()), shift ? "0.1,0.35,0.5,0.25" : "0.1,0.4,0.5,0.2");
            mLayout->deletePressed();
        }
        const QList<cWidget*> flat = AddSelected("0.2,0.2,0,0");
        Transform([this] {
            Selection().setGroupEditOverlayLeft(0.1f, true);
            Selection().setGroupEditOverlayWidth(0.3f, true);
        });
        QCOMPARE(Rects(flat), QString("0.2,0.2,0,0"));
    }

    void gesturesAreSingleUndoStepsThatRestoreGeometry_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("flag"); // -1: the gesture takes no flag
        QTest::newRow("drag") << "setGroupEditOverlayX" << 0.05f << 1;
        QTest::newRow("nudge") << "incrementGroupEditOverlayY" << 0.01f << -1;
        QTest::newRow("left edge") << "setGroupEditOverlayLeft" << 0.05f << 0;
        QTest::newRow("top edge") << "setGroupEditOverlayTop" << 0.1f << -1;
        QTest::newRow("width with shift") << "setGroupEditOverlayWidth" << 0.6f << 1;
        QTest::newRow("height") << "setGroupEditOverlayHeight" << 0.5f << -1;
    }
    // The child moves with its container, its fractions of the container untouched.
    void gesturesAreSingleUndoStepsThatRestoreGeometry()
    {
        QFETCH(QString, gesture);
        QFETCH(float, value);
        QFETCH(int, flag);
        auto* tabs = Add("tab_container", {0.5, 0.5, 0.4, 0.4});
        const QList<cWidget*> all{tabs, Add("rect", {0.1, 0.1, 0.5, 0.5}, tabs, 0), Add("rect", {0.1, 0.2, 0.2, 0.1})};
        Selection().selectAll();
        const QString before = Rects(all) + ' ' + Text(Selection().selectionRect());
        Transform([&] {
            QVERIFY(flag < 0 ? QMetaObject::invokeMethod(&Selection(), qPrintable(gesture), Q_ARG(float, value))
                             : QMetaObject::invokeMethod(&Selection(), qPrintable(gesture), Q_ARG(float, value),
                                                         Q_ARG(bool, flag == 1)));
            if (gesture == "setGroupEditOverlayX")
                Selection().setGroupEditOverlayY(0.15f, true);
        });
        const QString after = Rects(all);
        QVERIFY(!before.startsWith(after) && Rects({all.at(1)}).startsWith("0.1,0.1,"));
        mLayout->undoPressed();
        QCOMPARE(Rects(all) + ' ' + Text(Selection().selectionRect()), before);
        QCOMPARE(Selected(*mLayout), all);
        mLayout->redoPressed();
        QCOMPARE(Rects(all) + ' ' + QString::number(Selection().selectionCount()), after + " 3");
    }

    void keyboardAndDeleteWorkOnTheSelection()
    {
        cWidget* first = Add("rect", {0.1, 0.1, 0.1, 0.1});
        auto* tabs = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.4, 0.4});
        cWidget* onSecondTab = Add("rect", {0.1, 0.1, 0.5, 0.5}, tabs, 1);
        mLayout->tabPressed();
        QCOMPARE(Selected(*mLayout), QList<cWidget*>{first});
        mLayout->backtabPressed();
        QVERIFY(Selected(*mLayout) == QList<cWidget*>{onSecondTab} && tabs->currentTabIndex() == 1);
        Selection().addToSelection(tabs);
        mLayout->deletePressed();
        QVERIFY(mLayout->GetWidgets()->Items() == QList<cWidget*>{first} && Selection().selectionCount() == 0);
    }

    // The first widget is selected; the second overlaps it, the third lies apart.
    void restackingRenumbersTheStack_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<float>>("before");
        QTest::addColumn<QList<float>>("after");
        QTest::addColumn<int>("steps");
        const QList<float> spread{0.2f, 0.9f, 0.5f}, top{0.9f, 0.2f, 0.5f}, back{0, 0.5f, 1}, front{1, 0.5f, 0};
        QTest::newRow("to front") << "sendToFrontPressed" << spread << front << 1;
        QTest::newRow("to back") << "sendToBackPressed" << top << back << 1;
        QTest::newRow("forward onto the first overlapping one")
            << "bringForwardPressed" << QList<float>{0.2f, 0.5f, 0.9f} << QList<float>{0.5f, 0, 1} << 1;
        QTest::newRow("forward past one that does not overlap") << "bringForwardPressed" << spread << front << 1;
        QTest::newRow("forward with nothing overlapping above")
            << "bringForwardPressed" << QList<float>{0.2f, 0.1f, 0.5f} << QList<float>{0.2f, 0.1f, 0.5f} << 0;
        QTest::newRow("backward") << "sendBackwardPressed" << top << back << 1;
        QTest::newRow("equal z keep their order") << "sendToFrontPressed" << QList<float>{0, 0, 0}
                                                  << QList<float>{1, 0, 0.5f} << 1;
    }
    void restackingRenumbersTheStack()
    {
        QFETCH(QString, operation);
        QFETCH(QList<float>, before);
        const QList<cWidget*> widgets{Add("rect", {0.1, 0.1, 0.2, 0.2}), Add("rect", {0.2, 0.2, 0.2, 0.2}),
                                      Add("rect", {0.6, 0.6, 0.1, 0.1})};
        for (int i = 0; i < widgets.size(); ++i)
            widgets.at(i)->SetZ(before.at(i));
        mLayout->closeUndoBlock();
        const int steps = UndoSteps();
        Selection().setSelection(widgets.first());
        QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
        QTEST(Zs(widgets), "after");
        QTEST(UndoSteps() - steps, "steps");
    }

    // Five widgets spread over 0 to 1; one alone gets 0.
    void restackingWorksPerContainerInOneStep()
    {
        QList<cWidget*> all;
        for (cWidget* container : {Add("tab_container", {0, 0, 0.5, 1}), Add("tab_container", {0.5, 0, 0.5, 1})})
            for (int i = 0; i < 3; ++i)
                all << Add("rect", {0.1 * i, 0.1, 0.3, 0.3}, container, i % 2);
        QCOMPARE(Zs(all), QList<float>({0, 0.5f, 1, 0, 0.5f, 1}));
        Selection().setSelection(all.at(2));
        Selection().addToSelection(all.at(5));
        mLayout->sendToBackPressed();
        QCOMPARE(Zs(all), QList<float>({0.5f, 1, 0, 0.5f, 1, 0}));
        mLayout->undoPressed();
        QCOMPARE(Zs(all), QList<float>({0, 0.5f, 1, 0, 0.5f, 1}));
        mLayout->NormalizeZ(all.mid(0, 5));
        mLayout->NormalizeZ(all.mid(5));
        QCOMPARE(Zs(all), QList<float>({0, 0.25f, 0.5f, 0.75f, 1, 0}));
    }

    void alignAndDistributeWithinAGroup_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const QString ab = "0.1,0.1,0.1,0.2 0.4,0.5,0.2,0.1";
        QTest::newRow("top") << "alignTopPressed" << ab + " 0.7,0.3,0.1,0.1"
                             << "0.1,0.1,0.1,0.2 0.4,0.1,0.2,0.1 0.7,0.1,0.1,0.1";
        QTest::newRow("bottom") << "alignBottomPressed" << ab << "0.1,0.4,0.1,0.2 0.4,0.5,0.2,0.1";
        QTest::newRow("vertical centres") << "alignHCentrePressed" << "0,0,0.1,0.2 0.5,0.6,0.1,0.4"
                                          << "0,0.4,0.1,0.2 0.5,0.3,0.1,0.4";
        QTest::newRow("left") << "alignLeftPressed" << ab << "0.1,0.1,0.1,0.2 0.1,0.5,0.2,0.1";
        QTest::newRow("right") << "alignRightPressed" << ab << "0.5,0.1,0.1,0.2 0.4,0.5,0.2,0.1";
        QTest::newRow("horizontal centres") << "alignVCentrePressed" << ab << "0.3,0.1,0.1,0.2 0.25,0.5,0.2,0.1";
        QTest::newRow("distribute vertically") << "distributeVPressed" << "0,0.8,0.1,0.1 0.2,0,0.1,0.1 0.4,0.2,0.1,0.1"
                                               << "0,0.8,0.1,0.1 0.2,0,0.1,0.1 0.4,0.4,0.1,0.1";
        QTest::newRow("distribute horizontally, overlapping")
            << "distributeHPressed" << "0,0,0.4,0.1 0.1,0,0.4,0.1 0.5,0,0.2,0.1" << "0,0,0.4,0.1 0.25,0,0.4,0.1 0.5,0,0.2,0.1";
        QTest::newRow("distribute one") << "distributeVPressed" << "0.1,0.1,0.1,0.2" << "0.1,0.1,0.1,0.2";
    }
    void alignAndDistributeWithinAGroup()
    {
        QFETCH(QString, operation);
        QFETCH(QString, before);
        const QList<cWidget*> widgets = AddSelected(before);
        QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
        QTEST(Rects(widgets), "after");
        mLayout->undoPressed();
        QCOMPARE(Rects(widgets), before);
    }

    // Counting the steps undoes creations, which deselects.
    void alignIsPerContainerAndFillIsOneStep()
    {
        auto* tabs = Add("tab_container", {0.5, 0.5, 0.5, 0.5});
        const QList<cWidget*> all = AddSelected("0.1,0.1,0.1,0.1 0.2,0.3,0.1,0.1") +
                                    AddSelected("0.3,0.1,0.2,0.2 0.6,0.5,0.2,0.2", tabs, 0);
        const int steps = UndoSteps();
        Selection().SelectMultiple(all);
        mLayout->alignLeftPressed();
        QCOMPARE(Rects(all), QString("0.1,0.1,0.1,0.1 0.1,0.3,0.1,0.1 0.3,0.1,0.2,0.2 0.3,0.5,0.2,0.2"));
        QCOMPARE(UndoSteps(), steps + 2);
        Selection().SelectMultiple(all);
        mLayout->fillVerticalPressed();
        QCOMPARE(Rects(all), QString("0.1,0,0.1,1 0.1,0,0.1,1 0.3,0,0.2,1 0.3,0,0.2,1"));
        QCOMPARE(Text(Selection().selectionRect()), QString("0.1,0,0.65,1"));
        QCOMPARE(UndoSteps(), steps + 3);
    }

    void repeatedPastesCascadeAndWrap_data()
    {
        QTest::addColumn<QRectF>("copied");
        QTest::addColumn<bool>("sameLayout");
        QTest::addColumn<QStringList>("pasted");
        const QRectF middle(0.2, 0.2, 0.1, 0.1);
        QTest::newRow("other layout") << middle << false << QStringList{"0.2,0.2,0.1,0.1", "0.21,0.21,0.1,0.1"};
        QTest::newRow("past the right edge") << QRectF(0.985, 0.2, 0.01, 0.1) << true
                                             << QStringList{"0,0.21,0.01,0.1", "0.01,0.22,0.01,0.1"};
    }
    void repeatedPastesCascadeAndWrap()
    {
        QFETCH(QRectF, copied);
        QFETCH(bool, sameLayout);
        QFETCH(QStringList, pasted);
        Selection().setSelection(Add("rect", copied));
        QSignalSpy allowed(mOther.get(), &cLayout::isPasteAllowedChanged);
        mLayout->copyPressed();
        QVERIFY(mLayout->isPasteAllowed() && mOther->isPasteAllowed() && allowed.count() == 1);
        cLayout& target = sameLayout ? *mLayout : *mOther;
        for (const QString& expected : pasted)
        {
            target.pastePressed();
            QCOMPARE(Rects(Selected(target)), expected);
            const QList<float> zs = Zs(target.GetWidgets()->Items());
            QCOMPARE(*std::max_element(zs.begin(), zs.end()), Selected(target).first()->z());
        }
    }

    // The tab shown takes it; without the container it goes on the page where it was on the page, also when
    // the container is gone since the copy.
    void pastesGoIntoTheSourceContainerOnlyWhereItExists()
    {
        auto* tabs = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.5, 0.5});
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.2, 0.2}, tabs, 1));
        mLayout->copyPressed();
        tabs->setCurrentTabIndex(2);
        mLayout->pastePressed();
        cWidget* inTab = Selected(*mLayout).first();
        QVERIFY(mLayout->FindContainer(inTab) == tabs && tabs->getContainerLocation(inTab) == 2);
        QCOMPARE(Rects({inTab}), QString("0.2,0.2,0.2,0.2"));
        QCOMPARE(mView->ItemOf(inTab)->parentItem(), tabs->LinkedContainerQuickItems(2).value(0));
        mOther->pastePressed();
        QCOMPARE(mOther->GetWidgets()->Items(), Selected(*mOther));
        QCOMPARE(Rects(Selected(*mOther)), QString("0.6,0.6,0.1,0.1"));
        Selection().setSelection(tabs);
        mLayout->deletePressed();
        mLayout->clearUndoRedo();
        mLayout->pastePressed();
        QCOMPARE(Rects(Selected(*mLayout)), QString("0.6,0.6,0.1,0.1"));
    }

    void containersTravelWithTheirChildrenUnderFreshIds()
    {
        auto* tabs = Add<cTabContainer>("tab_container", {0.1, 0.1, 0.5, 0.5});
        cWidget* child = Add("rect", {0.2, 0.2, 0.2, 0.2}, tabs, 1);
        Add("text", {0.7, 0.7, 0.2, 0.2});
        Selection().setSelection(tabs);
        Selection().addToSelection(child);
        mLayout->copyPressed();
        QCOMPARE(mConfig->WidgetCopyBuffer().Records().size(), 1);
        mLayout->pastePressed();
        mOther->pastePressed();
        auto* copy = qobject_cast<cTabContainer*>(Selected(*mOther).value(0));
        QVERIFY(copy && copy->GetTabs()->At(1)->GetWidgets().size() == 1);
        QCOMPARE(mOtherView->ItemOf(copy->GetTabs()->At(1)->GetWidgets().first())->parentItem(),
                 copy->LinkedContainerQuickItems(1).value(0));
        const QList<cWidget*> all = mLayout->findChildren<cWidget*>() + mOther->findChildren<cWidget*>();
        QSet<int> ids;
        for (const cWidget* widget : all)
            ids << widget->GetId();
        QCOMPARE(QList<int>({all.size(), ids.size()}), QList<int>({7, 7}));
    }

    void pasteAndCutAreStepsOfTheirOwn()
    {
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.1, 0.1}));
        mLayout->copyPressed();
        mLayout->pastePressed();
        mLayout->pastePressed();
        cWidget* second = Selected(*mLayout).first();
        Selection().incrementGroupEditOverlayX(0.1f);
        QCOMPARE(Rects({second}), QString("0.32,0.22,0.1,0.1"));
        mLayout->undoPressed();
        QCOMPARE(Rects(mLayout->GetWidgets()->Items()), QString("0.2,0.2,0.1,0.1 0.21,0.21,0.1,0.1 0.22,0.22,0.1,0.1"));
        mLayout->undoPressed();
        QVERIFY(mLayout->GetWidgets()->count() == 2 && Selection().selectionCount() == 0);
        mLayout->redoPressed();
        QVERIFY(mLayout->GetWidgets()->count() == 3 && mView->ItemOf(second));
        Selection().selectAll();
        mLayout->cutPressed();
        QVERIFY(mLayout->GetWidgets()->isEmpty() && mConfig->WidgetCopyBuffer().Records().size() == 3);
        mLayout->undoPressed();
        QCOMPARE(mLayout->GetWidgets()->count(), 3);
    }

    void newIdsPassIdsKeptInUnknownWidgets()
    {
        Read("<Layout><Widget id=\"1\" type=\"future\" width=\"0.1\" height=\"0.1\"><Widget id=\"30\" type=\"rect\"/>"
             "</Widget></Layout>");
        QCOMPARE(mConfig->GetNextId(), 31);
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.1, 0.1}));
        mLayout->copyPressed();
        mLayout->pastePressed();
        QCOMPARE(Selected(*mLayout).first()->GetId(), 33);
    }
};

QTEST_MAIN(tst_Layout)
#include "tst_Layout.moc"

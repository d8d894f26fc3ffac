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
#include <QXmlStreamWriter>
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

QString WriteLayout(const cLayout& layout)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    layout.WriteXml(writer);
    return xml;
}

// Records the calls of the widget actions and is the QObject parent of its widgets, as a page is.
class cFakePage : public QObject, public cWidgetTreeUndoTarget
{
public:
    void UndoNewWidget(cWidget* w) override { Record("UndoNew", w); }
    void RedoNewWidget(cWidget* w, cContainer*, int location) override { Record("RedoNew", w, location); }
    void UndoDeleteWidget(cWidget* w, cContainer*, int location) override { Record("UndoDelete", w, location); }
    void RedoDeleteWidget(cWidget* w) override { Record("RedoDelete", w); }
    void UndoOrRedoMoveContainer(cWidget* w, cContainer*, int location) override
    {
        Record("Move", w, location);
        // A real page records the move it makes; while undoing that is ignored.
        mManager.AddMoveContainerAction(w, nullptr, 0, nullptr, location);
    }
    void Record(const char* call, cWidget* w, int location = -1)
    {
        mCalls << QString("%1 %2 %3").arg(call).arg(w->GetId()).arg(location);
    }
    QPointer<cWidget> New(int id) { return new cWidget(id, "rect", this); }

    QStringList mCalls;
    cLayoutUndoManager& mManager = *new cLayoutUndoManager(this);
};
}

// The layout page's widget tree: reading and writing it, creating, deleting and moving widgets with their
// undo steps, drop areas, tab order, the views' items, and the widget factory behind it.
class tst_LayoutStructure : public QObject
{
    Q_OBJECT

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout;

    template <class T = cWidget> T* Add(const char* type, cWidget* container = nullptr, int location = -1)
    {
        return qobject_cast<T*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
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
        // A repeated attribute is an XML error only once the reader moves on.
        mLayout.reset(cLayout::CreateFromXml(reader, *mConfig));
        QVERIFY(mLayout->allUsers());
        QTEST(mLayout->aspectRatio1(), "aspectRatio1");
        QCOMPARE(mLayout->phone(), !attributes.contains("phone"));
    }

    // Widgets of unknown types and their content are kept in the document's own round trip.
    void detailsWidgetsAndNestingSurviveARoundTrip()
    {
        Read("<Layout/>");
        QCOMPARE(mLayout->LayoutDetails(), sLayoutDetails());
        QCOMPARE(WriteLayout(*mLayout),
                 QString("<Layout name=\"\" allUsers=\"1\" users=\"\" desktop=\"1\" phone=\"1\" tablet=\"1\" "
                         "orientation=\"0\" allScenes=\"1\" scenes=\"\" fixedAspectRatio=\"0\" aspectRatio1=\"4\" "
                         "aspectRatio2=\"3\"/>"));
        const QString details =
            "<Layout name=\"Main &amp; more\" allUsers=\"0\" users=\"ann,bob\" desktop=\"0\" phone=\"1\" tablet=\"0\" "
            "orientation=\"2\" allScenes=\"0\" scenes=\"Live\" fixedAspectRatio=\"1\" aspectRatio1=\"16\" "
            "aspectRatio2=\"9\">";
        Read(details + "<Widget id=\"9\" type=\"rect\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"1\"/>"
                       "<Widget id=\"2\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"3\">"
                       "<Tab tabName=\"A\"/><Tab tabName=\"B\"/>"
                       "<Tab tabName=\"C\"><Widget id=\"5\" type=\"tab_container\" width=\"0.5\" height=\"0.5\">"
                       "<Tab tabName=\"inner\"><Widget id=\"57\" type=\"text\" width=\"0.1\" height=\"0.1\"/>"
                       "</Tab></Widget></Tab></Widget></Layout>");
        QCOMPARE(mLayout->name(), QString("Main & more"));
        QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({9, 2}));
        auto* outer = qobject_cast<cTabContainer*>(mLayout->GetWidgets()->At(1));
        auto* inner = qobject_cast<cTabContainer*>(outer->GetTabs()->At(2)->GetWidgets().value(0));
        QVERIFY(inner);
        QCOMPARE(mLayout->GetNestingLevel(inner->GetWidgetChildren()->At(0)), 2);
        QCOMPARE(mConfig->mNextId, 58);
        QVERIFY(!mLayout->hasUndo());
        const QString written = WriteLayout(*mLayout);
        QVERIFY2(written.startsWith(details), qPrintable(written));
        Read(written);
        QCOMPARE(WriteLayout(*mLayout), written);
    }

    void widgetsThatFailToLoadAreSkippedWhole()
    {
        cTraceCapture trace;
        Read("<Layout><Widget type=\"rect\" width=\"0.1\" height=\"0.1\"><Extra/></Widget>"
             "<Widget id=\"1\" type=\"rect\" x=\"-0.5\" width=\"0.1\" height=\"0.1\"/>"
             "<Notes><Widget id=\"50\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Notes>"
             "<Widget id=\"2\" type=\"tab_container\" width=\"-0.4\" height=\"0.5\">"
             "<Tab><Widget id=\"60\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
             "<Widget id=\"3\" type=\"text\" width=\"0.1\" height=\"0.1\"/></Layout>");
        QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({1, 3}));
        QCOMPARE(trace.LinesContaining("Error loading widget coords").size(), 1);
        QCOMPARE(trace.LinesContaining("Error loading widget id").size(), 1);
        // Only widgets on the page count, not those of skipped elements, which are gone with their children.
        QCOMPARE(mConfig->mNextId, 4);
        QCOMPARE(mLayout->findChildren<cWidget*>().size(), 2);
    }

    void loadedTabChildrenJoinThePageAndItsHistory()
    {
        Read("<Layout><Widget id=\"3\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"2\">"
             "<Tab tabName=\"a\"/><Tab tabName=\"b\"><Widget id=\"40\" type=\"rect\" x=\"0.2\" width=\"0.1\" "
             "height=\"0.1\"/></Tab></Widget></Layout>");
        auto* tabs = qobject_cast<cEditorTabContainer*>(mLayout->GetWidgets()->At(0));
        QVERIFY(tabs);
        cWidget* child = tabs->GetTabs()->At(1)->GetWidgets().value(0);
        QVERIFY(child);
        QCOMPARE(child->parent(), mLayout.get());
        child->setXFraction(0.3f);
        mLayout->closeUndoBlock();
        mLayout->undoPressed();
        QCOMPARE(child->xFraction(), 0.2f);
    }

    void detailsFromQmlAreRecordedAndUndoneThroughTheConfig()
    {
        QSignalSpy nameSpy(mLayout.get(), &cLayout::nameChanged);
        QSignalSpy usersSpy(mLayout.get(), &cLayout::usersChanged);
        mLayout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "");
        QCOMPARE(nameSpy.count() + usersSpy.count(), 0);
        // A pasted layout's name is set without an undo step.
        mLayout->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, true, "Pasted");
        QCOMPARE(nameSpy.count(), 1);
        QCOMPARE(mConfig->mNameChanges, 1);
        QVERIFY(mConfig->mDetailsChanges.isEmpty());

        mLayout->setLayoutDetails(false, "ann", true, false, true, 0, true, "", false, 4, 3, false, "Pasted");
        QCOMPARE(usersSpy.count(), 1);
        QCOMPARE(nameSpy.count(), 1);
        QCOMPARE(mConfig->mDetailsChanges.size(), 1);
        QCOMPARE(mConfig->mDetailsChanges.at(0).layout, mLayout.get());
        QCOMPARE(mConfig->mDetailsChanges.at(0).oldDetails.users, QString());
        QCOMPARE(mConfig->mDetailsChanges.at(0).newDetails, mLayout->LayoutDetails());
        // Undo restores the details and tells the config, reversed.
        const sLayoutDetails changed = mLayout->LayoutDetails();
        mConfig->mUndoManager.Undo();
        QCOMPARE(mLayout->users(), QString());
        QCOMPARE(mLayout->name(), QString("Pasted"));
        QCOMPARE(mConfig->mDetailsChanges.last().oldDetails, changed);
        QCOMPARE(mConfig->mDetailsChanges.last().newDetails, mLayout->LayoutDetails());
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
        QCOMPARE(Ids(mLayout->GetWidgets()->Items()), QList<int>({0, 1, 2}));
        QCOMPARE(Zs(created), QList<float>({0, 0.5f, 1}));
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

    void deletingAContainerUndoesContainerFirstThenItsChildren()
    {
        auto* tabs = Add<cTabContainer>("tab_container");
        cWidget* a = Add("rect", tabs, 0);
        cWidget* b = Add("text", tabs, 0);
        QPointer<cWidget> c = Add("rect", tabs, 2);
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
        mLayout->clearUndoRedo();
        QVERIFY(c.isNull());
    }

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
        QCOMPARE(QVector<float>({widget->xFraction(), widget->yFraction(), widget->widthFraction()}),
                 QVector<float>({0.5f, 0.5f, 0.25f}));
        QCOMPARE(mLayout->FindWidgetFractionsRelativeToBase(widget), QRectF(0.3, 0.4, 0.1, 0.1));
        mLayout->undoPressed();
        QCOMPARE(item->parentItem(), &canvas);
        QCOMPARE(mLayout->FindContainer(widget), nullptr);
        QCOMPARE(widget->xFraction(), 0.3f);
        QCOMPARE(widget->widthFraction(), 0.1f);
    }

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

    void dropAreaChoiceRespectsStackingAndNesting()
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
        const auto lit = [&] { return QPair<bool, bool>(deepest->property("highlight").toBool(),
                                                        canvasArea->property("highlight").toBool()); };
        dragged->setPosition(QPointF(700, 700));
        mLayout->updateDropAreaHighlights(dragged, true);
        QCOMPARE(lit(), qMakePair(false, true));
        mLayout->updateDropAreaHighlights(dragged, false);
        QCOMPARE(lit(), qMakePair(true, false));
        mLayout->updateDropAreaHighlights(nullptr, false);
        QVERIFY(!lit().first);
    }

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
        // The last top-level widget is a container: go into it.
        QCOMPARE(mLayout->PreviousWidgetInTabOrder(nullptr), first);
    }

    // The thumbnail's view was rebuilt after the test window's came: every item
    // still moves within its own view, and each view is found by its kind.
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

        cWidget* tabs = Add("tab_container");
        cWidget* rect = Add("rect", tabs, 0);
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

    void reducingTabsDeletesTheirWidgetsUndoably()
    {
        auto* tabs = Add<cEditorTabContainer>("tab_container");
        QVERIFY(tabs);
        cWidget* onFirst = Add("rect", tabs, 0);
        cWidget* onThird = Add("rect", tabs, 2);
        cWidget* onFourth = Add("rect", tabs, 3);
        mLayout->closeUndoBlock();
        // The children left after each removal: the fourth tab's widget goes first.
        QList<QList<int>> remaining;
        connect(tabs->GetWidgetChildren(), &QQmlObjectListModelBase::countChanged, this,
                [&] { remaining << Ids(tabs->GetWidgetChildren()->Items()); });
        tabs->GetNumberOfTabsProperty()->SetIntValue(2);
        mLayout->closeUndoBlock();
        QCOMPARE(remaining, QList<QList<int>>({{onFirst->GetId(), onThird->GetId()}, {onFirst->GetId()}}));
        QCOMPARE(tabs->GetTabs()->count(), 2);
        // One step brings back the tabs, then each widget in its own tab.
        mLayout->undoPressed();
        QCOMPARE(tabs->GetTabs()->count(), 4);
        QCOMPARE(tabs->GetTabs()->At(2)->GetWidgets(), QList<cWidget*>{onThird});
        QCOMPARE(tabs->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>{onFourth});
        mLayout->redoPressed();
        QCOMPARE(tabs->getContainerLocation(onFourth), -1);
        // Raising, or changing between counts past the maximum, deletes nothing.
        mLayout->undoPressed();
        tabs->GetNumberOfTabsProperty()->SetIntValue(12);
        tabs->GetNumberOfTabsProperty()->SetIntValue(11);
        QCOMPARE(tabs->GetWidgetChildren()->count(), 3);
        // Off any page the widgets of a removed tab still leave the container.
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
        QVERIFY(widget);
        QTEST(QString(widget->metaObject()->className()), "className");
        QCOMPARE(widget->GetType(), type);
        QCOMPARE(widget->parent(), &parent);
        QVERIFY(!widget->IsOnline());
        QCOMPARE(cEditorWidgetFactory::IsWidgetTypeAContainer(type), type == QLatin1String("tab_container"));
    }

    void requestPatternsAreHeldOnceInByteOrder()
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

    void undoActionsReachThePageInOrderAndMovesWhileUndoingAreNotRecorded()
    {
        cFakePage page;
        cLayoutUndoManager& manager = page.mManager;
        const auto undoAndRedo = [&manager] {
            manager.CloseUndoBlock();
            manager.Undo();
            manager.Redo();
        };
        manager.AddMoveContainerAction(page.New(3), nullptr, 1, nullptr, 4);
        manager.CloseUndoBlock();
        manager.Undo();
        QVERIFY(!manager.HasUndo() && manager.HasRedo());
        manager.Redo();
        cWidget* container = page.New(1);
        manager.AddNewWidgetAction(container, nullptr, 3);
        undoAndRedo();
        manager.AddDeleteWidgetAction(page.New(2), nullptr, 0);
        manager.AddDeleteWidgetAction(container, nullptr, -1);
        undoAndRedo();
        QCOMPARE(page.mCalls, QStringList({"Move 3 1", "Move 3 4", "UndoNew 1 -1", "RedoNew 1 3", "UndoDelete 1 -1",
                                           "UndoDelete 2 0", "RedoDelete 2 -1", "RedoDelete 1 -1"}));
    }

    // Also a widget created and deleted, twice, in one block: destroyed once.
    void historyDestroysDeletedWidgetsOnceAndCreatedOnesOnlyWhenUndone()
    {
        auto page = std::make_unique<cFakePage>();
        cLayoutUndoManager& manager = page->mManager;
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

        // Destroying the page destroys what the history kept, once.
        QPointer<cWidget> kept = page->New(7), undone = page->New(8);
        manager.AddDeleteWidgetAction(kept, nullptr, -1);
        manager.CloseUndoBlock();
        manager.AddNewWidgetAction(undone, nullptr, -1);
        manager.Undo();
        page.reset();
        QVERIFY(!kept && !undone);
    }

    void aManagerMadeAfterItsWidgetsGoesAfterThem()
    {
        auto* page = new cFakePage;
        QPointer<cWidget> kept = page->New(1);
        QPointer<cLayoutUndoManager> manager = new cLayoutUndoManager(page);
        manager->AddDeleteWidgetAction(kept, nullptr, -1);
        manager->CloseUndoBlock();
        delete page;
        QVERIFY(!kept && !manager);
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
        QVERIFY(page.mCalls.isEmpty());
        QCOMPARE(trace.LinesContaining("Widget 7 is not held by a page").size(), 1);
    }
};

QTEST_MAIN(tst_LayoutStructure)
#include "tst_LayoutStructure.moc"

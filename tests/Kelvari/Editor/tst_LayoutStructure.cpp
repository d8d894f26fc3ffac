#include "cLayoutTestFixture.h"

// A layout page: reading its widget tree, creating, deleting and moving widgets with their undo steps, drop
// areas, tab order, the views' items, the history that owns removed widgets, the widget factory.
class tst_LayoutStructure : public QObject, protected cLayoutTestFixture
{
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

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
};

QTEST_MAIN(tst_LayoutStructure)
#include "tst_LayoutStructure.moc"

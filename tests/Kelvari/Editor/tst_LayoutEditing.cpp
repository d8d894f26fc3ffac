#include "cLayoutTestFixture.h"

// On two pages shown by headless canvases: selecting, transforming, arranging and copying widgets.
// How many Widget elements the text holds, and how many distinct ids they carry.
template <class T> QPair<int, int> DistinctWidgetIds(const T& xml)
{
    QStringList ids;
    for (QXmlStreamReader reader(xml); !reader.atEnd();)
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Widget"))
            ids << reader.attributes().value("id").toString();
    return {ids.size(), QSet<QString>(ids.begin(), ids.end()).size()};
}

class tst_LayoutEditing : public QObject, protected cLayoutTestFixture
{
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

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

    void groupsFollowTheirMembersWhateverChangesThem_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("shown"); // empty: the members differ
        QTest::newRow("align top makes Y agree") << "alignTopPressed" << "0.1,0.3,0.1,0.1 0.3,0.2,0.1,0.2 0.5,0.1,0.1,0.3"
                                                 << "Y" << "10";
        QTest::newRow("align bottom makes Y differ") << "alignBottomPressed" << "0.1,0.1,0.1,0.1 0.3,0.1,0.1,0.2"
                                                     << "Y" << "";
    }
    void groupsFollowTheirMembersWhateverChangesThem()
    {
        QFETCH(QString, operation);
        QFETCH(QString, before);
        QFETCH(QString, group);
        QFETCH(QString, shown);
        AddSelected(before);
        const cGroupProperty* watched = FindGroup(group);
        QSignalSpy changes(watched, &cProperty::valueChanged);
        QCOMPARE(watched->hasMultipleValues(), !shown.isEmpty());
        QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
        QTRY_COMPARE(watched->hasMultipleValues(), shown.isEmpty());
        QCOMPARE(watched->stringValue(), shown);
        QCOMPARE(changes.count(), 1);
    }

    // Fewer tabs through the panel delete a selected container on a removed tab, while the group writes.
    void widgetsLeavingThePageLeaveTheSelection()
    {
        auto* tabs = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.4, 0.4});
        cWidget* inner = Add("tab_container", {0.1, 0.1, 0.5, 0.5}, tabs, 1);
        Selection().selectAll();
        QCOMPARE(FindGroup("X")->LinkedProperties().size(), 2);
        Selection().SetGroupProperty("Number of tabs", 1);
        QVERIFY(!inner->IsSelected() && tabs->GetWidgetChildren()->isEmpty());
        // Off the page before the write reached it, it keeps what undo will put back.
        QCOMPARE(qobject_cast<cTabContainer*>(inner)->tabs()->count(), 4);
        QCOMPARE(Selection().selectionCount(), 1);
        QTRY_COMPARE(FindGroup("X")->LinkedProperties().size(), 1);
        mLayout->undoPressed();
        QCOMPARE(tabs->GetWidgetChildren()->Items(), QList<cWidget*>{inner});
        QCOMPARE(QList<int>({Selection().selectionCount(), FindGroup("X")->LinkedProperties().size()}),
                 QList<int>({1, 1}));
    }

    // An editor going with its row writes what it still holds through its old group while the panel is rebuilt:
    // after an undo that took a widget off the page, only into widgets still on it, so the redo stays.
    void aGroupGoingWithItsRowWritesOnlyIntoWidgetsOnThePage()
    {
        auto* kept = Add<cTabContainer>("tab_container", {0.1, 0.1, 0.3, 0.3});
        Selection().setSelection(kept);
        Selection().SetGroupProperty("Number of tabs", 2);
        mLayout->closeUndoBlock();
        auto* undone = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.3, 0.3});
        Selection().addToSelection(undone);
        QPointer<cGroupProperty> group = FindGroup("Number of tabs");
        const QObject rowsGoing;
        connect(Selection().GetCurrentSelectionProperties(), &QAbstractItemModel::rowsAboutToBeRemoved, &rowsGoing,
                [&group] {
                    if (group)
                        group->setValue(2);
                });
        mLayout->undoPressed();
        QVERIFY(mLayout->hasRedo());
        mLayout->redoPressed();
        QCOMPARE(QList<int>({mLayout->GetWidgets()->count(), kept->tabs()->count(), undone->tabs()->count()}),
                 QList<int>({2, 2, 4}));
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

    // Kept elements are renumbered too, whatever the order of their attributes.
    void newIdsPassIdsKeptInUnknownWidgets()
    {
        Read("<Layout><Widget id=\"1\" type=\"future\" width=\"0.1\" height=\"0.1\"><Widget id=\"30\" type=\"rect\"/>"
             "</Widget><Widget id=\"2\" type=\"rect\" width=\"0.1\" height=\"0.1\"><Widget type=\"mystery\" id=\"77\"/></Widget></Layout>");
        QCOMPARE(mConfig->GetNextId(), 78);
        mPage->selectionManager()->selectAll();
        mPage->copyPressed();
        mPage->pastePressed();
        QString xml;
        QXmlStreamWriter writer(&xml);
        mPage->WriteXml(writer);
        QCOMPARE(DistinctWidgetIds(xml), QPair(8, 8));
    }

    // Layout paste renumbers kept widgets too; past the largest id a file can hold, the free ones below it.
    void pastedLayoutsAndWidgetsReadBackWithIdsOfTheirOwn()
    {
        cConfig config(nullptr);
        QVERIFY(config.ReadXml("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"A\">"
                               "<Widget id=\"2147483646\" type=\"rect\" width=\"0.1\" height=\"0.1\">"
                               "<Widget type=\"mystery\" id=\"77\"/></Widget><Widget id=\"0\" type=\"rect\" "
                               "width=\"0.1\" height=\"0.1\"/></Layout></Layouts></KelvariConfig>"));
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        config.pastePressed();
        config.acceptPendingPaste();
        cLayout* page = config.Layouts().At(0);
        page->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
        page->selectionManager()->selectAll();
        page->copyPressed();
        page->pastePressed();
        QByteArray written;
        QVERIFY(config.WriteXml(written));
        QCOMPARE(DistinctWidgetIds(written), QPair(11, 11));
        cConfig again(nullptr);
        QVERIFY(again.ReadXml(written));
        QCOMPARE(again.ReadReport().Text(), QString());
        QCOMPARE(again.Layouts().At(0)->GetWidgets()->count() + again.Layouts().At(1)->GetWidgets()->count(), 8);
    }

    // Past the largest id a file can hold, new widgets pass the ids of Widget elements kept inside a widget,
    // also inside one deleted and waiting for undo on another page.
    void newWidgetsPastTheLargestIdPassIdsKeptInsideWidgets()
    {
        cConfig config(nullptr);
        QVERIFY(config.ReadXml("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"A\">"
                               "<Widget id=\"2147483646\" type=\"rect\" width=\"0.1\" height=\"0.1\"/>"
                               "<Widget id=\"0\" type=\"future\" width=\"0.1\" height=\"0.1\"><Widget id=\"1\" type=\"rect\"/>"
                               "</Widget></Layout><Layout name=\"B\"><Widget id=\"3\" type=\"future\" width=\"0.1\" "
                               "height=\"0.1\"><Widget id=\"2\" type=\"rect\"/></Widget></Layout></Layouts></KelvariConfig>"));
        cLayout* a = config.Layouts().At(0);
        cLayout* b = config.Layouts().At(1);
        b->selectionManager()->selectAll();
        b->deletePressed();
        a->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
        a->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
        b->undoPressed();
        QByteArray written;
        QVERIFY(config.WriteXml(written));
        QCOMPARE(DistinctWidgetIds(written), QPair(7, 7));
    }
};

QTEST_MAIN(tst_LayoutEditing)
#include "tst_LayoutEditing.moc"

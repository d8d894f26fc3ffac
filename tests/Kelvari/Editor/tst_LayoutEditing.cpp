#include "cFakeLayoutConfig.h"
#include "support/cHeadlessLayoutView.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

namespace
{
QRectF Geometry(const cWidget* w) { return {w->xFraction(), w->yFraction(), w->widthFraction(), w->heightFraction()}; }

// Fuzzy enough for float fractions, exact enough to catch a wrong step.
bool Near(const QRectF& a, const QRectF& b)
{
    return qAbs(a.x() - b.x()) < 1e-5 && qAbs(a.y() - b.y()) < 1e-5 && qAbs(a.width() - b.width()) < 1e-5 &&
           qAbs(a.height() - b.height()) < 1e-5;
}

bool At(const cWidget* widget, qreal x, qreal y)
{
    return Near({widget->xFraction(), widget->yFraction(), 0, 0}, {x, y, 0, 0});
}
}

// Selecting, transforming, arranging and copying widgets on pages shown by a headless canvas.
class tst_LayoutEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout, mOther;
    std::unique_ptr<cHeadlessLayoutView> mView, mOtherView;

    cLayoutSelectionManager& Selection() { return *mLayout->selectionManager(); }
    static QList<cWidget*> Selected(cLayout& layout) { return layout.selectionManager()->GetSelectedWidgets(); }
    cWidget* Add(const char* type, const QRectF& rect, cWidget* container = nullptr, int location = -1)
    {
        return mView->Add(type, rect, container, location);
    }
    template <class T> T* Add(const char* type, const QRectF& rect) { return qobject_cast<T*>(Add(type, rect)); }
    QList<cWidget*> AddSelected(const QList<QRectF>& rects, cWidget* container = nullptr, int location = -1)
    {
        QList<cWidget*> widgets;
        for (const QRectF& rect : rects)
        {
            widgets << Add("rect", rect, container, location);
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

private slots:
    void init()
    {
        mConfig = std::make_unique<cFakeLayoutConfig>();
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
    }

    void groupsHoldWhatEverySelectedWidgetShares()
    {
        QVERIFY(Selection().GetCurrentSelectionProperties()->isEmpty());
        QCOMPARE(Selection().currentSelectionType(), QString());
        QCOMPARE(Selection().selectionRect(), QRectF());
        cWidget* text = Add("text", {0.1, 0.1, 0.2, 0.1});
        cWidget* otherText = Add("text", {0.4, 0.1, 0.2, 0.1});
        cWidget* rect = Add("rect", {0.1, 0.5, 0.2, 0.1});
        Selection().setSelection(text);
        Selection().addToSelection(otherText);
        QCOMPARE(Selection().currentSelectionType(), QString("text"));
        QVERIFY(GroupNames().contains("Align"));

        QSignalSpy counts(&Selection(), &cLayoutSelectionManager::selectionCountChanged);
        Selection().addToSelection(rect);
        Selection().addToSelection(rect);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(Selection().selectionCount(), 3);
        QCOMPARE(Selection().currentSelectionType(), cWidget::mMultipleTypeName);
        QCOMPARE(GroupNames().mid(0, 5), QStringList({"X", "Y", "Width", "Height", "Z"}));
        QVERIFY(!GroupNames().contains("Align"));
    }

    void rectangleCountAndOrderFollowTheTree()
    {
        cWidget* left = Add("rect", {0.1, 0.2, 0.2, 0.1});
        auto* tabs = Add<cContainer>("tab_container", {0.5, 0.5, 0.1, 0.2});
        QList<cWidget*> children;
        for (int location : {0, 0, 1})
            children << Add("rect", {0, 0, 0.5, 0.5}, tabs, location);
        Selection().setSelection(left);
        Selection().addToSelection(tabs);
        QVERIFY(Near(Selection().selectionRect(), {0.1, 0.2, 0.5, 0.5}));

        Selection().selectAll();
        QCOMPARE(Selection().selectionCount(), 5);
        QCOMPARE(Selected(*mLayout), QList<cWidget*>({left, tabs, children.at(0), children.at(1), children.at(2)}));
        const QList<sSelectionGroup> groups = Selection().GetSelectedWidgetsInContainerGroups(nullptr);
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups.at(0).container, tabs);
        QCOMPARE(groups.at(1).widgets, QList<cWidget*>({left, tabs}));
        QCOMPARE(Selection().GetLastSelectedWidget(nullptr), tabs);
        // Undoing a creation takes the widget out of the selection and out of the count.
        mLayout->undoPressed();
        QCOMPARE(Selection().selectionCount(), 4);
        QVERIFY(!Selected(*mLayout).contains(children.at(2)));
    }

    void elasticBandTakesWhollyContainedShownWidgets()
    {
        cWidget* half = Add("rect", {0.1, 0.1, 0.2, 0.2});
        auto* tabs = Add<cContainer>("tab_container", {0.5, 0.5, 0.4, 0.4});
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

    void edgeDragsScaleAboutTheFixedEdge_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QRectF>("first");
        QTest::addColumn<QRectF>("second");
        QTest::addColumn<QRectF>("selection");
        QTest::newRow("left edge") << false << QRectF(0.1, 0.4, 0.25, 0.2) << QRectF(0.35, 0.5, 0.25, 0.1)
                                   << QRectF(0.1, 0.4, 0.5, 0.2);
        QTest::newRow("left edge, shift") << true << QRectF(0.1, 0.35, 0.25, 0.25)
                                          << QRectF(0.35, 0.475, 0.25, 0.125) << QRectF(0.1, 0.35, 0.5, 0.25);
    }
    void edgeDragsScaleAboutTheFixedEdge()
    {
        QFETCH(bool, shift);
        const QList<cWidget*> widgets = AddSelected({{0.2, 0.4, 0.2, 0.2}, {0.4, 0.5, 0.2, 0.1}});
        Selection().selectionTransformStartOrEnd(true);
        Selection().setGroupEditOverlayLeft(0.1f, shift);
        Selection().selectionTransformStartOrEnd(false);
        QFETCH(QRectF, first);
        QFETCH(QRectF, second);
        QFETCH(QRectF, selection);
        QVERIFY(Near(Geometry(widgets.at(0)), first) && Near(Geometry(widgets.at(1)), second));
        QVERIFY(Near(Selection().selectionRect(), selection));
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
    void gesturesAreSingleUndoStepsThatRestoreGeometry()
    {
        QFETCH(QString, gesture);
        QFETCH(float, value);
        QFETCH(int, flag);
        auto* tabs = Add("tab_container", {0.5, 0.5, 0.4, 0.4});
        const QList<cWidget*> all{tabs, Add("rect", {0.1, 0.1, 0.5, 0.5}, tabs, 0), Add("rect", {0.1, 0.2, 0.2, 0.1})};
        const auto geometries = [&all] {
            QList<QRectF> result;
            for (const cWidget* widget : all)
                result << Geometry(widget);
            return result;
        };
        Selection().selectAll();
        const QList<QRectF> before = geometries();
        const QRectF rectBefore = Selection().selectionRect();
        Selection().selectionTransformStartOrEnd(true);
        QVERIFY(flag < 0 ? QMetaObject::invokeMethod(&Selection(), qPrintable(gesture), Q_ARG(float, value))
                         : QMetaObject::invokeMethod(&Selection(), qPrintable(gesture), Q_ARG(float, value),
                                                     Q_ARG(bool, flag == 1)));
        if (gesture == "setGroupEditOverlayX")
            Selection().setGroupEditOverlayY(0.15f, true);
        Selection().selectionTransformStartOrEnd(false);
        const QList<QRectF> after = geometries();
        QVERIFY(after != before);
        // The child moves with its container, its fractions of the container untouched.
        QCOMPARE(after.at(1).topLeft(), before.at(1).topLeft());

        mLayout->undoPressed();
        QCOMPARE(geometries(), before);
        QCOMPARE(Selected(*mLayout), all);
        QVERIFY(Near(Selection().selectionRect(), rectBefore));
        mLayout->redoPressed();
        QCOMPARE(geometries(), after);
        QCOMPARE(Selection().selectionCount(), 3);
    }

    void zeroSizedSelectionIsNeverScaled()
    {
        cWidget* flat = AddSelected({{0.2, 0.2, 0, 0}}).first();
        Selection().selectionTransformStartOrEnd(true);
        Selection().setGroupEditOverlayLeft(0.1f, true);
        Selection().setGroupEditOverlayWidth(0.3f, true);
        Selection().selectionTransformStartOrEnd(false);
        QVERIFY(Near(Geometry(flat), {0.2, 0.2, 0, 0}));
    }

    void keyboardAndDeleteWorkOnTheSelection()
    {
        cWidget* first = Add("rect", {0.1, 0.1, 0.1, 0.1});
        auto* tabs = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.4, 0.4});
        cWidget* onSecondTab = Add("rect", {0.1, 0.1, 0.5, 0.5}, tabs, 1);
        mLayout->tabPressed();
        QCOMPARE(Selected(*mLayout), QList<cWidget*>{first});
        mLayout->backtabPressed();
        QCOMPARE(Selected(*mLayout), QList<cWidget*>{onSecondTab});
        QCOMPARE(tabs->currentTabIndex(), 1);

        Selection().addToSelection(tabs);
        mLayout->deletePressed();
        QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>{first});
        QCOMPARE(Selection().selectionCount(), 0);
        mLayout->undoPressed();
        QCOMPARE(mLayout->GetWidgets()->Items(), QList<cWidget*>({first, tabs}));
        QCOMPARE(tabs->getContainerLocation(onSecondTab), 1);
        QCOMPARE(mView->ItemOf(onSecondTab)->parentItem(), tabs->LinkedContainerQuickItems(1).value(0));
    }

    // The first widget is selected; the second overlaps it, the third lies apart.
    void restackingRenumbersTheStack_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<float>>("before");
        QTest::addColumn<QList<float>>("after");
        QTest::addColumn<bool>("step");
        const QList<float> spread{0.2f, 0.9f, 0.5f}, top{0.9f, 0.2f, 0.5f};
        QTest::newRow("to front") << "sendToFrontPressed" << spread << QList<float>{1, 0.5f, 0} << true;
        QTest::newRow("to back") << "sendToBackPressed" << top << QList<float>{0, 0.5f, 1} << true;
        QTest::newRow("forward onto the first overlapping one")
            << "bringForwardPressed" << QList<float>{0.2f, 0.5f, 0.9f} << QList<float>{0.5f, 0, 1} << true;
        QTest::newRow("forward past one that does not overlap")
            << "bringForwardPressed" << spread << QList<float>{1, 0.5f, 0} << true;
        QTest::newRow("forward with nothing overlapping above")
            << "bringForwardPressed" << QList<float>{0.2f, 0.1f, 0.5f} << QList<float>{0.2f, 0.1f, 0.5f} << false;
        QTest::newRow("backward") << "sendBackwardPressed" << top << QList<float>{0, 0.5f, 1} << true;
        QTest::newRow("equal z keep their order")
            << "sendToFrontPressed" << QList<float>{0, 0, 0} << QList<float>{1, 0, 0.5f} << true;
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
        QTEST(UndoSteps() == steps + 1, "step");
    }

    void restackingWorksPerContainerInOneStep()
    {
        QList<cWidget*> all;
        for (cWidget* container : {Add("tab_container", {0, 0, 0.5, 1}), Add("tab_container", {0.5, 0, 0.5, 1})})
            for (int i = 0; i < 3; ++i)
                all << Add("rect", {0.1 * i, 0.1, 0.3, 0.3}, container, i % 2);
        const QList<float> before = Zs(all);
        QCOMPARE(before, QList<float>({0, 0.5f, 1, 0, 0.5f, 1}));
        Selection().setSelection(all.at(2));
        Selection().addToSelection(all.at(5));
        mLayout->sendToBackPressed();
        QCOMPARE(Zs(all), QList<float>({0.5f, 1, 0, 0.5f, 1, 0}));
        mLayout->undoPressed();
        QCOMPARE(Zs(all), before);
        // Five widgets spread over 0 to 1; one alone gets 0.
        mLayout->NormalizeZ(all.mid(0, 5));
        QCOMPARE(Zs(all.mid(0, 5)), QList<float>({0, 0.25f, 0.5f, 0.75f, 1}));
        mLayout->NormalizeZ(all.mid(5));
        QCOMPARE(all.last()->z(), 0.0f);
    }

    void alignAndDistributeWithinAGroup_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<QRectF>>("before");
        QTest::addColumn<QList<QRectF>>("after");
        const QRectF a(0.1, 0.1, 0.1, 0.2), b(0.4, 0.5, 0.2, 0.1), c(0.4, 0.2, 0.1, 0.1);
        QTest::newRow("top") << "alignTopPressed" << QList<QRectF>{a, b, {0.7, 0.3, 0.1, 0.1}}
                             << QList<QRectF>{a, {0.4, 0.1, 0.2, 0.1}, {0.7, 0.1, 0.1, 0.1}};
        QTest::newRow("bottom") << "alignBottomPressed" << QList<QRectF>{a, b} << QList<QRectF>{{0.1, 0.4, 0.1, 0.2}, b};
        QTest::newRow("vertical centres") << "alignHCentrePressed"
                                          << QList<QRectF>{{0, 0, 0.1, 0.2}, {0.5, 0.6, 0.1, 0.4}}
                                          << QList<QRectF>{{0, 0.4, 0.1, 0.2}, {0.5, 0.3, 0.1, 0.4}};
        QTest::newRow("left") << "alignLeftPressed" << QList<QRectF>{a, b} << QList<QRectF>{a, {0.1, 0.5, 0.2, 0.1}};
        QTest::newRow("right") << "alignRightPressed" << QList<QRectF>{a, b} << QList<QRectF>{{0.5, 0.1, 0.1, 0.2}, b};
        QTest::newRow("horizontal centres") << "alignVCentrePressed" << QList<QRectF>{a, b}
                                            << QList<QRectF>{{0.3, 0.1, 0.1, 0.2}, {0.25, 0.5, 0.2, 0.1}};
        QTest::newRow("distribute vertically")
            << "distributeVPressed" << QList<QRectF>{{0, 0.8, 0.1, 0.1}, {0.2, 0, 0.1, 0.1}, c}
            << QList<QRectF>{{0, 0.8, 0.1, 0.1}, {0.2, 0, 0.1, 0.1}, {0.4, 0.4, 0.1, 0.1}};
        QTest::newRow("distribute horizontally, overlapping")
            << "distributeHPressed" << QList<QRectF>{{0, 0, 0.4, 0.1}, {0.1, 0, 0.4, 0.1}, {0.5, 0, 0.2, 0.1}}
            << QList<QRectF>{{0, 0, 0.4, 0.1}, {0.25, 0, 0.4, 0.1}, {0.5, 0, 0.2, 0.1}};
        QTest::newRow("distribute one") << "distributeVPressed" << QList<QRectF>{a} << QList<QRectF>{a};
    }
    void alignAndDistributeWithinAGroup()
    {
        QFETCH(QString, operation);
        QFETCH(QList<QRectF>, before);
        QFETCH(QList<QRectF>, after);
        const QList<cWidget*> widgets = AddSelected(before);
        QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
        for (int i = 0; i < widgets.size(); ++i)
            QVERIFY2(Near(Geometry(widgets.at(i)), after.at(i)), qPrintable(QString::number(i)));
        mLayout->undoPressed();
        for (int i = 0; i < widgets.size(); ++i)
            QVERIFY(Near(Geometry(widgets.at(i)), before.at(i)));
    }

    void alignIsPerContainerAndFillIsOneStep()
    {
        auto* tabs = Add("tab_container", {0.5, 0.5, 0.5, 0.5});
        const QList<cWidget*> top = AddSelected({{0.1, 0.1, 0.1, 0.1}, {0.2, 0.3, 0.1, 0.1}});
        const QList<cWidget*> inside = AddSelected({{0.3, 0.1, 0.2, 0.2}, {0.6, 0.5, 0.2, 0.2}}, tabs, 0);
        // Counting the steps undoes creations, which deselects.
        const int steps = UndoSteps();
        Selection().SelectMultiple(top + inside);
        mLayout->alignLeftPressed();
        QCOMPARE(top.at(1)->xFraction(), 0.1f);
        QCOMPARE(inside.at(1)->xFraction(), 0.3f);
        QCOMPARE(UndoSteps(), steps + 2);

        Selection().SelectMultiple(top + inside);
        mLayout->fillVerticalPressed();
        for (const cWidget* widget : top + inside)
            QVERIFY(Near(Geometry(widget), {widget->xFraction(), 0, widget->widthFraction(), 1}));
        QVERIFY(Near(Selection().selectionRect(), {0.1, 0, 0.65, 1}));
        QCOMPARE(UndoSteps(), steps + 3);
    }

    void repeatedPastesCascadeAndWrap_data()
    {
        QTest::addColumn<QRectF>("copied");
        QTest::addColumn<bool>("sameLayout");
        QTest::addColumn<QList<QPointF>>("pasted");
        const QRectF middle(0.2, 0.2, 0.1, 0.1);
        QTest::newRow("same layout") << middle << true << QList<QPointF>{{0.21, 0.21}, {0.22, 0.22}};
        QTest::newRow("other layout") << middle << false << QList<QPointF>{{0.2, 0.2}, {0.21, 0.21}};
        QTest::newRow("past the right edge") << QRectF(0.985, 0.2, 0.01, 0.1) << true
                                             << QList<QPointF>{{0, 0.21}, {0.01, 0.22}};
    }
    void repeatedPastesCascadeAndWrap()
    {
        QFETCH(QRectF, copied);
        QFETCH(bool, sameLayout);
        QFETCH(QList<QPointF>, pasted);
        Selection().setSelection(Add("rect", copied));
        QSignalSpy allowed(mOther.get(), &cLayout::isPasteAllowedChanged);
        mLayout->copyPressed();
        QVERIFY(mLayout->isPasteAllowed() && mOther->isPasteAllowed());
        QCOMPARE(allowed.count(), 1);
        cLayout& target = sameLayout ? *mLayout : *mOther;
        for (const QPointF& expected : pasted)
        {
            target.pastePressed();
            QCOMPARE(Selected(target).size(), 1);
            QVERIFY2(At(Selected(target).first(), expected.x(), expected.y()), qPrintable(QString::number(expected.x())));
            for (const cWidget* other : target.GetWidgets()->Items())
                QVERIFY(other->z() <= Selected(target).first()->z());
        }
    }

    void pastesGoIntoTheSourceContainerOnlyWhereItExists()
    {
        auto* tabs = Add<cTabContainer>("tab_container", {0.5, 0.5, 0.5, 0.5});
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.2, 0.2}, tabs, 1));
        mLayout->copyPressed();
        // The tab shown takes it.
        tabs->setCurrentTabIndex(2);
        mLayout->pastePressed();
        cWidget* inTab = Selected(*mLayout).first();
        QCOMPARE(mLayout->FindContainer(inTab), tabs);
        QCOMPARE(tabs->getContainerLocation(inTab), 2);
        QVERIFY(At(inTab, 0.2, 0.2));
        QCOMPARE(mView->ItemOf(inTab)->parentItem(), tabs->LinkedContainerQuickItems(2).value(0));
        // Without the container: on the page, where it was on the page.
        mOther->pastePressed();
        cWidget* onPage = Selected(*mOther).first();
        QCOMPARE(mOther->GetWidgets()->Items(), QList<cWidget*>{onPage});
        QVERIFY(At(onPage, 0.6, 0.6));
        QCOMPARE(onPage->widthFraction(), 0.1f);
        // A container gone since the copy is not taken for the top level's own rectangle.
        Selection().setSelection(tabs);
        mLayout->deletePressed();
        mLayout->clearUndoRedo();
        mLayout->pastePressed();
        QVERIFY(At(Selected(*mLayout).first(), 0.6, 0.6));
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
        QVERIFY(copy);
        QCOMPARE(copy->GetTabs()->At(1)->GetWidgets().size(), 1);
        QCOMPARE(mOtherView->ItemOf(copy->GetTabs()->At(1)->GetWidgets().first())->parentItem(),
                 copy->LinkedContainerQuickItems(1).value(0));
        QList<int> ids = Ids(mLayout->findChildren<cWidget*>() + mOther->findChildren<cWidget*>());
        QCOMPARE(ids.size(), 7);
        QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 7);
    }

    void pasteAndCutAreStepsOfTheirOwn()
    {
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.1, 0.1}));
        mLayout->copyPressed();
        mLayout->pastePressed();
        mLayout->pastePressed();
        cWidget* second = Selected(*mLayout).first();
        Selection().incrementGroupEditOverlayX(0.1f);
        QVERIFY(At(second, 0.32, 0.22));
        mLayout->undoPressed();
        QVERIFY(At(second, 0.22, 0.22));
        QCOMPARE(mLayout->GetWidgets()->count(), 3);
        mLayout->undoPressed();
        QCOMPARE(mLayout->GetWidgets()->count(), 2);
        QCOMPARE(Selection().selectionCount(), 0);
        mLayout->redoPressed();
        QCOMPARE(mLayout->GetWidgets()->count(), 3);
        QVERIFY(mView->ItemOf(second));

        Selection().selectAll();
        mLayout->cutPressed();
        QVERIFY(mLayout->GetWidgets()->isEmpty());
        QCOMPARE(mConfig->WidgetCopyBuffer().Records().size(), 3);
        mLayout->undoPressed();
        QCOMPARE(mLayout->GetWidgets()->count(), 3);
    }

    void newIdsPassIdsKeptInUnknownWidgets()
    {
        QXmlStreamReader reader("<Layout><Widget id=\"1\" type=\"future\" x=\"0\" y=\"0\" width=\"0.1\" "
                                "height=\"0.1\"><Widget id=\"30\" type=\"rect\"/></Widget></Layout>");
        reader.readNextStartElement();
        std::unique_ptr<cLayout> loaded(cLayout::CreateFromXml(reader, *mConfig));
        QCOMPARE(mConfig->GetNextId(), 31);
        Selection().setSelection(Add("rect", {0.2, 0.2, 0.1, 0.1}));
        mLayout->copyPressed();
        mLayout->pastePressed();
        QCOMPARE(Selected(*mLayout).first()->GetId(), 33);
    }
};

QTEST_MAIN(tst_LayoutEditing)
#include "tst_LayoutEditing.moc"

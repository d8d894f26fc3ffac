#include "cFakeLayoutConfig.h"
#include "support/cHeadlessLayoutView.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
QStringList GroupNames(const cLayoutSelectionManager& manager)
{
    QStringList names;
    for (const cGroupProperty* group : manager.GetCurrentSelectionProperties()->Items())
        names << group->name();
    return names;
}

// Fuzzy enough for float fractions, exact enough to catch a wrong step.
bool Near(const QRectF& a, const QRectF& b)
{
    return qAbs(a.x() - b.x()) < 1e-5 && qAbs(a.y() - b.y()) < 1e-5 && qAbs(a.width() - b.width()) < 1e-5 &&
           qAbs(a.height() - b.height()) < 1e-5;
}

QRectF Geometry(const cWidget* widget)
{
    return QRectF(widget->xFraction(), widget->yFraction(), widget->widthFraction(), widget->heightFraction());
}
}

class tst_cLayoutSelectionManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void groupsHoldWhatEverySelectedWidgetShares();
    void rectangleCountAndOrderFollowTheTree();
    void elasticBandTakesWhollyContainedShownWidgets();
    void edgeDragsScaleAboutTheFixedEdge_data();
    void edgeDragsScaleAboutTheFixedEdge();
    void gesturesAreSingleUndoStepsThatRestoreGeometry_data();
    void gesturesAreSingleUndoStepsThatRestoreGeometry();
    void zeroSizedSelectionIsNeverScaled();
    void keyboardAndDeleteWorkOnTheSelection();

private:
    cLayoutSelectionManager& Selection() { return *mLayout->selectionManager(); }

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout;
    std::unique_ptr<cHeadlessLayoutView> mView;
};

void tst_cLayoutSelectionManager::init()
{
    mConfig = std::make_unique<cFakeLayoutConfig>();
    mLayout = std::make_unique<cLayout>(*mConfig);
    mView = std::make_unique<cHeadlessLayoutView>(*mLayout);
}

void tst_cLayoutSelectionManager::cleanup()
{
    mView.reset();
    mLayout.reset();
}

void tst_cLayoutSelectionManager::groupsHoldWhatEverySelectedWidgetShares()
{
    QVERIFY(Selection().GetCurrentSelectionProperties()->isEmpty());
    QCOMPARE(Selection().currentSelectionType(), QString());
    QCOMPARE(Selection().selectionRect(), QRectF());

    cWidget* text = mView->Add("text", QRectF(0.1, 0.1, 0.2, 0.1));
    cWidget* otherText = mView->Add("text", QRectF(0.4, 0.1, 0.2, 0.1));
    cWidget* rect = mView->Add("rect", QRectF(0.1, 0.5, 0.2, 0.1));
    Selection().setSelection(text);
    Selection().addToSelection(otherText);
    QCOMPARE(Selection().currentSelectionType(), QString("text"));
    QVERIFY(GroupNames(Selection()).contains("Align"));

    QSignalSpy counts(&Selection(), &cLayoutSelectionManager::selectionCountChanged);
    Selection().addToSelection(rect);
    Selection().addToSelection(rect);
    QCOMPARE(counts.count(), 1);
    QCOMPARE(Selection().selectionCount(), 3);
    QCOMPARE(Selection().currentSelectionType(), cWidget::mMultipleTypeName);
    QCOMPARE(GroupNames(Selection()).mid(0, 5), QStringList({"X", "Y", "Width", "Height", "Z"}));
    QVERIFY(!GroupNames(Selection()).contains("Align"));
}

void tst_cLayoutSelectionManager::rectangleCountAndOrderFollowTheTree()
{
    cWidget* left = mView->Add("rect", QRectF(0.1, 0.2, 0.2, 0.1));
    auto* tabs = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0.5, 0.5, 0.1, 0.2)));
    QList<cWidget*> children;
    for (int location : {0, 0, 1})
        children << mView->Add("rect", QRectF(0, 0, 0.5, 0.5), tabs, location);

    Selection().setSelection(left);
    Selection().addToSelection(tabs);
    QVERIFY(Near(Selection().selectionRect(), QRectF(0.1, 0.2, 0.5, 0.5)));

    Selection().selectAll();
    QCOMPARE(Selection().selectionCount(), 5);
    QCOMPARE(Selection().GetSelectedWidgets(), QList<cWidget*>({left, tabs, children.at(0), children.at(1), children.at(2)}));
    const QList<sSelectionGroup> groups = Selection().GetSelectedWidgetsInContainerGroups(nullptr);
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups.at(0).container, tabs);
    QCOMPARE(groups.at(1).widgets, QList<cWidget*>({left, tabs}));
    QCOMPARE(Selection().GetLastSelectedWidget(nullptr), tabs);

    // Undoing a creation takes the widget out of the selection and out of the count.
    mLayout->undoPressed();
    QCOMPARE(Selection().selectionCount(), 4);
    QVERIFY(!Selection().GetSelectedWidgets().contains(children.at(2)));
}

void tst_cLayoutSelectionManager::elasticBandTakesWhollyContainedShownWidgets()
{
    cWidget* half = mView->Add("rect", QRectF(0.1, 0.1, 0.2, 0.2));
    auto* tabs = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0.5, 0.5, 0.4, 0.4)));
    cWidget* shown = mView->Add("rect", QRectF(0.1, 0.1, 0.2, 0.2), tabs, 0);
    cWidget* hidden = mView->Add("rect", QRectF(0.5, 0.5, 0.2, 0.2), tabs, 0);
    mView->ItemOf(hidden)->setVisible(false);

    Selection().setElasticBandSelection(0, 0, 0.2f, 0.4f, false);
    QCOMPARE(Selection().selectionCount(), 0);
    Selection().setElasticBandSelection(0.5f, 0.5f, 0.4f, 0.4f, false);
    QCOMPARE(Selection().GetSelectedWidgets(), QList<cWidget*>({tabs, shown}));
    Selection().setElasticBandSelection(0, 0, 0.3f, 0.3f, true);
    QCOMPARE(Selection().selectionCount(), 3);
    Selection().setElasticBandSelection(0, 0, 0.3f, 0.3f, false);
    QCOMPARE(Selection().GetSelectedWidgets(), QList<cWidget*>{half});
}

void tst_cLayoutSelectionManager::edgeDragsScaleAboutTheFixedEdge_data()
{
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QRectF>("first");
    QTest::addColumn<QRectF>("second");
    QTest::newRow("left edge") << false << QRectF(0.1, 0.4, 0.25, 0.2) << QRectF(0.35, 0.5, 0.25, 0.1);
    QTest::newRow("left edge, shift") << true << QRectF(0.1, 0.35, 0.25, 0.25) << QRectF(0.35, 0.475, 0.25, 0.125);
}

void tst_cLayoutSelectionManager::edgeDragsScaleAboutTheFixedEdge()
{
    QFETCH(bool, shift);
    cWidget* a = mView->Add("rect", QRectF(0.2, 0.4, 0.2, 0.2));
    cWidget* b = mView->Add("rect", QRectF(0.4, 0.5, 0.2, 0.1));
    Selection().setSelection(a);
    Selection().addToSelection(b);
    Selection().selectionTransformStartOrEnd(true);
    Selection().setGroupEditOverlayLeft(0.1f, shift);
    Selection().selectionTransformStartOrEnd(false);
    QFETCH(QRectF, first);
    QFETCH(QRectF, second);
    QVERIFY(Near(Geometry(a), first));
    QVERIFY(Near(Geometry(b), second));
    QVERIFY(Near(Selection().selectionRect(), shift ? QRectF(0.1, 0.35, 0.5, 0.25) : QRectF(0.1, 0.4, 0.5, 0.2)));
}

void tst_cLayoutSelectionManager::gesturesAreSingleUndoStepsThatRestoreGeometry_data()
{
    QTest::addColumn<int>("gesture");
    const char* names[] = {"drag", "nudge", "left edge", "top edge", "width with shift", "height"};
    for (int i = 0; i < 6; ++i)
        QTest::newRow(names[i]) << i;
}

void tst_cLayoutSelectionManager::gesturesAreSingleUndoStepsThatRestoreGeometry()
{
    QFETCH(int, gesture);
    auto* tabs = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0.5, 0.5, 0.4, 0.4)));
    cWidget* child = mView->Add("rect", QRectF(0.1, 0.1, 0.5, 0.5), tabs, 0);
    cWidget* loose = mView->Add("rect", QRectF(0.1, 0.2, 0.2, 0.1));
    const QList<cWidget*> all{tabs, child, loose};
    auto geometries = [&all] {
        QList<QRectF> result;
        for (const cWidget* widget : all)
            result << Geometry(widget);
        return result;
    };
    Selection().selectAll();
    const QList<QRectF> before = geometries();
    const QRectF rectBefore = Selection().selectionRect();

    Selection().selectionTransformStartOrEnd(true);
    switch (gesture)
    {
    case 0:
        Selection().setGroupEditOverlayX(0.05f, true);
        Selection().setGroupEditOverlayY(0.15f, true);
        break;
    case 1:
        Selection().incrementGroupEditOverlayY(0.01f);
        break;
    case 2:
        Selection().setGroupEditOverlayLeft(0.05f, false);
        break;
    case 3:
        Selection().setGroupEditOverlayTop(0.1f);
        break;
    case 4:
        Selection().setGroupEditOverlayWidth(0.6f, true);
        break;
    default:
        Selection().setGroupEditOverlayHeight(0.5f);
    }
    Selection().selectionTransformStartOrEnd(false);
    const QList<QRectF> after = geometries();
    QVERIFY(after != before);
    // The child moves with its container, its fractions of the container untouched.
    QCOMPARE(after.at(1).topLeft(), before.at(1).topLeft());

    mLayout->undoPressed();
    QCOMPARE(geometries(), before);
    QCOMPARE(Selection().GetSelectedWidgets(), all);
    QVERIFY(Near(Selection().selectionRect(), rectBefore));
    mLayout->redoPressed();
    QCOMPARE(geometries(), after);
    QCOMPARE(Selection().selectionCount(), 3);
}

void tst_cLayoutSelectionManager::zeroSizedSelectionIsNeverScaled()
{
    cWidget* flat = mView->Add("rect", QRectF(0.2, 0.2, 0, 0));
    Selection().setSelection(flat);
    Selection().selectionTransformStartOrEnd(true);
    Selection().setGroupEditOverlayLeft(0.1f, true);
    Selection().setGroupEditOverlayWidth(0.3f, true);
    Selection().selectionTransformStartOrEnd(false);
    QVERIFY(Near(Geometry(flat), QRectF(0.2, 0.2, 0, 0)));
}

void tst_cLayoutSelectionManager::keyboardAndDeleteWorkOnTheSelection()
{
    cWidget* first = mView->Add("rect", QRectF(0.1, 0.1, 0.1, 0.1));
    auto* tabs = qobject_cast<cTabContainer*>(mView->Add("tab_container", QRectF(0.5, 0.5, 0.4, 0.4)));
    cWidget* onSecondTab = mView->Add("rect", QRectF(0.1, 0.1, 0.5, 0.5), tabs, 1);

    mLayout->tabPressed();
    QCOMPARE(Selection().GetSelectedWidgets(), QList<cWidget*>{first});
    mLayout->backtabPressed();
    QCOMPARE(Selection().GetSelectedWidgets(), QList<cWidget*>{onSecondTab});
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

QTEST_MAIN(tst_cLayoutSelectionManager)
#include "tst_cLayoutSelectionManager.moc"

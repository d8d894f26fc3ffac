#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Common/cWidgetTreeUndoTarget.h"
#include "Kelvari/Editor/cLayoutUndoManager.h"
#include "support/cTraceCapture.h"

#include <QPointer>
#include <QtTest>

namespace
{
// A page that records the calls of the widget actions and is the QObject
// parent of its widgets, as a layout page is.
class cFakePage : public QObject, public cWidgetTreeUndoTarget
{
public:
    void UndoNewWidget(cWidget* widget) override { Record("UndoNew", widget); }
    void RedoNewWidget(cWidget* widget, cContainer*, int location) override { Record("RedoNew", widget, location); }
    void UndoDeleteWidget(cWidget* widget, cContainer*, int location) override
    {
        Record("UndoDelete", widget, location);
    }
    void RedoDeleteWidget(cWidget* widget) override { Record("RedoDelete", widget); }
    void UndoOrRedoMoveContainer(cWidget* widget, cContainer*, int location) override
    {
        Record("Move", widget, location);
        // A real page records the move it makes; while undoing that is ignored.
        if (mManager)
            mManager->AddMoveContainerAction(widget, nullptr, 0, nullptr, location);
    }

    cWidget* NewWidget(int id) { return new cWidget(id, "rect", this); }

    QStringList mCalls;
    cLayoutUndoManager* mManager = nullptr;

private:
    void Record(const QString& call, cWidget* widget, int location = -1)
    {
        mCalls << QString("%1 %2 %3").arg(call).arg(widget->GetId()).arg(location);
    }
};
}

class tst_cLayoutUndoManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void widgetActionsReachThePageInOrder();
    void movesMadeWhileUndoingAreNotRecorded();

    void recordingAfterUndoDestroysWidgetsWhoseCreationWasUndone();
    void clearingDestroysDeletedWidgetsOnceAndKeepsCreatedOnes();
    void destroyingThePageDestroysKeptWidgetsOnce();
    void widgetOutsideAPageIsTracedAndLeftAlone();

private:
    cFakePage* mPage = nullptr;
    cLayoutUndoManager* mManager = nullptr;
};

void tst_cLayoutUndoManager::init()
{
    mPage = new cFakePage;
    mManager = new cLayoutUndoManager(mPage);
}

void tst_cLayoutUndoManager::cleanup()
{
    delete mPage;
}

void tst_cLayoutUndoManager::widgetActionsReachThePageInOrder()
{
    cWidget* container = mPage->NewWidget(1);
    cWidget* child = mPage->NewWidget(2);
    const auto undoAndRedo = [this] {
        mManager->CloseUndoBlock();
        mManager->Undo();
        mManager->Redo();
    };
    mManager->AddNewWidgetAction(container, nullptr, 3);
    undoAndRedo();
    mManager->AddDeleteWidgetAction(child, nullptr, 0);
    mManager->AddDeleteWidgetAction(container, nullptr, -1);
    undoAndRedo();
    mManager->AddMoveContainerAction(child, nullptr, 1, nullptr, 4);
    undoAndRedo();
    QCOMPARE(mPage->mCalls, QStringList({"UndoNew 1 -1", "RedoNew 1 3", "UndoDelete 1 -1", "UndoDelete 2 0",
                                         "RedoDelete 2 -1", "RedoDelete 1 -1", "Move 2 1", "Move 2 4"}));
}

void tst_cLayoutUndoManager::movesMadeWhileUndoingAreNotRecorded()
{
    mPage->mManager = mManager;
    mManager->AddMoveContainerAction(mPage->NewWidget(1), nullptr, 1, nullptr, 4);
    mManager->CloseUndoBlock();
    mManager->Undo();
    QVERIFY(!mManager->HasUndo());
    QVERIFY(mManager->HasRedo());
}

void tst_cLayoutUndoManager::recordingAfterUndoDestroysWidgetsWhoseCreationWasUndone()
{
    QPointer<cWidget> created = mPage->NewWidget(1);
    QPointer<cWidget> deleted = mPage->NewWidget(2);
    mManager->AddNewWidgetAction(created, nullptr, -1);
    mManager->AddDeleteWidgetAction(deleted, nullptr, -1);
    mManager->CloseUndoBlock();
    mManager->Undo();
    QVERIFY(created);
    mManager->AddPropertyChangeAction(deleted->GetXProperty());
    QVERIFY(!created);
    QVERIFY(deleted);
    QVERIFY(!mManager->HasRedo());
}

// Also a widget created and deleted, twice, in one block: destroyed once.
void tst_cLayoutUndoManager::clearingDestroysDeletedWidgetsOnceAndKeepsCreatedOnes()
{
    QPointer<cWidget> deletedInClosedBlock = mPage->NewWidget(1);
    QPointer<cWidget> createdInClosedBlock = mPage->NewWidget(2);
    QPointer<cWidget> deletedInOpenBlock = mPage->NewWidget(3);
    QPointer<cWidget> createdAndDeleted = mPage->NewWidget(4);
    mManager->AddDeleteWidgetAction(deletedInClosedBlock, nullptr, -1);
    mManager->AddNewWidgetAction(createdInClosedBlock, nullptr, -1);
    mManager->CloseUndoBlock();
    mManager->AddDeleteWidgetAction(deletedInOpenBlock, nullptr, -1);
    mManager->AddNewWidgetAction(createdAndDeleted, nullptr, -1);
    mManager->AddDeleteWidgetAction(createdAndDeleted, nullptr, -1);
    mManager->AddDeleteWidgetAction(createdAndDeleted, nullptr, -1);

    mManager->ClearUndoList();
    QVERIFY(!deletedInClosedBlock);
    QVERIFY(!deletedInOpenBlock);
    QVERIFY(!createdAndDeleted);
    QVERIFY(createdInClosedBlock);
    QVERIFY(!mManager->HasUndo());
}

void tst_cLayoutUndoManager::destroyingThePageDestroysKeptWidgetsOnce()
{
    QPointer<cWidget> kept = mPage->NewWidget(1);
    QPointer<cWidget> undone = mPage->NewWidget(2);
    mManager->AddDeleteWidgetAction(kept, nullptr, -1);
    mManager->CloseUndoBlock();
    mManager->AddNewWidgetAction(undone, nullptr, -1);
    mManager->Undo();
    delete mPage;
    QVERIFY(!kept);
    QVERIFY(!undone);

    // A manager made after the widgets goes after them when the page is destroyed.
    mPage = new cFakePage;
    kept = mPage->NewWidget(1);
    QPointer<cLayoutUndoManager> manager = new cLayoutUndoManager(mPage);
    manager->AddDeleteWidgetAction(kept, nullptr, -1);
    manager->CloseUndoBlock();
    delete mPage;
    mPage = nullptr;
    QVERIFY(!kept);
    QVERIFY(!manager);
}

void tst_cLayoutUndoManager::widgetOutsideAPageIsTracedAndLeftAlone()
{
    QObject notAPage;
    auto* widget = new cWidget(7, "rect", &notAPage);
    cTraceCapture trace;
    mManager->AddDeleteWidgetAction(widget, nullptr, -1);
    mManager->CloseUndoBlock();
    mManager->Undo();
    mManager->Redo();
    QVERIFY(mPage->mCalls.isEmpty());
    QCOMPARE(trace.LinesContaining("Widget 7 is not held by a page").size(), 1);
}

QTEST_MAIN(tst_cLayoutUndoManager)
#include "tst_cLayoutUndoManager.moc"

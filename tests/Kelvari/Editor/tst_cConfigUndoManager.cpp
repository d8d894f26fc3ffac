#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cLayoutListUndoTarget.h"
#include "support/cTraceCapture.h"

#include <QtTest>

namespace
{
// Records which layout each call names; the layouts are never dereferenced.
class cFakeLayoutList : public cLayoutListUndoTarget
{
public:
    void UndoNewLayout(cLayout* layout) override { mCalls << QPair<QString, void*>("UndoNew", layout); }
    void RedoDeleteLayout(cLayout* layout) override { mCalls << QPair<QString, void*>("RedoDelete", layout); }
    void RedoNewLayout(cLayout* layout) override { mCalls << QPair<QString, void*>("RedoNew", layout); }
    void UndoDeleteLayout(cLayout* layout) override { mCalls << QPair<QString, void*>("UndoDelete", layout); }

    QList<QPair<QString, void*>> mCalls;
};
}

class tst_cConfigUndoManager : public QObject
{
    Q_OBJECT

private slots:
    void layoutActionsCallTheConfig();
    void missingConfigIsTracedAndNotRecorded();
};

void tst_cConfigUndoManager::layoutActionsCallTheConfig()
{
    cConfigUndoManager manager(nullptr);
    cFakeLayoutList config;
    int first = 0, second = 0;
    auto* created = reinterpret_cast<cLayout*>(&first);
    auto* deleted = reinterpret_cast<cLayout*>(&second);
    manager.AddNewLayoutAction(created, &config);
    manager.CloseUndoBlock();
    manager.AddDeleteLayoutAction(deleted, &config);
    manager.CloseUndoBlock();
    manager.Undo();
    manager.Undo();
    manager.Redo();
    manager.Redo();
    QCOMPARE(config.mCalls, (QList<QPair<QString, void*>>{
                                {"UndoDelete", &second}, {"UndoNew", &first}, {"RedoNew", &first}, {"RedoDelete", &second}}));
}

void tst_cConfigUndoManager::missingConfigIsTracedAndNotRecorded()
{
    cConfigUndoManager manager(nullptr);
    cTraceCapture trace;
    manager.AddNewLayoutAction(nullptr, nullptr);
    manager.AddDeleteLayoutAction(nullptr, nullptr);
    QVERIFY(!manager.HasUndo());
    QCOMPARE(trace.LinesContaining("no config").size(), 2);
}

QTEST_GUILESS_MAIN(tst_cConfigUndoManager)
#include "tst_cConfigUndoManager.moc"

#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cLayoutListUndoTarget.h"
#include "support/cTraceCapture.h"

#include <QtTest>

namespace
{
class cFakeLayoutList : public cLayoutListUndoTarget
{
public:
    void UndoNewLayout(cLayout* layout) override { Record("UndoNew", layout); }
    void RedoDeleteLayout(cLayout* layout) override { Record("RedoDelete", layout); }
    void RedoNewLayout(cLayout* layout) override { Record("RedoNew", layout); }
    void UndoDeleteLayout(cLayout* layout) override { Record("UndoDelete", layout); }

    QStringList mCalls;
    QList<const void*> mLayouts;

private:
    void Record(const QString& call, cLayout* layout)
    {
        mCalls << call;
        mLayouts << layout;
    }
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
    int first = 0;
    int second = 0;
    // Never dereferenced: the actions only pass layouts on to the config.
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

    QCOMPARE(config.mCalls, QStringList({"UndoDelete", "UndoNew", "RedoNew", "RedoDelete"}));
    QCOMPARE(config.mLayouts, QList<const void*>({&second, &first, &first, &second}));
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

#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cIntProperty.h"
#include "Kelvari/Common/cResourceUndoManager.h"
#include "Kelvari/Common/cResourceUndoTarget.h"
#include "Kelvari/Common/cStringProperty.h"
#include "support/cTraceCapture.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{
// Records every call the resource actions make, with the resources as numbers.
class cFakeResourceConfig : public cResourceUndoTarget
{
public:
    void UndoNewResource(cResource* resource) override { Record("UndoNew", resource); }
    void RedoNewResource(cResource* resource) override { Record("RedoNew", resource); }
    void UndoDeleteResource(cResource* resource) override { Record("UndoDelete", resource); }
    void RedoDeleteResource(cResource* resource) override { Record("RedoDelete", resource); }
    void UndoChangeResource(cResource* oldResource, cResource* newResource) override
    {
        Record("UndoChange", oldResource, newResource);
    }
    void RedoChangeResource(cResource* oldResource, cResource* newResource) override
    {
        Record("RedoChange", oldResource, newResource);
    }

    QStringList mCalls;
    QList<const void*> mResources;

private:
    void Record(const QString& call, cResource* first, cResource* second = nullptr)
    {
        mCalls << call;
        mResources << first;
        if (second)
            mResources << second;
    }
};
}

// The manager's behaviour, driven through the resource manager, which records
// property changes like every manager that watches properties.
class tst_cUndoManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete mOwner; }

    void aBlockRecordsOnlyRealChanges();
    void undoClosesTheOpenBlockFirst();
    void blockUndoesItsActionsBackwards();
    void hasUndoAndHasRedoSignalOnlyAtTheBoundaries();
    void isSavedFollowsSavePoint();
    void savePointNeverReturnsAfterItsBlockIsDiscarded();
    void clearUndoRedoKeepsSavedOnlyForEmptySavePoint();
    void choiceChangeRestoresIndexAndChoices();
    void changesMadeWhileUndoingAreNotRecorded();
    void onlyEditablePropertiesOfResourceAreWatched();
    void signalFromNonPropertyIsTracedAndIgnored();

private:
    QObject* mOwner = nullptr;
    cResourceUndoManager* mManager = nullptr;
    cIntProperty* mX = nullptr;
    cIntProperty* mY = nullptr;
};

void tst_cUndoManager::init()
{
    mOwner = new QObject;
    mManager = new cResourceUndoManager(mOwner);
    mX = new cIntProperty("X", 10, mOwner, 0, 100);
    mY = new cIntProperty("Y", 20, mOwner, 0, 100);
    connect(mX, &cProperty::ValueAboutToChange, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
    connect(mY, &cProperty::ValueAboutToChange, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
}

void tst_cUndoManager::aBlockRecordsOnlyRealChanges()
{
    mY->SetIntValue(21);
    mManager->CloseUndoBlock();
    mX->SetIntValue(50);
    mX->SetIntValue(10);
    mManager->CloseUndoBlock();
    mX->SetIntValue(11);
    mX->SetIntValue(12);
    mY->SetIntValue(60);
    mY->SetIntValue(21);
    mManager->CloseUndoBlock();

    mManager->Undo();
    QCOMPARE(mX->IntValue(), 10);
    QSignalSpy yChanges(mY, &cProperty::valueChanged);
    mManager->Redo();
    QCOMPARE(mX->IntValue(), 12);
    QCOMPARE(yChanges.count(), 0);
    mManager->Undo();
    mManager->Undo();
    QCOMPARE(mY->IntValue(), 20);
    QVERIFY(!mManager->HasUndo());
}

void tst_cUndoManager::undoClosesTheOpenBlockFirst()
{
    mX->SetIntValue(30);
    mManager->Undo();
    QCOMPARE(mX->IntValue(), 10);
    mManager->Redo();
    QCOMPARE(mX->IntValue(), 30);

    // A new change after an undo empties the redo list.
    mManager->Undo();
    QSignalSpy hasRedo(mManager, &cUndoManager::HasRedoChanged);
    mY->SetIntValue(25);
    QVERIFY(!mManager->HasRedo());
    QCOMPARE(hasRedo.count(), 1);
    mManager->Redo();
    QCOMPARE(mX->IntValue(), 10);
}

void tst_cUndoManager::blockUndoesItsActionsBackwards()
{
    cFakeResourceConfig config;
    int first = 0;
    int second = 0;
    // Never dereferenced: the actions only pass resources on to the config.
    auto* firstResource = reinterpret_cast<cResource*>(&first);
    auto* secondResource = reinterpret_cast<cResource*>(&second);
    mManager->AddNewResource(firstResource, &config);
    mManager->AddChangeResource(firstResource, secondResource, &config);
    mManager->CloseUndoBlock();
    mManager->AddDeleteResource(secondResource, &config);
    mManager->CloseUndoBlock();

    mManager->Undo();
    mManager->Undo();
    mManager->Redo();
    mManager->Redo();

    QCOMPARE(config.mCalls, QStringList({"UndoDelete", "UndoChange", "UndoNew", "RedoNew", "RedoChange",
                                         "RedoDelete"}));
    QCOMPARE(config.mResources, QList<const void*>({&second, &first, &second, &first, &first, &first, &second,
                                                    &second}));
}

void tst_cUndoManager::hasUndoAndHasRedoSignalOnlyAtTheBoundaries()
{
    QSignalSpy hasUndo(mManager, &cUndoManager::HasUndoChanged);
    QSignalSpy hasRedo(mManager, &cUndoManager::HasRedoChanged);
    mManager->Undo();
    mManager->Redo();
    QCOMPARE(hasUndo.count() + hasRedo.count(), 0);

    mX->SetIntValue(30);
    QVERIFY(mManager->HasUndo());
    mManager->CloseUndoBlock();
    mX->SetIntValue(40);
    mManager->CloseUndoBlock();
    mManager->Undo();
    mManager->Undo();
    QVERIFY(!mManager->HasUndo());
    mManager->Redo();
    mManager->Redo();
    QCOMPARE(hasUndo.count(), 3);
    QCOMPARE(hasRedo.count(), 2);
    QCOMPARE(mX->IntValue(), 40);
}

void tst_cUndoManager::isSavedFollowsSavePoint()
{
    QSignalSpy isSaved(mManager, &cUndoManager::IsSavedChanged);
    mX->SetIntValue(30);
    QVERIFY(mManager->IsSaved());
    mManager->CloseUndoBlock();
    QVERIFY(!mManager->IsSaved());
    mX->SetIntValue(40);
    mManager->CloseUndoBlock();

    mManager->SetSavePoint();
    mManager->SetSavePoint();
    QVERIFY(mManager->IsSaved());
    mManager->Undo();
    QVERIFY(!mManager->IsSaved());
    mManager->Redo();
    QVERIFY(mManager->IsSaved());
    QCOMPARE(isSaved.count(), 4);
}

void tst_cUndoManager::savePointNeverReturnsAfterItsBlockIsDiscarded()
{
    // Each new block could take the memory of the discarded saved block; the
    // saved state must not come back with it.
    for (int value = 30; value < 60; ++value)
    {
        mX->SetIntValue(value);
        mManager->CloseUndoBlock();
        mManager->SetSavePoint();
        mManager->Undo();
        mY->SetIntValue(value);
        mManager->CloseUndoBlock();

        QVERIFY2(!mManager->IsSaved(), qPrintable(QString("after step %1").arg(value)));
        mManager->Undo();
        mManager->ClearUndoRedo();
    }
}

void tst_cUndoManager::clearUndoRedoKeepsSavedOnlyForEmptySavePoint()
{
    mManager->SetSavePoint();
    mX->SetIntValue(30);
    mManager->CloseUndoBlock();
    mManager->ClearUndoRedo();
    QVERIFY(mManager->IsSaved());

    mX->SetIntValue(40);
    mManager->CloseUndoBlock();
    mManager->SetSavePoint();
    QSignalSpy isSaved(mManager, &cUndoManager::IsSavedChanged);
    mManager->ClearUndoRedo();
    QVERIFY(!mManager->IsSaved());
    QCOMPARE(isSaved.count(), 1);
    mY->SetIntValue(50);
    mManager->CloseUndoBlock();
    mManager->SetSavePoint();
    QVERIFY(mManager->IsSaved());
}

void tst_cUndoManager::choiceChangeRestoresIndexAndChoices()
{
    const QStringList before{"Off", "On"};
    const QStringList after{"Low", "Mid", "High"};
    auto* choice = new cComboProperty("Mode", 0, before, mOwner);
    mManager->AddPropertyChangeAction(choice);
    choice->UpdateComboValues(after, 2);
    mManager->CloseUndoBlock();

    mManager->Undo();
    QCOMPARE(choice->comboValues(), before);
    QCOMPARE(choice->IntValue(), 0);
    mManager->Redo();
    QCOMPARE(choice->comboValues(), after);
    QCOMPARE(choice->IntValue(), 2);

    // Same index with new choices is no step.
    mManager->ClearUndoRedo();
    connect(choice, &cProperty::ValueAboutToChange, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
    choice->UpdateComboValues({"A", "B", "C"}, 2);
    mManager->CloseUndoBlock();
    QVERIFY(!mManager->HasUndo());
}

void tst_cUndoManager::changesMadeWhileUndoingAreNotRecorded()
{
    // The undo hook adds a resource and changes a watched property: the
    // structural operation is recorded, the property change is not.
    class cReaddingConfig : public cFakeResourceConfig
    {
    public:
        cResourceUndoManager* mManager = nullptr;
        cIntProperty* mProperty = nullptr;
        void UndoDeleteResource(cResource* resource) override
        {
            cFakeResourceConfig::UndoDeleteResource(resource);
            mManager->AddNewResource(resource, this);
            mProperty->SetIntValue(99);
        }
    } config;
    config.mManager = mManager;
    config.mProperty = mX;
    mManager->AddDeleteResource(nullptr, &config);
    mManager->CloseUndoBlock();

    mManager->Undo();
    mManager->CloseUndoBlock();
    mManager->Undo();

    QCOMPARE(config.mCalls, QStringList({"UndoDelete", "UndoNew"}));
    QCOMPARE(mX->IntValue(), 99);
}

void tst_cUndoManager::onlyEditablePropertiesOfResourceAreWatched()
{
    QObject resource;
    auto* name = new cStringProperty("Name", "a", &resource, true);
    auto* type = new cStringProperty("Type", "png", &resource, false);
    mManager->LinkPropertiesToUndoManager(&resource);

    type->setStringValue("svg");
    mManager->CloseUndoBlock();
    QVERIFY(!mManager->HasUndo());
    name->setStringValue("b");
    mManager->CloseUndoBlock();
    mManager->Undo();
    QCOMPARE(name->stringValue(), QString("a"));
}

void tst_cUndoManager::signalFromNonPropertyIsTracedAndIgnored()
{
    QObject notAProperty;
    connect(&notAProperty, &QObject::objectNameChanged, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
    cTraceCapture trace;
    notAProperty.setObjectName("x");
    QVERIFY(!mManager->HasUndo());
    QCOMPARE(trace.LinesContaining("no property").size(), 1);
}

QTEST_GUILESS_MAIN(tst_cUndoManager)
#include "tst_cUndoManager.moc"

#include "cUndoManager.h"

#include "cProperty.h"
#include "cUndoBlock.h"
#include "cWidget.h"
#include "ZRNet/Core/DebugTrace.h"

cUndoManager::cUndoManager(QObject* parent) : QObject(parent)
{
}

cUndoManager::~cUndoManager()
{
    ClearUndoList();
    ClearRedoList();
}

void cUndoManager::AboutToAddNewAction()
{
    ClearRedoList();
    if (mOpenBlock)
        return;
    const bool wasSaved = IsSaved();
    mOpenBlock = new cUndoBlock(mNextSerialNumber++);
    if (!mHasUndo)
        SetHasUndo(true);
    if (wasSaved)
        emit IsSavedChanged();
}

void cUndoManager::CloseUndoBlock()
{
    if (!mOpenBlock)
        return;
    const bool wasSaved = IsSaved();
    mOpenBlock->CloseUndoBlock();
    if (mOpenBlock->IsEmpty())
        delete mOpenBlock;
    else
        mUndoList.append(mOpenBlock);
    mOpenBlock = nullptr;
    SetHasUndo(!mUndoList.isEmpty());
    if (IsSaved() != wasSaved)
        emit IsSavedChanged();
}

void cUndoManager::Undo()
{
    CloseUndoBlock();
    mBusy = true;
    if (mUndoList.isEmpty())
    {
        mBusy = false;
        return;
    }
    const bool wasSaved = IsSaved();
    cUndoBlock* block = mUndoList.takeLast();
    block->Undo();
    mRedoList.append(block);
    if (IsSaved() != wasSaved)
        emit IsSavedChanged();
    if (mUndoList.isEmpty())
        SetHasUndo(mOpenBlock != nullptr);
    if (mRedoList.size() == 1)
        emit HasRedoChanged();
    mBusy = false;
}

void cUndoManager::Redo()
{
    mBusy = true;
    if (mRedoList.isEmpty())
    {
        mBusy = false;
        return;
    }
    const bool wasSaved = IsSaved();
    cUndoBlock* block = mRedoList.takeLast();
    block->Redo();
    mUndoList.append(block);
    if (IsSaved() != wasSaved)
        emit IsSavedChanged();
    if (mUndoList.size() == 1)
        SetHasUndo(true);
    if (mRedoList.isEmpty())
        emit HasRedoChanged();
    mBusy = false;
}

void cUndoManager::ClearRedoList()
{
    if (mRedoList.isEmpty())
        return;
    tKeptWidgets added;
    for (const cUndoBlock* block : qAsConst(mRedoList))
        added += Keep(block->GetAddedWidgets());
    qDeleteAll(mRedoList);
    mRedoList.clear();
    DestroyWidgets(added);
    emit HasRedoChanged();
}

void cUndoManager::ClearUndoList()
{
    tKeptWidgets deleted;
    for (const cUndoBlock* block : qAsConst(mUndoList))
        deleted += Keep(block->GetDeletedWidgets());
    const bool wasSaved = IsSaved();
    qDeleteAll(mUndoList);
    mUndoList.clear();
    if (mOpenBlock)
        deleted += Keep(mOpenBlock->GetDeletedWidgets());
    DestroyWidgets(deleted);
    delete mOpenBlock;
    mOpenBlock = nullptr;
    SetHasUndo(!mUndoList.isEmpty());
    if (IsSaved() != wasSaved)
        emit IsSavedChanged();
}

void cUndoManager::ClearUndoRedo()
{
    ClearUndoList();
    ClearRedoList();
}

void cUndoManager::UpdateHasUndo()
{
    SetHasUndo(!mUndoList.isEmpty() || mOpenBlock);
}

bool cUndoManager::IsSaved() const
{
    return !mOpenBlock && LastUndoSerialNumber() == mSavePoint;
}

void cUndoManager::SetSavePoint()
{
    // What was saved holds the open block's changes: its step ends here.
    CloseUndoBlock();
    const quint64 savePoint = LastUndoSerialNumber();
    if (savePoint == mSavePoint)
        return;
    mSavePoint = savePoint;
    emit IsSavedChanged();
}

void cUndoManager::RecordPropertyChange(cProperty* property)
{
    if (mBusy)
        return;
    AboutToAddNewAction();
    mOpenBlock->AddPropertyAction(property);
}

void cUndoManager::RecordSendingPropertyChange()
{
    if (mBusy)
        return;
    auto* property = qobject_cast<cProperty*>(sender());
    if (!property)
    {
        ZR_ERROR("Value change announced by an object that is no property");
        return;
    }
    RecordPropertyChange(property);
}

quint64 cUndoManager::LastUndoSerialNumber() const
{
    return mUndoList.isEmpty() ? 0 : mUndoList.last()->SerialNumber();
}

void cUndoManager::SetHasUndo(bool hasUndo)
{
    if (hasUndo == mHasUndo)
        return;
    mHasUndo = hasUndo;
    emit HasUndoChanged();
}

cUndoManager::tKeptWidgets cUndoManager::Keep(const QList<cWidget*>& widgets)
{
    tKeptWidgets kept;
    for (cWidget* widget : widgets)
        kept.append(widget);
    return kept;
}

void cUndoManager::DestroyWidgets(const tKeptWidgets& widgets)
{
    // delete, not deleteLater: there may be no event loop to run it. A widget
    // listed twice or destroyed with another one is skipped by its guard.
    for (const QPointer<cWidget>& widget : widgets)
        delete widget.data();
}

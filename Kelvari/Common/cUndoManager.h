#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class cProperty;
class cUndoBlock;
class cWidget;

// Keeps the undo and redo lists of blocks, opens and closes blocks, runs
// Undo and Redo and tells whether the current state is the saved one.
// Owns its blocks and the widgets that only its blocks can bring back: the
// widgets kept by delete actions of the undo list and the open block, and
// the widgets whose creation was undone.
class cUndoManager : public QObject
{
    Q_OBJECT

public:
    explicit cUndoManager(QObject* parent);
    ~cUndoManager() override;

    // Called before anything is recorded: ends the possibility of redo and
    // opens a block if none is open.
    void AboutToAddNewAction();
    void CloseUndoBlock();
    void Undo();
    void Redo();
    void ClearRedoList();
    void ClearUndoList();
    void ClearUndoRedo();
    void UpdateHasUndo();

    // Whether no block is open and the last block of the undo list is the one
    // that was last when the save point was set: a change still being made
    // (a value being typed) is unsaved too.
    bool IsSaved() const;
    // Closes the open block first.
    void SetSavePoint();

    // The undo list is non-empty or a block is open (as last brought up to date).
    bool HasUndo() const { return mHasUndo; }
    bool HasRedo() const { return !mRedoList.isEmpty(); }
    // True while Undo or Redo runs: changes they make are not recorded.
    bool IsBusy() const { return mBusy; }

signals:
    void HasUndoChanged();
    void HasRedoChanged();
    void IsSavedChanged();

protected:
    // The open block: opened by AboutToAddNewAction, null when none is open.
    cUndoBlock* OpenBlock() const { return mOpenBlock; }
    // Records a property's value from before a change, unless Undo or Redo runs.
    void RecordPropertyChange(cProperty* property);
    // Records the property that sent the signal now being delivered.
    void RecordSendingPropertyChange();

private:
    // The serial number of the last block of the undo list; 0 when it is empty.
    quint64 LastUndoSerialNumber() const;
    void SetHasUndo(bool hasUndo);
    // Guarded pointers: destroying one widget may destroy another of the list.
    using tKeptWidgets = QList<QPointer<cWidget>>;
    static tKeptWidgets Keep(const QList<cWidget*>& widgets);
    static void DestroyWidgets(const tKeptWidgets& widgets);

    cUndoBlock* mOpenBlock = nullptr;
    bool mBusy = false;
    QList<cUndoBlock*> mUndoList;
    QList<cUndoBlock*> mRedoList;
    bool mHasUndo = false;
    // The serial number of the block that was last when saved (0: saved with an empty list).
    quint64 mSavePoint = 0;
    quint64 mNextSerialNumber = 1;
};

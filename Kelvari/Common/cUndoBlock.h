#pragma once

#include <QList>
#include <QSet>
#include <QtGlobal>

class cProperty;
class cUndoAction;
class cWidget;

// One user-visible step: the actions recorded while it was open, in order.
// The block owns its actions.
class cUndoBlock
{
public:
    // The serial number tells blocks apart for the save point: unlike an
    // address, it is never given to a later block of the same manager.
    explicit cUndoBlock(quint64 serialNumber);
    ~cUndoBlock();
    cUndoBlock(const cUndoBlock&) = delete;
    cUndoBlock& operator=(const cUndoBlock&) = delete;

    quint64 SerialNumber() const { return mSerialNumber; }
    bool IsEmpty() const { return mActions.isEmpty(); }

    void AddAction(cUndoAction* action);
    // Records the property's current value unless the block already did, so
    // the value from before the block's first change stays the initial one.
    void AddPropertyAction(cProperty* property);
    // Reads the final values and drops the property actions that end where they began.
    void CloseUndoBlock();
    void Undo();
    void Redo();

    // The widgets still alive that the block's delete actions keep.
    QList<cWidget*> GetDeletedWidgets() const;
    // The widgets still alive that the block's new-widget actions made.
    QList<cWidget*> GetAddedWidgets() const;

private:
    const quint64 mSerialNumber;
    QList<cUndoAction*> mActions;
    QSet<cProperty*> mRecordedProperties;
};

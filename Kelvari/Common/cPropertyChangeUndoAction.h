#pragma once

#include "cUndoAction.h"

#include <QPointer>
#include <QVariant>

class cProperty;

// A change of one property's value. The initial value is read when the action
// is made, the final value when its block closes.
class cPropertyChangeUndoAction : public cUndoAction
{
public:
    explicit cPropertyChangeUndoAction(cProperty* property);
    ~cPropertyChangeUndoAction() override;

    void Undo() override;
    void Redo() override;
    virtual void SetFinalValue();

    QVariant InitialValue() const { return mInitialValue; }
    QVariant FinalValue() const { return mFinalValue; }

private:
    // Guarded: a property goes with its owner, which may be destroyed first.
    QPointer<cProperty> mProperty;
    QVariant mInitialValue;
    QVariant mFinalValue;
};

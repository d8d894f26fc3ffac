#include "cPropertyChangeUndoAction.h"

#include "cProperty.h"
#include "ZRNet/Core/DebugTrace.h"

cPropertyChangeUndoAction::cPropertyChangeUndoAction(cProperty* property)
    : mProperty(property), mInitialValue(property ? property->value() : QVariant())
{
}

cPropertyChangeUndoAction::~cPropertyChangeUndoAction() = default;

void cPropertyChangeUndoAction::Undo()
{
    if (!mProperty)
    {
        ZR_ERROR("Undo of a property change whose property no longer exists");
        return;
    }
    mProperty->setValue(mInitialValue);
}

void cPropertyChangeUndoAction::Redo()
{
    if (!mProperty)
    {
        ZR_ERROR("Redo of a property change whose property no longer exists");
        return;
    }
    mProperty->setValue(mFinalValue);
}

void cPropertyChangeUndoAction::SetFinalValue()
{
    if (mProperty)
        mFinalValue = mProperty->value();
}

#include "cComboPropertyUndoAction.h"

#include "cComboProperty.h"
#include "ZRNet/Core/DebugTrace.h"

cComboPropertyUndoAction::cComboPropertyUndoAction(cComboProperty* property)
    : cPropertyChangeUndoAction(property),
      mComboProperty(property),
      mInitialChoices(property ? property->comboValues() : QStringList())
{
}

cComboPropertyUndoAction::~cComboPropertyUndoAction() = default;

void cComboPropertyUndoAction::Undo()
{
    if (!mComboProperty)
    {
        ZR_ERROR("Undo of a choice change whose property no longer exists");
        return;
    }
    mComboProperty->UpdateComboValues(mInitialChoices, InitialValue().toInt());
}

void cComboPropertyUndoAction::Redo()
{
    if (!mComboProperty)
    {
        ZR_ERROR("Redo of a choice change whose property no longer exists");
        return;
    }
    mComboProperty->UpdateComboValues(mFinalChoices, FinalValue().toInt());
}

void cComboPropertyUndoAction::SetFinalValue()
{
    cPropertyChangeUndoAction::SetFinalValue();
    if (mComboProperty)
        mFinalChoices = mComboProperty->comboValues();
}

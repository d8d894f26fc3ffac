#pragma once

#include "cPropertyChangeUndoAction.h"

#include <QPointer>
#include <QStringList>

class cComboProperty;

// A change of a choice property: its index and the list of choices current
// at each end of the block, since some widgets rebuild their choice lists.
class cComboPropertyUndoAction : public cPropertyChangeUndoAction
{
public:
    explicit cComboPropertyUndoAction(cComboProperty* property);
    ~cComboPropertyUndoAction() override;

    void Undo() override;
    void Redo() override;
    void SetFinalValue() override;

    QStringList InitialChoices() const { return mInitialChoices; }
    QStringList FinalChoices() const { return mFinalChoices; }

private:
    QPointer<cComboProperty> mComboProperty;
    QStringList mInitialChoices;
    QStringList mFinalChoices;
};

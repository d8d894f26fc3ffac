#include "cNewLayoutUndoAction.h"

#include "cLayoutListUndoTarget.h"

cNewLayoutUndoAction::cNewLayoutUndoAction(cLayout* layout, cLayoutListUndoTarget* config)
    : mLayout(layout), mConfig(config)
{
}

cNewLayoutUndoAction::~cNewLayoutUndoAction() = default;

void cNewLayoutUndoAction::Undo()
{
    mConfig->UndoNewLayout(mLayout);
}

void cNewLayoutUndoAction::Redo()
{
    mConfig->RedoNewLayout(mLayout);
}

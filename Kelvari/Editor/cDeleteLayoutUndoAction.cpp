#include "cDeleteLayoutUndoAction.h"

#include "cLayoutListUndoTarget.h"

cDeleteLayoutUndoAction::cDeleteLayoutUndoAction(cLayout* layout, cLayoutListUndoTarget* config)
    : mLayout(layout), mConfig(config)
{
}

cDeleteLayoutUndoAction::~cDeleteLayoutUndoAction() = default;

void cDeleteLayoutUndoAction::Undo()
{
    mConfig->UndoDeleteLayout(mLayout);
}

void cDeleteLayoutUndoAction::Redo()
{
    mConfig->RedoDeleteLayout(mLayout);
}

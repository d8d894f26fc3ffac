#include "cNewResourceUndoAction.h"

#include "cResourceUndoTarget.h"

cNewResourceUndoAction::cNewResourceUndoAction(cResource* resource, cResourceUndoTarget* config)
    : mResource(resource), mConfig(config)
{
}

cNewResourceUndoAction::~cNewResourceUndoAction() = default;

void cNewResourceUndoAction::Undo()
{
    mConfig->UndoNewResource(mResource);
}

void cNewResourceUndoAction::Redo()
{
    mConfig->RedoNewResource(mResource);
}

#include "cDeleteResourceUndoAction.h"

#include "cResourceUndoTarget.h"

cDeleteResourceUndoAction::cDeleteResourceUndoAction(cResource* resource, cResourceUndoTarget* config)
    : mResource(resource), mConfig(config)
{
}

cDeleteResourceUndoAction::~cDeleteResourceUndoAction() = default;

void cDeleteResourceUndoAction::Undo()
{
    mConfig->UndoDeleteResource(mResource);
}

void cDeleteResourceUndoAction::Redo()
{
    mConfig->RedoDeleteResource(mResource);
}

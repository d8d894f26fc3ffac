#include "cChangeResourceUndoAction.h"

#include "cResourceUndoTarget.h"

cChangeResourceUndoAction::cChangeResourceUndoAction(cResource* oldResource, cResource* newResource,
                                                     cResourceUndoTarget* config)
    : mOldResource(oldResource), mNewResource(newResource), mConfig(config)
{
}

cChangeResourceUndoAction::~cChangeResourceUndoAction() = default;

void cChangeResourceUndoAction::Undo()
{
    mConfig->UndoChangeResource(mOldResource, mNewResource);
}

void cChangeResourceUndoAction::Redo()
{
    mConfig->RedoChangeResource(mOldResource, mNewResource);
}

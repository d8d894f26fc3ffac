#pragma once

#include "cUndoAction.h"

class cResource;
class cResourceUndoTarget;

// An image resource replaced by another with the same id (a new picture).
class cChangeResourceUndoAction : public cUndoAction
{
public:
    cChangeResourceUndoAction(cResource* oldResource, cResource* newResource, cResourceUndoTarget* config);
    ~cChangeResourceUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cResource* mOldResource;
    cResource* mNewResource;
    cResourceUndoTarget* mConfig;
};

#pragma once

#include "cUndoAction.h"

class cResource;
class cResourceUndoTarget;

// An image resource added to the config.
class cNewResourceUndoAction : public cUndoAction
{
public:
    cNewResourceUndoAction(cResource* resource, cResourceUndoTarget* config);
    ~cNewResourceUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cResource* mResource;
    cResourceUndoTarget* mConfig;
};

#pragma once

#include "cUndoAction.h"

class cResource;
class cResourceUndoTarget;

// An image resource taken out of the config.
class cDeleteResourceUndoAction : public cUndoAction
{
public:
    cDeleteResourceUndoAction(cResource* resource, cResourceUndoTarget* config);
    ~cDeleteResourceUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cResource* mResource;
    cResourceUndoTarget* mConfig;
};

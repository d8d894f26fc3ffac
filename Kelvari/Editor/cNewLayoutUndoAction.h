#pragma once

#include "Kelvari/Common/cUndoAction.h"

class cLayout;
class cLayoutListUndoTarget;

// A layout page added to the config.
class cNewLayoutUndoAction : public cUndoAction
{
public:
    cNewLayoutUndoAction(cLayout* layout, cLayoutListUndoTarget* config);
    ~cNewLayoutUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cLayout* mLayout;
    cLayoutListUndoTarget* mConfig;
};

#pragma once

#include "Kelvari/Common/cUndoAction.h"

class cLayout;
class cLayoutListUndoTarget;

// A layout page taken out of the config.
class cDeleteLayoutUndoAction : public cUndoAction
{
public:
    cDeleteLayoutUndoAction(cLayout* layout, cLayoutListUndoTarget* config);
    ~cDeleteLayoutUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cLayout* mLayout;
    cLayoutListUndoTarget* mConfig;
};

#pragma once

#include "sLayoutDetails.h"
#include "Kelvari/Common/cUndoAction.h"

class cLayout;
class cLayoutConfig;

// A change of a layout page's details. The config is told after each
// direction so that it keeps its list of layouts sorted.
class cLayoutDetailsUndoAction : public cUndoAction
{
public:
    cLayoutDetailsUndoAction(cLayoutConfig* config, cLayout* layout, const sLayoutDetails& oldDetails,
                             const sLayoutDetails& newDetails);
    ~cLayoutDetailsUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cLayoutConfig* mConfig;
    cLayout* mLayout;
    const sLayoutDetails mOldDetails;
    const sLayoutDetails mNewDetails;
};

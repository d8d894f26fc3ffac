#pragma once

#include "cWidgetUndoAction.h"

class cContainer;

// A widget moved from one container and location to another (a null
// container is the top level of the page).
class cMoveContainerUndoAction : public cWidgetUndoAction
{
public:
    cMoveContainerUndoAction(cWidget* widget, cContainer* oldContainer, int oldContainerLocation,
                             cContainer* newContainer, int newContainerLocation);
    ~cMoveContainerUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cContainer* mOldContainer;
    int mOldContainerLocation;
    cContainer* mNewContainer;
    int mNewContainerLocation;
};

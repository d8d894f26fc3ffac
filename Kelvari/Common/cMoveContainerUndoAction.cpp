#include "cMoveContainerUndoAction.h"

#include "cWidgetTreeUndoTarget.h"

cMoveContainerUndoAction::cMoveContainerUndoAction(cWidget* widget, cContainer* oldContainer,
                                                   int oldContainerLocation, cContainer* newContainer,
                                                   int newContainerLocation)
    : cWidgetUndoAction(widget),
      mOldContainer(oldContainer),
      mOldContainerLocation(oldContainerLocation),
      mNewContainer(newContainer),
      mNewContainerLocation(newContainerLocation)
{
}

cMoveContainerUndoAction::~cMoveContainerUndoAction() = default;

void cMoveContainerUndoAction::Undo()
{
    if (auto* target = Target())
        target->UndoOrRedoMoveContainer(Widget(), mOldContainer, mOldContainerLocation);
}

void cMoveContainerUndoAction::Redo()
{
    if (auto* target = Target())
        target->UndoOrRedoMoveContainer(Widget(), mNewContainer, mNewContainerLocation);
}

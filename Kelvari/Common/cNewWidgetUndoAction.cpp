#include "cNewWidgetUndoAction.h"

#include "cWidgetTreeUndoTarget.h"

cNewWidgetUndoAction::cNewWidgetUndoAction(cWidget* widget, cContainer* container, int containerLocation)
    : cWidgetUndoAction(widget), mContainer(container), mContainerLocation(containerLocation)
{
}

cNewWidgetUndoAction::~cNewWidgetUndoAction() = default;

void cNewWidgetUndoAction::Undo()
{
    if (auto* target = Target())
        target->UndoNewWidget(Widget());
}

void cNewWidgetUndoAction::Redo()
{
    if (auto* target = Target())
        target->RedoNewWidget(Widget(), mContainer, mContainerLocation);
}

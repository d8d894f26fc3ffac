#include "cDeleteWidgetUndoAction.h"

#include "cWidgetTreeUndoTarget.h"

cDeleteWidgetUndoAction::cDeleteWidgetUndoAction(cWidget* widget, cContainer* container, int containerLocation)
    : cWidgetUndoAction(widget), mContainer(container), mContainerLocation(containerLocation)
{
}

cDeleteWidgetUndoAction::~cDeleteWidgetUndoAction() = default;

void cDeleteWidgetUndoAction::Undo()
{
    if (auto* target = Target())
        target->UndoDeleteWidget(Widget(), mContainer, mContainerLocation);
}

void cDeleteWidgetUndoAction::Redo()
{
    if (auto* target = Target())
        target->RedoDeleteWidget(Widget());
}

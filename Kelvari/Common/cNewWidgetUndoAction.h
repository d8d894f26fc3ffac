#pragma once

#include "cWidgetUndoAction.h"

class cContainer;

// A widget added to a page (the null container is the top level). While its
// creation is undone the widget is kept, not destroyed, so that redo can bring it back.
class cNewWidgetUndoAction : public cWidgetUndoAction
{
public:
    cNewWidgetUndoAction(cWidget* widget, cContainer* container, int containerLocation);
    ~cNewWidgetUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cContainer* mContainer;
    int mContainerLocation;
};

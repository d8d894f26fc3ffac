#pragma once

#include "cWidgetUndoAction.h"

class cContainer;

// A widget taken off a page. The widget is kept, not destroyed, while the
// action may still put it back.
class cDeleteWidgetUndoAction : public cWidgetUndoAction
{
public:
    cDeleteWidgetUndoAction(cWidget* widget, cContainer* container, int containerLocation);
    ~cDeleteWidgetUndoAction() override;

    void Undo() override;
    void Redo() override;

private:
    cContainer* mContainer;
    int mContainerLocation;
};

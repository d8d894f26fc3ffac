#include "cWidgetUndoAction.h"

#include "cWidget.h"
#include "cWidgetTreeUndoTarget.h"
#include "ZRNet/Core/DebugTrace.h"

cWidgetUndoAction::cWidgetUndoAction(cWidget* widget) : mWidget(widget)
{
    if (!widget)
    {
        ZR_ERROR("Widget undo action made without a widget");
        return;
    }
    mTarget = dynamic_cast<cWidgetTreeUndoTarget*>(widget->parent());
    if (!mTarget)
        ZR_ERROR("Widget %d is not held by a page that can undo", widget->GetId());
}

cWidgetUndoAction::~cWidgetUndoAction() = default;

cWidget* cWidgetUndoAction::Widget() const
{
    return mWidget;
}

cWidgetTreeUndoTarget* cWidgetUndoAction::Target() const
{
    if (!mWidget || !mTarget)
    {
        ZR_ERROR("Widget undo action has no widget or page to act on");
        return nullptr;
    }
    return mTarget;
}

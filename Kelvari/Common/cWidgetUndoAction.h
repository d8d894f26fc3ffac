#pragma once

#include "cUndoAction.h"

#include <QPointer>

class cWidget;
class cWidgetTreeUndoTarget;

// Common part of the actions that change a page's widget tree: the widget
// and the page that holds it, found as the widget's QObject parent.
class cWidgetUndoAction : public cUndoAction
{
public:
    explicit cWidgetUndoAction(cWidget* widget);
    ~cWidgetUndoAction() override;

    // Null once the widget has been destroyed.
    cWidget* Widget() const;

protected:
    // The page to call, or null (traced) when the widget or its page is gone.
    cWidgetTreeUndoTarget* Target() const;

private:
    // Guarded: the page may destroy its widgets before its undo manager.
    QPointer<cWidget> mWidget;
    cWidgetTreeUndoTarget* mTarget = nullptr;
};

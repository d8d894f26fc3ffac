#pragma once

class cContainer;
class cWidget;

// What the widget undo actions need of a layout page. The page implements it
// and is the QObject parent of its widgets, which is how an action finds it.
// A null container stands for the top level of the page.
class cWidgetTreeUndoTarget
{
public:
    virtual ~cWidgetTreeUndoTarget() = default;

    // Takes a created widget out of the page again (its children stay inside it).
    virtual void UndoNewWidget(cWidget* widget) = 0;
    // Puts a widget whose creation was undone back at its place.
    virtual void RedoNewWidget(cWidget* widget, cContainer* container, int containerLocation) = 0;
    // Puts a deleted widget back at its place.
    virtual void UndoDeleteWidget(cWidget* widget, cContainer* container, int containerLocation) = 0;
    // Takes a widget whose deletion was undone out again.
    virtual void RedoDeleteWidget(cWidget* widget) = 0;
    // Moves a widget into a container and location without keeping its place on screen.
    virtual void UndoOrRedoMoveContainer(cWidget* widget, cContainer* container, int containerLocation) = 0;
};

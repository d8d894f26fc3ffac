#pragma once

class cLayout;

// What the layout undo actions need of the config document. A layout taken
// out of the list here is never destroyed: its undo action keeps it.
class cLayoutListUndoTarget
{
public:
    virtual ~cLayoutListUndoTarget() = default;

    // Take the layout out of the list.
    virtual void UndoNewLayout(cLayout* layout) = 0;
    virtual void RedoDeleteLayout(cLayout* layout) = 0;
    // Insert the layout again at its sorted place.
    virtual void RedoNewLayout(cLayout* layout) = 0;
    virtual void UndoDeleteLayout(cLayout* layout) = 0;
};

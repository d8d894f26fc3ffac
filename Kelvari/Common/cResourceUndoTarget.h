#pragma once

class cResource;

// What the resource undo actions need of the config document. A resource
// taken out or replaced here is never destroyed: its undo action keeps it.
class cResourceUndoTarget
{
public:
    virtual ~cResourceUndoTarget() = default;

    virtual void UndoNewResource(cResource* resource) = 0;
    virtual void RedoNewResource(cResource* resource) = 0;
    virtual void UndoDeleteResource(cResource* resource) = 0;
    virtual void RedoDeleteResource(cResource* resource) = 0;
    // Puts the old resource back in the place of the new one.
    virtual void UndoChangeResource(cResource* oldResource, cResource* newResource) = 0;
    // Puts the new resource in the place of the old one.
    virtual void RedoChangeResource(cResource* oldResource, cResource* newResource) = 0;
};

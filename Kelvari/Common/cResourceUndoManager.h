#pragma once

#include "cUndoManager.h"

class cResource;
class cResourceUndoTarget;

// The config's undo history of its image resources: resources added,
// deleted and replaced, and changes of their editable properties.
class cResourceUndoManager : public cUndoManager
{
    Q_OBJECT

public:
    explicit cResourceUndoManager(QObject* parent);

    // Watches every editable property of the resource, that is every
    // editable cProperty among its direct QObject children.
    void LinkPropertiesToUndoManager(QObject* resource);
    void AddNewResource(cResource* resource, cResourceUndoTarget* config);
    void AddDeleteResource(cResource* resource, cResourceUndoTarget* config);
    void AddChangeResource(cResource* oldResource, cResource* newResource, cResourceUndoTarget* config);
    void AddPropertyChangeAction(cProperty* property);

public slots:
    void PropertyValueAboutToChange();
};

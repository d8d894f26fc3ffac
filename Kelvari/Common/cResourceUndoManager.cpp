#include "cResourceUndoManager.h"

#include "cChangeResourceUndoAction.h"
#include "cDeleteResourceUndoAction.h"
#include "cNewResourceUndoAction.h"
#include "cProperty.h"
#include "cUndoBlock.h"
#include "ZRNet/Core/DebugTrace.h"

cResourceUndoManager::cResourceUndoManager(QObject* parent) : cUndoManager(parent)
{
}

void cResourceUndoManager::LinkPropertiesToUndoManager(QObject* resource)
{
    if (!resource)
    {
        ZR_ERROR("No resource to watch for undo");
        return;
    }
    const auto properties = resource->findChildren<cProperty*>(QString(), Qt::FindDirectChildrenOnly);
    for (cProperty* property : properties)
    {
        if (property->editable())
            connect(property, &cProperty::ValueAboutToChange, this, &cResourceUndoManager::PropertyValueAboutToChange);
    }
}

void cResourceUndoManager::AddNewResource(cResource* resource, cResourceUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("New resource not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cNewResourceUndoAction(resource, config));
}

void cResourceUndoManager::AddDeleteResource(cResource* resource, cResourceUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("Deleted resource not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cDeleteResourceUndoAction(resource, config));
}

void cResourceUndoManager::AddChangeResource(cResource* oldResource, cResource* newResource,
                                             cResourceUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("Changed resource not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cChangeResourceUndoAction(oldResource, newResource, config));
}

void cResourceUndoManager::AddPropertyChangeAction(cProperty* property)
{
    RecordPropertyChange(property);
}

void cResourceUndoManager::PropertyValueAboutToChange()
{
    RecordSendingPropertyChange();
}

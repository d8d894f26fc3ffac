#include "cLayoutUndoManager.h"

#include "Kelvari/Common/cDeleteWidgetUndoAction.h"
#include "Kelvari/Common/cMoveContainerUndoAction.h"
#include "Kelvari/Common/cNewWidgetUndoAction.h"
#include "Kelvari/Common/cUndoBlock.h"

cLayoutUndoManager::cLayoutUndoManager(QObject* parent) : cUndoManager(parent)
{
}

void cLayoutUndoManager::AddNewWidgetAction(cWidget* widget, cContainer* container, int containerLocation)
{
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cNewWidgetUndoAction(widget, container, containerLocation));
}

void cLayoutUndoManager::AddDeleteWidgetAction(cWidget* widget, cContainer* container, int containerLocation)
{
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cDeleteWidgetUndoAction(widget, container, containerLocation));
}

void cLayoutUndoManager::AddMoveContainerAction(cWidget* widget, cContainer* oldContainer, int oldContainerLocation,
                                                cContainer* newContainer, int newContainerLocation)
{
    if (IsBusy())
        return;
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cMoveContainerUndoAction(widget, oldContainer, oldContainerLocation, newContainer,
                                                        newContainerLocation));
}

void cLayoutUndoManager::AddPropertyChangeAction(cProperty* property)
{
    RecordPropertyChange(property);
}

void cLayoutUndoManager::PropertyValueAboutToChange()
{
    RecordSendingPropertyChange();
}

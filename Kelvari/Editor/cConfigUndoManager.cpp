#include "cConfigUndoManager.h"

#include "cDeleteLayoutUndoAction.h"
#include "cLayoutDetailsUndoAction.h"
#include "cNewLayoutUndoAction.h"
#include "Kelvari/Common/cNewResourceUndoAction.h"
#include "Kelvari/Common/cUndoBlock.h"
#include "ZRNet/Core/DebugTrace.h"

cConfigUndoManager::cConfigUndoManager(QObject* parent) : cUndoManager(parent)
{
}

void cConfigUndoManager::AddNewLayoutAction(cLayout* layout, cLayoutListUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("New layout not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cNewLayoutUndoAction(layout, config));
}

void cConfigUndoManager::AddDeleteLayoutAction(cLayout* layout, cLayoutListUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("Deleted layout not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cDeleteLayoutUndoAction(layout, config));
}

void cConfigUndoManager::AddNewResourceAction(cResource* resource, cResourceUndoTarget* config)
{
    if (!config)
    {
        ZR_ERROR("New resource not recorded: no config");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cNewResourceUndoAction(resource, config));
}

void cConfigUndoManager::AddDetailsChangeAction(cLayoutConfig* config, cLayout* layout,
                                                const sLayoutDetails& oldDetails, const sLayoutDetails& newDetails)
{
    if (IsBusy())
        return;
    if (!config || !layout)
    {
        ZR_ERROR("Layout details change not recorded: no config or layout");
        return;
    }
    AboutToAddNewAction();
    OpenBlock()->AddAction(new cLayoutDetailsUndoAction(config, layout, oldDetails, newDetails));
}

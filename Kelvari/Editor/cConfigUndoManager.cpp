#include "cConfigUndoManager.h"

#include "cDeleteLayoutUndoAction.h"
#include "cNewLayoutUndoAction.h"
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

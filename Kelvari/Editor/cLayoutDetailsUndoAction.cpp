#include "cLayoutDetailsUndoAction.h"

#include "cLayout.h"
#include "cLayoutConfig.h"

cLayoutDetailsUndoAction::cLayoutDetailsUndoAction(cLayoutConfig* config, cLayout* layout,
                                                   const sLayoutDetails& oldDetails,
                                                   const sLayoutDetails& newDetails)
    : mConfig(config), mLayout(layout), mOldDetails(oldDetails), mNewDetails(newDetails)
{
}

cLayoutDetailsUndoAction::~cLayoutDetailsUndoAction() = default;

void cLayoutDetailsUndoAction::Undo()
{
    mLayout->SetLayoutDetails(mOldDetails);
    mConfig->LayoutDetailsChanged(mLayout, mNewDetails, mOldDetails);
}

void cLayoutDetailsUndoAction::Redo()
{
    mLayout->SetLayoutDetails(mNewDetails);
    mConfig->LayoutDetailsChanged(mLayout, mOldDetails, mNewDetails);
}

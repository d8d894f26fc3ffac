#include "cUndoAction.h"

cUndoAction::~cUndoAction() = default;

#pragma once

#include "Kelvari/Common/cUndoManager.h"

class cLayout;
class cLayoutListUndoTarget;

// The config's undo history of its list of layout pages.
class cConfigUndoManager : public cUndoManager
{
    Q_OBJECT

public:
    explicit cConfigUndoManager(QObject* parent);

    void AddNewLayoutAction(cLayout* layout, cLayoutListUndoTarget* config);
    void AddDeleteLayoutAction(cLayout* layout, cLayoutListUndoTarget* config);
};

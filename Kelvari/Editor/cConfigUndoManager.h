#pragma once

#include "Kelvari/Common/cUndoManager.h"

class cLayout;
class cLayoutConfig;
class cLayoutListUndoTarget;
class cResource;
class cResourceUndoTarget;
struct sLayoutDetails;

// The config's undo history of its list of layout pages.
class cConfigUndoManager : public cUndoManager
{
    Q_OBJECT

public:
    explicit cConfigUndoManager(QObject* parent);

    void AddNewLayoutAction(cLayout* layout, cLayoutListUndoTarget* config);
    void AddDeleteLayoutAction(cLayout* layout, cLayoutListUndoTarget* config);
    // An image that came with a pasted layout: undone and redone with the paste.
    void AddNewResourceAction(cResource* resource, cResourceUndoTarget* config);
    // Not recorded while Undo or Redo runs, since they apply the details themselves.
    void AddDetailsChangeAction(cLayoutConfig* config, cLayout* layout, const sLayoutDetails& oldDetails,
                                const sLayoutDetails& newDetails);
};

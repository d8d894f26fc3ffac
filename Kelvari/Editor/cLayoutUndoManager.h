#pragma once

#include "Kelvari/Common/cUndoManager.h"

class cContainer;
class cProperty;
class cWidget;

// The undo history of one layout page's widgets. Widget operations reach the
// page as the widget's QObject parent, which must implement cWidgetTreeUndoTarget.
class cLayoutUndoManager : public cUndoManager
{
    Q_OBJECT

public:
    explicit cLayoutUndoManager(QObject* parent);

    void AddNewWidgetAction(cWidget* widget, cContainer* container, int containerLocation);
    void AddDeleteWidgetAction(cWidget* widget, cContainer* container, int containerLocation);
    // Not recorded while Undo or Redo runs, since they move widgets themselves.
    void AddMoveContainerAction(cWidget* widget, cContainer* oldContainer, int oldContainerLocation,
                                cContainer* newContainer, int newContainerLocation);
    void AddPropertyChangeAction(cProperty* property);

public slots:
    void PropertyValueAboutToChange();
};

#pragma once

#include <QList>

class cContainer;
class cWidget;

// The selected widgets that one container (null: the page's top level) holds
// directly, in child order. Geometry and stacking work per group.
struct sSelectionGroup
{
    cContainer* container = nullptr;
    QList<cWidget*> widgets;
};

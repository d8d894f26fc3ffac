#include "cLayoutTabOrder.h"

#include "cLayout.h"
#include "Kelvari/Common/cContainer.h"

#include <algorithm>

QList<cWidget*> cLayoutTabOrder::ChildrenInTabOrder(cContainer* container) const
{
    QList<cWidget*> children = container->GetWidgetChildren()->Items();
    std::stable_sort(children.begin(), children.end(), [container](cWidget* a, cWidget* b) {
        return container->getContainerLocation(a) < container->getContainerLocation(b);
    });
    return children;
}

QList<cWidget*> cLayoutTabOrder::SiblingsInTabOrder(cWidget* widget) const
{
    cContainer* container = mLayout.FindContainer(widget);
    return container ? ChildrenInTabOrder(container) : mLayout.GetWidgets()->Items();
}

cWidget* cLayoutTabOrder::Next(cWidget* widget) const
{
    const QList<cWidget*>& topLevel = mLayout.GetWidgets()->Items();
    if (!widget)
        return topLevel.value(0);
    if (auto* container = qobject_cast<cContainer*>(widget))
    {
        const QList<cWidget*> children = ChildrenInTabOrder(container);
        if (!children.isEmpty())
            return children.first();
    }
    for (cWidget* current = widget; current; current = mLayout.FindContainer(current))
    {
        const QList<cWidget*> siblings = SiblingsInTabOrder(current);
        const int index = siblings.indexOf(current);
        if (index >= 0 && index + 1 < siblings.size())
            return siblings.at(index + 1);
    }
    return topLevel.value(0);
}

cWidget* cLayoutTabOrder::Previous(cWidget* widget) const
{
    const QList<cWidget*>& topLevel = mLayout.GetWidgets()->Items();
    cWidget* start = widget ? widget : topLevel.value(0);
    if (!start)
        return nullptr;
    cContainer* container = mLayout.FindContainer(start);
    const QList<cWidget*> siblings = container ? ChildrenInTabOrder(container) : topLevel;
    const int index = siblings.indexOf(start);
    cWidget* result = nullptr;
    if (index > 0)
        result = siblings.at(index - 1);
    else if (container)
        return container;
    else
        result = topLevel.value(topLevel.size() - 1);
    while (auto* inner = qobject_cast<cContainer*>(result))
    {
        const QList<cWidget*> children = ChildrenInTabOrder(inner);
        if (children.isEmpty())
            break;
        result = children.last();
    }
    return result;
}

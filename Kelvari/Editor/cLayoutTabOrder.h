#pragma once

#include <QList>

class cContainer;
class cLayout;
class cWidget;

// Keyboard order over a page's widget tree: a container's children by
// ascending location, each location in child order; after the last widget of
// a container comes the widget after the container.
class cLayoutTabOrder
{
public:
    explicit cLayoutTabOrder(const cLayout& layout) : mLayout(layout) {}

    // Null only on an empty page.
    cWidget* Next(cWidget* widget) const;
    cWidget* Previous(cWidget* widget) const;

private:
    QList<cWidget*> ChildrenInTabOrder(cContainer* container) const;
    QList<cWidget*> SiblingsInTabOrder(cWidget* widget) const;

    const cLayout& mLayout;
};

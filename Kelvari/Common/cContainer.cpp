#include "cContainer.h"

cContainer::cContainer(int id, const QString& type, QObject* parent)
    : cWidget(id, type, parent),
      mWidgetChildren(new QQmlObjectListModel<cWidget>(this))
{
}

void cContainer::AddContainerChild(cWidget* widget, int)
{
    // A child stands once in the list, so adding it again keeps its place.
    if (widget && !mWidgetChildren->contains(widget))
        mWidgetChildren->append(widget);
}

void cContainer::RemoveContainerChild(cWidget* widget)
{
    mWidgetChildren->remove(static_cast<QObject*>(widget));
}

int cContainer::GetCurrentContainerIndex() const
{
    return 0;
}

void cContainer::SetCurrentContainerIndex(int)
{
    // A container with a single location has nothing to switch.
}

void cContainer::SetChildrenVisibility()
{
    const QList<cWidget*> children = mWidgetChildren->Items();
    for (cWidget* child : children)
        child->SetIsVisible(IsVisible());
}

void cContainer::SetIsVisible(bool visible)
{
    if (visible == IsVisible())
        return;
    cWidget::SetIsVisible(visible);
    SetChildrenVisibility();
}

void cContainer::SetOnline(std::shared_ptr<cKelvariConfigClient> client)
{
    cWidget::SetOnline(client);
    const QList<cWidget*> children = mWidgetChildren->Items();
    for (cWidget* child : children)
        child->SetOnline(client);
}

void cContainer::SetOffline()
{
    cWidget::SetOffline();
    const QList<cWidget*> children = mWidgetChildren->Items();
    for (cWidget* child : children)
        child->SetOffline();
}

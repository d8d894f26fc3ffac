// A page's widget tree: widgets created, deleted and moved between containers, with their undo steps and
// the items every view shows for them.
#include "cLayout.h"

#include "cEditorWidgetFactory.h"
#include "cLayoutOnlineMode.h"
#include "cLayoutTree.h"
#include "cLayoutUndoManager.h"
#include "cLayoutViews.h"
#include "Kelvari/Common/cContainer.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QQuickItem>

void cLayout::EmitDeleteRequests(cWidget* widget)
{
    // A copy: a view that destroys the item at once shortens the widget's list.
    const QList<QQuickItem*> items = widget->GetQQuickItems();
    for (QQuickItem* item : items)
        emit deleteRequest(item);
}

void cLayout::DeleteWidget(cWidget* widget)
{
    if (!IsOnPage(widget))
    {
        // Recording it would let undo put back a widget that was never on the page.
        ZR_ERROR("Widget %d to delete is not on layout '%s'", widget ? widget->GetId() : -1,
                 qPrintable(mDetails.name));
        return;
    }
    if (auto* container = qobject_cast<cContainer*>(widget))
    {
        const QList<cWidget*> children = container->GetWidgetChildren()->Items();
        for (int i = children.size() - 1; i >= 0; --i)
            DeleteWidget(children.at(i));
    }
    EmitDeleteRequests(widget);
    cContainer* container = FindContainer(widget);
    int location = -1;
    if (container)
    {
        location = container->getContainerLocation(widget);
        container->RemoveContainerChild(widget);
        NestedWidgetsChanged();
    }
    else
    {
        mWidgets->remove(widget);
    }
    LeaveSelection(widget);
    mOnlineMode->WidgetLeft(widget);
    mUndoManager->AddDeleteWidgetAction(widget, container, location);
}

void cLayout::LeaveSelection(cWidget* widget)
{
    if (!widget->IsSelected())
        return;
    widget->SetSelected(false);
    mSelectionManager->SelectedWidgetRemoved(widget);
}

// The top level reaches the config through the widget model's count; changes
// inside containers come here, so that what uses which resource stays right.
void cLayout::NestedWidgetsChanged()
{
    mConfig.LayoutWidgetCountChanged();
}

cContainer* cLayout::PlaceWidget(cWidget* widget, cContainer* container, int location)
{
    if (container)
    {
        container->AddContainerChild(widget, location);
        if (container->GetWidgetChildren()->contains(widget))
        {
            NestedWidgetsChanged();
            return container;
        }
        // The container lost that location; the top level keeps the widget on the page.
        ZR_ERROR("Container %d cannot take widget %d at %d; placed at the top level", container->GetId(),
                 widget->GetId(), location);
    }
    mWidgets->append(widget);
    return nullptr;
}

void cLayout::UndoNewWidget(cWidget* widget)
{
    if (!widget)
        return;
    LeaveSelection(widget);
    EmitDeleteRequests(widget);
    if (cContainer* container = FindContainer(widget))
    {
        container->RemoveContainerChild(widget);
        NestedWidgetsChanged();
    }
    else
    {
        mWidgets->remove(widget);
    }
    mOnlineMode->WidgetLeft(widget);
}

void cLayout::RedoNewWidget(cWidget* widget, cContainer* container, int containerLocation)
{
    if (!widget)
        return;
    if (IsOnPage(widget))
    {
        ZR_ERROR("Widget %d is already on layout '%s'", widget->GetId(), qPrintable(mDetails.name));
        return;
    }
    cContainer* placed = PlaceWidget(widget, container, containerLocation);
    mOnlineMode->WidgetEntered(widget);
    if (placed)
        emit createRequest(widget, placed->LinkedContainerQuickItems(containerLocation).value(0),
                           containerLocation);
    else
        emit createRequest(widget, mEditContent, containerLocation);
}

void cLayout::UndoDeleteWidget(cWidget* widget, cContainer* container, int containerLocation)
{
    RedoNewWidget(widget, container, containerLocation);
}

void cLayout::RedoDeleteWidget(cWidget* widget)
{
    UndoNewWidget(widget);
}

void cLayout::UndoOrRedoMoveContainer(cWidget* widget, cContainer* container, int containerLocation)
{
    SetWidgetContainer(widget, container, containerLocation, false);
}

void cLayout::SetWidgetContainer(cWidget* widget, cContainer* container, int location, bool keepPlace)
{
    if (!IsOnPage(widget))
    {
        ZR_ERROR("Widget %d to move is not on layout '%s'", widget ? widget->GetId() : -1,
                 qPrintable(mDetails.name));
        return;
    }
    if (container && cLayoutTree::IsWithin(container, widget))
    {
        // A widget inside itself would leave the page and loop the tree.
        ZR_ERROR("Widget %d cannot move into itself or a widget inside it", widget->GetId());
        return;
    }
    cContainer* oldContainer = FindContainer(widget);
    const int oldLocation = oldContainer ? oldContainer->getContainerLocation(widget) : -1;
    // A location means nothing at the top level.
    if (oldContainer == container && (!container || oldLocation == location))
        return;

    const int oldIndex = mWidgets->indexOf(widget);
    if (oldContainer)
        oldContainer->RemoveContainerChild(widget);
    else
        mWidgets->remove(widget);

    const QList<QQuickItem*> items = widget->GetQQuickItems();
    if (container)
    {
        container->AddContainerChild(widget, location);
        if (!container->GetWidgetChildren()->contains(widget))
        {
            ZR_ERROR("Container %d cannot take widget %d at %d; the widget stays where it was",
                     container->GetId(), widget->GetId(), location);
            if (oldContainer)
                oldContainer->AddContainerChild(widget, oldLocation);
            else
                mWidgets->insert(oldIndex, widget);
            return;
        }
    }
    else
    {
        mWidgets->append(widget);
    }
    const QList<QQuickItem*> candidates = container ? container->LinkedContainerQuickItems(location)
                                                    : mViews->ContentItems();
    cLayoutTree::MoveItems(widget, items, mViews->ParentsFor(items, candidates), keepPlace);
    mUndoManager->AddMoveContainerAction(widget, oldContainer, oldLocation, container, location);
    if (qobject_cast<cContainer*>(widget))
        RebuildVisuallySortedDropAreaList();
}

QObject* cLayout::createAndAddWidget(QString Type, cWidget* ContainerWidget, int ContainerLocation,
                                     float XFraction, float YFraction, float WidthFraction, float HeightFraction)
{
    cWidget* widget = cEditorWidgetFactory::CreateWidget(Type, mConfig.GetNextId(), mConfig.ConfigBase(), this);
    widget->setXFraction(XFraction);
    widget->setYFraction(YFraction);
    widget->setWidthFraction(WidthFraction);
    widget->setHeightFraction(HeightFraction);
    cContainer* container = PlaceWidget(widget, qobject_cast<cContainer*>(ContainerWidget), ContainerLocation);
    const int location = container ? ContainerLocation : -1;
    LinkPropertiesToUndoManager(widget);
    SendToFront({widget}, container ? container->GetWidgetChildren()->Items() : mWidgets->Items());
    mUndoManager->AddNewWidgetAction(widget, container, location);
    mOnlineMode->WidgetEntered(widget);
    return widget;
}

void cLayout::AddWidget(cWidget* widget)
{
    if (!widget)
        return;
    mWidgets->append(widget);
    LinkPropertiesToUndoManager(widget);
}

void cLayout::deletePressed()
{
    commitPendingEdits();
    const QList<cWidget*> selected = mSelectionManager->GetSelectedWidgets();
    for (int i = selected.size() - 1; i >= 0; --i)
    {
        // A child already went with its selected container.
        if (IsOnPage(selected.at(i)))
            DeleteWidget(selected.at(i));
    }
    mSelectionManager->setSelection(nullptr);
    closeUndoBlock();
}

void cLayout::AddPastedWidgetUndoActions(cWidget* widget, cContainer* container, int location)
{
    mOnlineMode->WidgetEntered(widget);
    mUndoManager->AddNewWidgetAction(widget, container, location);
    if (auto* inner = qobject_cast<cContainer*>(widget))
    {
        for (cWidget* child : inner->GetWidgetChildren()->Items())
            AddPastedWidgetUndoActions(child, inner, inner->getContainerLocation(child));
    }
}

void cLayout::RecursiveCreateRequest(cWidget* widget, QQuickItem* parentItem, int location)
{
    emit createRequest(widget, parentItem, location);
    if (auto* inner = qobject_cast<cContainer*>(widget))
    {
        for (cWidget* child : inner->GetWidgetChildren()->Items())
        {
            const int childLocation = inner->getContainerLocation(child);
            RecursiveCreateRequest(child, inner->LinkedContainerQuickItems(childLocation).value(0), childLocation);
        }
    }
}

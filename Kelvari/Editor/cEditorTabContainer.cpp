#include "cEditorTabContainer.h"

#include "cLayout.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"

cEditorTabContainer::cEditorTabContainer(int id, QObject* parent, const cConfigBase& config)
    : cTabContainer(id, parent, config), mLayout(qobject_cast<cLayout*>(parent))
{
    // Connected before the page links the property to its undo manager, so
    // the deletions are recorded before the tab count: undo brings the tabs
    // back before their widgets.
    connect(GetNumberOfTabsProperty(), &cProperty::ValueAboutToChange, this,
            &cEditorTabContainer::PropertyNumberOfTabsAboutToChange);
}

int cEditorTabContainer::GetCurrentContainerIndex() const
{
    return currentTabIndex();
}

void cEditorTabContainer::SetCurrentContainerIndex(int index)
{
    setCurrentTabIndex(index);
}

void cEditorTabContainer::PropertyNumberOfTabsAboutToChange()
{
    const cNumberOfTabsProperty* property = GetNumberOfTabsProperty();
    const int oldCount = qBound(1, property->IntValue(), GetMaximumNumberOfTabs());
    const int newCount = qBound(1, property->ComingValue(), GetMaximumNumberOfTabs());
    for (int tabIndex = oldCount - 1; tabIndex >= newCount; --tabIndex)
    {
        const cTab* tab = GetTabs()->At(tabIndex);
        if (!tab)
            continue;
        const QList<cWidget*> widgets = tab->GetWidgets();
        for (cWidget* widget : widgets)
        {
            if (mLayout)
            {
                mLayout->DeleteWidget(widget);
            }
            else
            {
                // Without a page there is no undo to keep it for; a widget
                // left on a vanished tab would still be listed as a child.
                RemoveContainerChild(widget);
                if (!widget->parent())
                    delete widget;
            }
        }
    }
}

void cEditorTabContainer::LoadedChildAdded(cWidget* widget, QObject* parent)
{
    if (auto* layout = qobject_cast<cLayout*>(parent))
    {
        layout->LinkPropertiesToUndoManager(widget);
        layout->IncreaseNextIdOnLoad(widget);
    }
}

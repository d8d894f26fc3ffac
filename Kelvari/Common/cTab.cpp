#include "cTab.h"

#include "cStringProperty.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QQuickItem>

cTab::cTab(QObject* parent)
    : QObject(parent)
{
}

void cTab::AddWidget(cWidget* widget)
{
    mWidgets.append(widget);
}

void cTab::RemoveWidget(cWidget* widget)
{
    mWidgets.removeAll(widget);
}

void cTab::SetTabName(const QString& name)
{
    if (name == mTabName)
        return;
    mTabName = name;
    emit tabNameChanged();
}

void cTab::SetTabNameFromProperty()
{
    if (const auto* property = qobject_cast<const cStringProperty*>(sender()))
        SetTabName(property->stringValue());
}

void cTab::addLinkedContainerQuickItem(QQuickItem* QuickItem, bool LayoutEditor)
{
    if (!QuickItem)
    {
        ZR_ERROR("No page item given for tab '%s'", qPrintable(mTabName));
        return;
    }
    if (LayoutEditor)
        mLinkedContainerQuickItems.prepend(QuickItem);
    else
        mLinkedContainerQuickItems.append(QuickItem);
    connect(QuickItem, &QObject::destroyed, this, &cTab::QQuickItemDestroyed, Qt::UniqueConnection);
}

void cTab::QQuickItemDestroyed()
{
    // Only the address is compared: the item is already being destroyed.
    mLinkedContainerQuickItems.removeAll(static_cast<QQuickItem*>(sender()));
}

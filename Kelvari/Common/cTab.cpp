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
    // The item is captured while alive: once destroyed() is emitted it is no
    // longer a QQuickItem, so the sender cannot be cast back to one.
    connect(QuickItem, &QObject::destroyed, this, [this, QuickItem] { QQuickItemDestroyed(QuickItem); });
}

void cTab::QQuickItemDestroyed(QQuickItem* item)
{
    mLinkedContainerQuickItems.removeAll(item);
}

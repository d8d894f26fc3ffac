#include "cLayoutDropAreas.h"

#include "cLayout.h"
#include "Kelvari/Common/cContainer.h"

#include <QQuickItem>
#include <algorithm>
#include <functional>

namespace
{
const QString kEditContentDropAreaName = QStringLiteral("editContentDropArea");
}

cLayoutDropAreas::cLayoutDropAreas(cLayout* layout) : QObject(layout), mLayout(layout)
{
}

void cLayoutDropAreas::Register(QQuickItem* area)
{
    if (!area)
        return;
    if (!mRegistered.contains(area))
    {
        connect(area, &QObject::destroyed, this, [this, area] { AreaDestroyed(area); });
        connect(area, &QQuickItem::zChanged, this, &cLayoutDropAreas::Rebuild);
        connect(area, &QQuickItem::parentChanged, this, &cLayoutDropAreas::Rebuild);
        mRegistered.append(area);
    }
    Rebuild();
}

void cLayoutDropAreas::AreaDestroyed(QQuickItem* area)
{
    mRegistered.removeAll(area);
    mVisuallySorted.removeAll(area);
}

void cLayoutDropAreas::Rebuild()
{
    mVisuallySorted.clear();
    QQuickItem* canvas = mLayout->editContent();
    if (!canvas)
        return;
    // Depth first, children by ascending z: later in the walk is drawn later,
    // so prepending puts the topmost first.
    std::function<void(QQuickItem*)> walk = [this, &walk](QQuickItem* item) {
        QList<QQuickItem*> children = item->childItems();
        std::stable_sort(children.begin(), children.end(),
                         [](const QQuickItem* a, const QQuickItem* b) { return a->z() < b->z(); });
        for (QQuickItem* child : qAsConst(children))
        {
            // The canvas's own area goes last, whatever its place.
            if (mRegistered.contains(child) && child->objectName() != kEditContentDropAreaName)
                mVisuallySorted.prepend(child);
            walk(child);
        }
    };
    walk(canvas);
    for (QQuickItem* area : qAsConst(mRegistered))
    {
        if (area->objectName() == kEditContentDropAreaName)
            mVisuallySorted.append(area);
    }
}

QQuickItem* cLayoutDropAreas::Find(QQuickItem* item, bool itemIsContainer) const
{
    if (!item)
        return nullptr;
    const QRectF itemRect(item->mapToScene(QPointF(0, 0)), QSizeF(item->width(), item->height()));
    for (QQuickItem* area : mVisuallySorted)
    {
        if (!area->isVisible())
            continue;
        const QRectF areaRect(area->mapToScene(QPointF(0, 0)), QSizeF(area->width(), area->height()));
        if (!areaRect.contains(itemRect))
            continue;
        if (itemIsContainer)
        {
            auto* holder = qobject_cast<cWidget*>(qvariant_cast<QObject*>(area->property("cppWidget")));
            if (holder && mLayout->GetNestingLevel(holder) + 1 >= cLayout::mMaximumContainerNesting)
                continue;
        }
        return area;
    }
    return nullptr;
}

void cLayoutDropAreas::Highlight(const QList<QQuickItem*>& targets) const
{
    for (QQuickItem* area : mVisuallySorted)
    {
        if (!targets.contains(area))
            area->setProperty("highlight", false);
    }
    for (QQuickItem* area : targets)
        area->setProperty("highlight", true);
}

void cLayoutDropAreas::HighlightUnder(const QList<cWidget*>& widgets) const
{
    QList<QQuickItem*> targets;
    for (cWidget* widget : widgets)
    {
        QQuickItem* target = Find(widget->GetQQuickItems().value(0), qobject_cast<cContainer*>(widget));
        if (target && !targets.contains(target))
            targets.append(target);
    }
    Highlight(targets);
}

void cLayoutDropAreas::DropIntoAreasUnder(const QList<cWidget*>& widgets) const
{
    for (cWidget* widget : widgets)
    {
        const QQuickItem* area = Find(widget->GetQQuickItems().value(0), qobject_cast<cContainer*>(widget));
        if (!area)
            continue;
        auto* container = qobject_cast<cContainer*>(qvariant_cast<QObject*>(area->property("cppWidget")));
        mLayout->SetWidgetContainer(widget, container, area->property("containerLocation").toInt(), true);
    }
}

#include "cLayoutTree.h"

#include "Kelvari/Common/cContainer.h"

#include <QQuickItem>
#include <algorithm>

bool cLayoutTree::Locate(cWidget* widget, const QList<cWidget*>& members, cContainer* membersHolder,
                         cContainer*& holder, int& level)
{
    if (members.contains(widget))
    {
        holder = membersHolder;
        level = 0;
        return true;
    }
    for (cWidget* member : members)
    {
        auto* container = qobject_cast<cContainer*>(member);
        if (container && Locate(widget, container->GetWidgetChildren()->Items(), container, holder, level))
        {
            ++level;
            return true;
        }
    }
    return false;
}

bool cLayoutTree::IsWithin(const cWidget* candidate, cWidget* widget)
{
    if (candidate == widget)
        return true;
    auto* container = qobject_cast<cContainer*>(widget);
    if (!container)
        return false;
    const QList<cWidget*>& children = container->GetWidgetChildren()->Items();
    return std::any_of(children.begin(), children.end(),
                       [candidate](cWidget* child) { return IsWithin(candidate, child); });
}

QRectF cLayoutTree::CanvasFractions(cWidget* widget, QQuickItem* canvas)
{
    if (!widget || widget->GetQQuickItems().isEmpty() || !canvas)
        return QRectF();
    const QQuickItem* item = widget->GetQQuickItems().first();
    QQuickItem* parent = item->parentItem();
    const qreal baseWidth = canvas->width();
    const qreal baseHeight = canvas->height();
    if (!parent || baseWidth <= 0 || baseHeight <= 0)
        return QRectF();
    const QPointF corner(static_cast<float>(parent->width() * widget->xFraction()),
                         static_cast<float>(parent->height() * widget->yFraction()));
    const QPointF mapped = parent->mapToItem(canvas, corner);
    return QRectF(mapped.x() / baseWidth, mapped.y() / baseHeight, item->width() / baseWidth,
                  item->height() / baseHeight);
}

void cLayoutTree::MoveItems(cWidget* widget, const QList<QQuickItem*>& items, const QList<QQuickItem*>& parents,
                            bool keepPlace)
{
    if (keepPlace && !parents.isEmpty() && parents.first() && !items.isEmpty())
    {
        QQuickItem* parent = parents.first();
        QQuickItem* item = items.first();
        if (parent->width() > 0 && parent->height() > 0)
        {
            const QPointF mapped = item->mapToItem(parent, QPointF(0, 0));
            widget->setXFraction(static_cast<float>(mapped.x() / parent->width()));
            widget->setYFraction(static_cast<float>(mapped.y() / parent->height()));
            widget->setWidthFraction(static_cast<float>(item->width() / parent->width()));
            widget->setHeightFraction(static_cast<float>(item->height() / parent->height()));
        }
    }
    for (int i = 0; i < items.size() && i < parents.size(); ++i)
    {
        if (!parents.at(i))
            continue;
        items.at(i)->setParent(parents.at(i));
        items.at(i)->setParentItem(parents.at(i));
    }
}

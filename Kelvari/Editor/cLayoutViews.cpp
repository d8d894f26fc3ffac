#include "cLayoutViews.h"

#include <QQuickItem>

cLayoutViews::cLayoutViews(QObject* parent) : QObject(parent)
{
}

void cLayoutViews::Register(QQuickItem* contentItem, bool layoutEditor)
{
    if (!contentItem)
        return;
    const int view = layoutEditor ? eEditor
                                  : contentItem->property("isTestWindow").toBool() ? eTestWindow : eThumbnail;
    mContentItems[view] = contentItem;
}

QQuickItem* cLayoutViews::ContentItem(int view) const
{
    return view >= 0 && view < eViewCount ? mContentItems[view].data() : nullptr;
}

QList<QQuickItem*> cLayoutViews::ContentItems() const
{
    QList<QQuickItem*> items;
    for (const QPointer<QQuickItem>& item : mContentItems)
    {
        if (item)
            items.append(item);
    }
    return items;
}

int cLayoutViews::ViewOf(const QQuickItem* item) const
{
    for (; item; item = item->parentItem())
    {
        for (int view = 0; view < eViewCount; ++view)
        {
            if (mContentItems[view] == item)
                return view;
        }
    }
    return -1;
}

QQuickItem* cLayoutViews::InView(const QList<QQuickItem*>& candidates, int view) const
{
    for (QQuickItem* candidate : candidates)
    {
        if (view >= 0 && ViewOf(candidate) == view)
            return candidate;
    }
    return nullptr;
}

QList<QQuickItem*> cLayoutViews::ParentsFor(const QList<QQuickItem*>& items,
                                            const QList<QQuickItem*>& candidates) const
{
    QList<QQuickItem*> parents;
    for (int i = 0; i < items.size(); ++i)
    {
        QQuickItem* parent = InView(candidates, ViewOf(items.at(i)));
        parents.append(parent ? parent : candidates.value(i));
    }
    return parents;
}

#include "cCopiedLayoutImages.h"

#include "cLayout.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"

#include <QHash>
#include <QSet>
#include <functional>
#include <set>

namespace
{
void ForEachImageProperty(const QList<cWidget*>& widgets, const std::function<void(cImageProperty*)>& visit)
{
    for (cWidget* widget : widgets)
    {
        for (cProperty* property : widget->GetProperties())
            if (auto* image = qobject_cast<cImageProperty*>(property))
                visit(image);
        if (auto* container = qobject_cast<cContainer*>(widget))
            ForEachImageProperty(container->GetWidgetChildren()->Items(), visit);
    }
}

bool IsIdentical(const cImageResource* image, const sCopiedImage& copied)
{
    return image && image->Subtype() == copied.subtype && image->Data() == copied.data;
}

const cImageResource* FindIdentical(const cConfigBase& config, const sCopiedImage& copied)
{
    // The picture under its own id first, so that a paste into the same document keeps pointing at it.
    const cImageResource* own = config.FindImageResource(copied.resourceId);
    if (IsIdentical(own, copied))
        return own;
    for (const cResource* resource : config.Resources().Items())
    {
        const auto* image = qobject_cast<const cImageResource*>(resource);
        if (IsIdentical(image, copied))
            return image;
    }
    return nullptr;
}
}

void cCopiedLayoutImages::Copy(const cLayout& layout, const cConfigBase& config)
{
    Copy(layout.GetWidgets()->Items(), config);
}

void cCopiedLayoutImages::Copy(const QList<cWidget*>& widgets, const cConfigBase& config)
{
    mImages.clear();
    mGoneIds.clear();
    std::set<QString> ids;
    ForEachImageProperty(widgets, [&ids](cImageProperty* property) { ids.insert(property->stringValue()); });
    for (const QString& id : ids)
    {
        if (const cImageResource* image = config.FindImageResource(id))
            mImages.append({id, image->Name(), image->Image(), image->Data(), image->Subtype()});
        else if (cConfigBase::IsUserResourceId(id))
            mGoneIds.insert(id);
    }
}

QList<cImageResource*> cCopiedLayoutImages::Fit(cLayout& pasted, cConfigBase& config) const
{
    return Fit(pasted.GetWidgets()->Items(), config);
}

QList<cImageResource*> cCopiedLayoutImages::Fit(const QList<cWidget*>& pasted, cConfigBase& config) const
{
    QSet<QString> used;
    ForEachImageProperty(pasted, [&used](cImageProperty* property) { used.insert(property->stringValue()); });
    QList<cImageResource*> added;
    QHash<QString, QString> targetIds;
    for (const sCopiedImage& copied : mImages)
    {
        if (!used.contains(copied.resourceId))
            continue;
        if (const cImageResource* identical = FindIdentical(config, copied))
        {
            targetIds.insert(copied.resourceId, identical->resourceId());
            continue;
        }
        const QString id = QString::number(config.GetNextResourceId());
        added.append(new cImageResource(&config, id, copied.name, copied.image, copied.data, copied.subtype, &config));
        targetIds.insert(copied.resourceId, id);
    }
    // The id of a picture gone before the copy may name another picture here, or a later one: a fresh id names none.
    for (const QString& gone : mGoneIds)
    {
        if (used.contains(gone))
            targetIds.insert(gone, QString::number(config.GetNextResourceId()));
    }
    ForEachImageProperty(pasted, [&](cImageProperty* property) {
        const auto target = targetIds.constFind(property->stringValue());
        if (target != targetIds.constEnd())
            property->setStringValue(target.value());
    });
    return added;
}

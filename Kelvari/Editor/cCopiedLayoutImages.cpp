#include "cCopiedLayoutImages.h"

#include "cLayout.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"

#include <QHash>
#include <functional>

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

const cImageResource* FindIdentical(const cConfigBase& config, const sCopiedImage& copied)
{
    for (const cResource* resource : config.Resources().Items())
    {
        const auto* image = qobject_cast<const cImageResource*>(resource);
        if (image && image->Subtype() == copied.subtype && image->Data() == copied.data)
            return image;
    }
    return nullptr;
}
}

void cCopiedLayoutImages::Copy(const cLayout& layout, const cConfigBase& config)
{
    mImages.clear();
    for (const QString& id : layout.GetResourceIdsUsed(nullptr))
    {
        if (const cImageResource* image = config.FindImageResource(id))
            mImages.append({id, image->Name(), image->Image(), image->Data(), image->Subtype()});
    }
}

QList<cImageResource*> cCopiedLayoutImages::Fit(cLayout& pasted, cConfigBase& config) const
{
    QList<cImageResource*> added;
    QHash<QString, QString> targetIds;
    for (const sCopiedImage& copied : mImages)
    {
        if (const cImageResource* identical = FindIdentical(config, copied))
        {
            targetIds.insert(copied.resourceId, identical->resourceId());
            continue;
        }
        const QString id = QString::number(config.GetNextResourceId());
        added.append(new cImageResource(&config, id, copied.name, copied.image, copied.data, copied.subtype, &config));
        targetIds.insert(copied.resourceId, id);
    }
    ForEachImageProperty(pasted.GetWidgets()->Items(), [&](cImageProperty* property) {
        const auto target = targetIds.constFind(property->stringValue());
        if (target != targetIds.constEnd())
            property->setStringValue(target.value());
    });
    return added;
}

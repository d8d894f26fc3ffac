#include "cImageProperty.h"

#include "cResourceNotifier.h"

cImageProperty::cImageProperty(const QString& name, const cResourceNotifier& config, QObject* parent)
    : cProperty(Image, name, true, parent), mConfig(config), mResourceId(QStringLiteral("_default"))
{
    connect(&config, &cResourceNotifier::ResourceInserted, this, &cImageProperty::ResourceInserted);
    connect(&config, &cResourceNotifier::ResourceRemoved, this, &cImageProperty::ResourceRemoved);
    connect(&config, &cResourceNotifier::ResourceChanged, this, &cImageProperty::ResourceChanged);
    // The document is handed over read-only, yet it keeps its own record of
    // which layouts use which image, so it must hear of every id change.
    connect(this, &cProperty::valueChanged, const_cast<cResourceNotifier*>(&config),
            &cResourceNotifier::ImageResourceIdChanged);
}

void cImageProperty::setStringValue(const QString& resourceId)
{
    if (resourceId == mResourceId)
        return;
    emit ValueAboutToChange();
    mResourceId = resourceId;
    emit valueChanged();
}

void cImageProperty::ResourceInserted(QString ResourceId)
{
    if (ResourceId == mResourceId)
        emit ImageChanged();
}

void cImageProperty::ResourceRemoved(QString ResourceId)
{
    if (ResourceId == mResourceId)
        emit ImageChanged();
}

void cImageProperty::ResourceChanged(QString ResourceId)
{
    if (ResourceId == mResourceId)
        emit ImageChanged();
}

#include "cImageProperty.h"

#include "cResourceNotifier.h"

cImageProperty::cImageProperty(const QString& name, const cResourceNotifier& config, QObject* parent)
    : cProperty(Image, name, true, parent), mConfig(config), mResourceId(QStringLiteral("_default")), mNotifier(&config)
{
    // The document tells this property of the resource it shows (ResourceInserted, ResourceRemoved and
    // ResourceChanged of that id reach the slots of the same names).
    mNotifier->Follow(this);
    // The document is handed over read-only, yet it keeps its own record of
    // which layouts use which image, so it must hear of every id change.
    connect(this, &cProperty::valueChanged, const_cast<cResourceNotifier*>(&config),
            &cResourceNotifier::ImageResourceIdChanged);
}

cImageProperty::~cImageProperty()
{
    if (mNotifier)
        mNotifier->Unfollow(this);
}

void cImageProperty::setStringValue(const QString& resourceId)
{
    if (resourceId == mResourceId)
        return;
    emit ValueAboutToChange();
    if (mNotifier)
        mNotifier->Unfollow(this);
    mResourceId = resourceId;
    if (mNotifier)
        mNotifier->Follow(this);
    emit valueChanged();
}

QString cImageProperty::PictureRequest() const
{
    return mNotifier ? mNotifier->PictureRequest(mResourceId) : mResourceId;
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

#include "cResource.h"

#include "cConfigBase.h"
#include "cStringProperty.h"
#include "cTextBlockProperty.h"

cResource::cResource(QObject* parent, const QString& id, const QString& name, const QString& type,
                     const cConfigBase* config)
    : QObject(parent)
    , mProperties(new QQmlObjectListModel<cProperty>(this))
    , mResourceId(id)
    , mName(new cStringProperty(QStringLiteral("Name"), name, this, true))
    , mType(new cStringProperty(QStringLiteral("Type"), type, this, false))
{
    mProperties->append(mName);
    mProperties->append(mType);
    if (config)
        connect(mName, &cProperty::valueChanged, config, &cConfigBase::ResourceNameChanged);
    mLayouts = new cTextBlockProperty(QStringLiteral("Layouts"), QString(), this, false);
    mProperties->append(mLayouts);
}

QString cResource::Name() const
{
    return mName->stringValue();
}

cProperty* cResource::nameProperty() const
{
    return mName;
}

void cResource::SetSelected(bool selected)
{
    if (selected == mSelected)
        return;
    mSelected = selected;
    emit selectedChanged();
}

void cResource::SetLayoutNames(const QStringList& layoutNames)
{
    QString text;
    for (const QString& name : layoutNames)
        text += name + QLatin1Char('\n');
    mLayouts->setStringValue(text);
}

QString cResource::LayoutNames() const
{
    return mLayouts->stringValue();
}

void cResource::InsertBeforeLayouts(cProperty* property)
{
    mProperties->insert(mProperties->count() - 1, property);
}

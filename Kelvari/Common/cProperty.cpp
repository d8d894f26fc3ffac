#include "cProperty.h"

cProperty::cProperty(ePropertyType type, const QString& name, bool editable, QObject* parent)
    : QObject(parent), mType(type), mName(name), mEditable(editable)
{
}

void cProperty::setVisible(bool visible)
{
    if (visible == mVisible)
        return;
    mVisible = visible;
    emit visibleChanged(visible);
}

void cProperty::setStringValue(const QString&)
{
}

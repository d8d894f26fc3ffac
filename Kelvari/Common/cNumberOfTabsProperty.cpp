#include "cNumberOfTabsProperty.h"

cNumberOfTabsProperty::cNumberOfTabsProperty(const QString& name, int value, QObject* parent)
    : cIntProperty(name, value, parent, 1, 10), mComingValue(value)
{
}

void cNumberOfTabsProperty::SetIntValue(int value)
{
    mComingValue = value;
    cIntProperty::SetIntValue(value);
}

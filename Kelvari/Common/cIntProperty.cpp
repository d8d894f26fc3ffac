#include "cIntProperty.h"

#include "ZRNet/Core/DebugTrace.h"

cIntProperty::cIntProperty(const QString& name, int value, QObject* parent, int lowBound, int highBound)
    : cProperty(Int, name, true, parent), mValue(value), mLowBound(lowBound), mHighBound(highBound)
{
}

void cIntProperty::setValue(const QVariant& value)
{
    bool ok = false;
    const int converted = value.toInt(&ok);
    // A value that is no number keeps the stored one rather than replacing it with 0.
    if (!ok)
    {
        ZR_ERROR("Error setting property int");
        return;
    }
    SetIntValue(converted);
}

void cIntProperty::SetIntValue(int value)
{
    if (value == mValue)
        return;
    emit ValueAboutToChange();
    mValue = value;
    emit valueChanged();
}

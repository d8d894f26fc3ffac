#include "cSizeFractionProperty.h"

cSizeFractionProperty::cSizeFractionProperty(const QString& name, float value, QObject* parent, float lowBound,
                                             float highBound)
    : cFloatProperty(name, SizeFraction, value, parent, lowBound, highBound)
{
}

QString cSizeFractionProperty::stringValue() const
{
    return TrimmedFixedText(static_cast<double>(FloatValue()) * 100.0, 2);
}

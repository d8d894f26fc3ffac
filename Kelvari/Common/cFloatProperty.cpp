#include "cFloatProperty.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QRegularExpression>
#include <cmath>

cFloatProperty::cFloatProperty(const QString& name, ePropertyType type, float value, QObject* parent,
                               float lowBound, float highBound)
    : cProperty(type, name, true, parent), mValue(value), mLowBound(lowBound), mHighBound(highBound)
{
}

cFloatProperty::cFloatProperty(const QString& name, float value, QObject* parent, float lowBound, float highBound)
    : cFloatProperty(name, Float, value, parent, lowBound, highBound)
{
}

void cFloatProperty::setValue(const QVariant& value)
{
    bool ok = false;
    const float converted = value.toFloat(&ok);
    // A value that is no number keeps the stored one rather than replacing it with 0.
    if (!ok)
    {
        ZR_ERROR("Error setting property float");
        return;
    }
    setFloatValue(converted);
}

QString cFloatProperty::stringValue() const
{
    return TrimmedFixedText(mValue, 4);
}

void cFloatProperty::setFloatValue(float value)
{
    if (!std::isfinite(value))
    {
        ZR_ERROR("Error setting property float");
        return;
    }
    if (value == mValue)
        return;
    emit ValueAboutToChange();
    mValue = value;
    AnnounceValueChanged();
}

void cFloatProperty::AnnounceValueChanged()
{
    emit valueChanged();
}

QString cFloatProperty::TrimmedFixedText(double value, int decimals)
{
    static const QRegularExpression trailingZeros("0+$");
    static const QRegularExpression trailingPoint("\\.$");
    QString text = QString::number(value, 'f', decimals);
    text.remove(trailingZeros);
    text.remove(trailingPoint);
    // A tiny negative value rounds to "-0", which reads as a different number.
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

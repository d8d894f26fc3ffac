#include "cColourProperty.h"

cColourProperty::cColourProperty(const QString& name, const QColor& colour, QObject* parent, bool editable)
    : cProperty(Colour, name, editable, parent), mColour(colour)
{
}

void cColourProperty::setValue(const QVariant& value)
{
    // A colour name converts; anything else gives an invalid colour, which is dropped.
    setColourValue(value.value<QColor>());
}

QString cColourProperty::stringValue() const
{
    return mColour.name(mColour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

void cColourProperty::setStringValue(const QString& text)
{
    setColourValue(QColor(text));
}

void cColourProperty::setColourValue(const QColor& colour)
{
    if (!colour.isValid() || colour == mColour)
        return;
    emit ValueAboutToChange();
    mColour = colour;
    emit valueChanged();
}

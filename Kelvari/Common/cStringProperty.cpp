#include "cStringProperty.h"

cStringProperty::cStringProperty(const QString& name, const QString& text, QObject* parent, bool editable)
    : cStringProperty(name, text, parent, String, editable)
{
}

cStringProperty::cStringProperty(const QString& name, const QString& text, QObject* parent, ePropertyType type,
                                 bool editable)
    : cProperty(type, name, editable, parent), mText(text)
{
}

void cStringProperty::setStringValue(const QString& text)
{
    if (text == mText)
        return;
    emit ValueAboutToChange();
    mText = text;
    emit valueChanged();
}

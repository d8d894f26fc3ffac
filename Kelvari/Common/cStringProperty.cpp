#include "cStringProperty.h"

#include "cXmlText.h"

cStringProperty::cStringProperty(const QString& name, const QString& text, QObject* parent, bool editable)
    : cStringProperty(name, text, parent, String, editable)
{
}

cStringProperty::cStringProperty(const QString& name, const QString& text, QObject* parent, ePropertyType type,
                                 bool editable)
    : cProperty(type, name, editable, parent), mText(cXmlText::Legal(text, name))
{
}

void cStringProperty::setStringValue(const QString& given)
{
    const QString text = cXmlText::Legal(given, name());
    if (text == mText)
        return;
    emit ValueAboutToChange();
    mText = text;
    emit valueChanged();
}

#include "cFontProperty.h"

cFontProperty::cFontProperty(const QString& name, const QString& fontCode, QObject* parent, bool editable)
    : cProperty(Font, name, editable, parent), mFontCode(fontCode)
{
}

void cFontProperty::setStringValue(const QString& fontCode)
{
    if (fontCode == mFontCode)
        return;
    emit ValueAboutToChange();
    mFontCode = fontCode;
    emit valueChanged();
}

#include "cComboProperty.h"

#include "ZRNet/Core/DebugTrace.h"

cComboProperty::cComboProperty(const QString& name, int index, const QStringList& choices, QObject* parent)
    : cProperty(Combo, name, true, parent), mIndex(index), mChoices(choices)
{
}

void cComboProperty::setValue(const QVariant& value)
{
    bool ok = false;
    const int converted = value.toInt(&ok);
    // A value that is no number keeps the stored choice rather than selecting the first.
    if (!ok)
    {
        ZR_ERROR("Error setting property combo int");
        return;
    }
    setIntValue(converted);
}

void cComboProperty::setIntValue(int index)
{
    if (index == mIndex)
        return;
    emit ValueAboutToChange();
    mIndex = index;
    emit valueChanged();
}

void cComboProperty::UpdateComboValues(const QStringList& choices, int index)
{
    if (choices != mChoices)
    {
        emit ValueAboutToChange();
        mChoices = choices;
        emit comboValuesChanged();
        if (mIndex == index)
            emit valueChanged();
    }
    setIntValue(index);
}

#pragma once

#include "cProperty.h"

#include <QStringList>

// A choice among display texts, stored as an index. The codes that the config
// file stores belong to the owning widget, not to the property.
class cComboProperty : public cProperty
{
    Q_OBJECT
    Q_PROPERTY(QStringList comboValues READ comboValues NOTIFY comboValuesChanged)

public:
    cComboProperty(const QString& name, int index, const QStringList& choices, QObject* parent);

    QVariant value() const override { return mIndex; }
    void setValue(const QVariant& value) override;
    // The display text at the index; empty for an index outside the choices.
    QString stringValue() const override { return mChoices.value(mIndex); }
    void setIntValue(int index);
    // Replaces choices and index in one step: when both change the signals are
    // ValueAboutToChange, comboValuesChanged, ValueAboutToChange, valueChanged.
    void UpdateComboValues(const QStringList& choices, int index);

    int IntValue() const { return mIndex; }
    QStringList comboValues() const { return mChoices; }

signals:
    void comboValuesChanged();

private:
    int mIndex;
    QStringList mChoices;
};

#pragma once

#include "cProperty.h"

// A floating-point setting, shown with at most four decimals. The bounds are
// limits for the editor, not checks; only non-finite values are refused, as
// they would corrupt geometry and the config file.
class cFloatProperty : public cProperty
{
    Q_OBJECT

public:
    cFloatProperty(const QString& name, ePropertyType type, float value, QObject* parent, float lowBound,
                   float highBound);
    cFloatProperty(const QString& name, float value, QObject* parent, float lowBound, float highBound);

    QVariant value() const override { return mValue; }
    void setValue(const QVariant& value) override;
    QString stringValue() const override;
    void setFloatValue(float value);

    float FloatValue() const { return mValue; }
    float LowBound() const { return mLowBound; }
    float HighBound() const { return mHighBound; }

protected:
    // The last step of a change: emits valueChanged().
    virtual void AnnounceValueChanged();
    // Fixed-point text with the given number of decimals, without trailing
    // zeros or a trailing point.
    static QString TrimmedFixedText(double value, int decimals);

private:
    float mValue;
    const float mLowBound;
    const float mHighBound;
};

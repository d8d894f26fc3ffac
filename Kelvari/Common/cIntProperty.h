#pragma once

#include "cProperty.h"

// An integer setting. The bounds are limits for the editor, not checks: any
// value is stored.
class cIntProperty : public cProperty
{
    Q_OBJECT

public:
    cIntProperty(const QString& name, int value, QObject* parent, int lowBound, int highBound);

    QVariant value() const override { return mValue; }
    void setValue(const QVariant& value) override;
    QString stringValue() const override { return QString::number(mValue); }
    virtual void SetIntValue(int value);

    int IntValue() const { return mValue; }
    int LowBound() const { return mLowBound; }
    int HighBound() const { return mHighBound; }

private:
    int mValue;
    const int mLowBound;
    const int mHighBound;
};

#pragma once

#include "cProperty.h"

// A font setting. It stores a font code (such as "lato"), never a family name.
class cFontProperty : public cProperty
{
    Q_OBJECT

public:
    cFontProperty(const QString& name, const QString& fontCode, QObject* parent, bool editable);

    QVariant value() const override { return mFontCode; }
    void setValue(const QVariant& value) override { setStringValue(value.toString()); }
    QString stringValue() const override { return mFontCode; }
    void setStringValue(const QString& fontCode) override;

private:
    QString mFontCode;
};

#pragma once

#include "cProperty.h"

// A one-line text setting.
class cStringProperty : public cProperty
{
    Q_OBJECT

public:
    cStringProperty(const QString& name, const QString& text, QObject* parent, bool editable);

    QVariant value() const override { return mText; }
    void setValue(const QVariant& value) override { setStringValue(value.toString()); }
    QString stringValue() const override { return mText; }
    void setStringValue(const QString& text) override;

protected:
    cStringProperty(const QString& name, const QString& text, QObject* parent, ePropertyType type, bool editable);

private:
    QString mText;
};

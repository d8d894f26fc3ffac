#pragma once

#include "cProperty.h"

#include <QColor>

// A colour setting. Invalid colours (a text that names no colour, a variant
// that does not convert) are dropped without a signal.
class cColourProperty : public cProperty
{
    Q_OBJECT

public:
    cColourProperty(const QString& name, const QColor& colour, QObject* parent, bool editable);

    QVariant value() const override { return mColour; }
    void setValue(const QVariant& value) override;
    // "#rrggbb" when opaque, otherwise "#aarrggbb".
    QString stringValue() const override;
    void setStringValue(const QString& text) override;
    void setColourValue(const QColor& colour);

    QColor ColourValue() const { return mColour; }

private:
    QColor mColour;
};

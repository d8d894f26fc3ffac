#pragma once

#include "cFloatProperty.h"

// A fraction of a container's size, shown as a percentage with at most two
// decimals (no percent sign).
class cSizeFractionProperty : public cFloatProperty
{
    Q_OBJECT

public:
    cSizeFractionProperty(const QString& name, float value, QObject* parent, float lowBound, float highBound);

    QString stringValue() const override;
};

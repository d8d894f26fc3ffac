#pragma once

#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cProperty.h"

#include <QStringList>

// Records the change signals of one property in the order they are emitted.
class cPropertySignalLog
{
public:
    explicit cPropertySignalLog(cProperty* property)
    {
        QObject::connect(property, &cProperty::ValueAboutToChange, [this] { mSignals << "ValueAboutToChange"; });
        QObject::connect(property, &cProperty::valueChanged, [this] { mSignals << "valueChanged"; });
        QObject::connect(property, &cProperty::visibleChanged,
                         [this](bool visible) { mSignals << QStringLiteral("visibleChanged(%1)").arg(visible); });
        if (auto* combo = qobject_cast<cComboProperty*>(property))
            QObject::connect(combo, &cComboProperty::comboValuesChanged, [this] { mSignals << "comboValuesChanged"; });
    }

    QStringList Signals() const { return mSignals; }
    static QStringList Change() { return {"ValueAboutToChange", "valueChanged"}; }

private:
    QStringList mSignals;
};

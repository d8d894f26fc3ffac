#pragma once

#include "cStringProperty.h"

// A multi-line text setting: a string whose type asks the editor for a text area.
class cTextBlockProperty : public cStringProperty
{
    Q_OBJECT

public:
    cTextBlockProperty(const QString& name, const QString& text, QObject* parent, bool editable);
};

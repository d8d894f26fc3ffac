#include "cTextBlockProperty.h"

cTextBlockProperty::cTextBlockProperty(const QString& name, const QString& text, QObject* parent, bool editable)
    : cStringProperty(name, text, parent, TextBlock, editable)
{
}

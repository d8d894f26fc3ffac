#include "cDefaultImageResource.h"

cDefaultImageResource::cDefaultImageResource(QObject* parent, const QString& id, const QString& name,
                                             const cConfigBase* config)
    : cResource(parent, id, name, QStringLiteral("Default image"), config)
{
}

#pragma once

#include "cResource.h"

// A built-in picture: one of the drawings carried at the program's resource
// root (":/" followed by the id), the default picture "_default", or "_basic",
// which has no picture. It has no natural size, so QML reads its size as 0.
class cDefaultImageResource : public cResource
{
    Q_OBJECT
    Q_PROPERTY(int originalWidth READ originalWidth CONSTANT)
    Q_PROPERTY(int originalHeight READ originalHeight CONSTANT)

public:
    cDefaultImageResource(QObject* parent, const QString& id, const QString& name, const cConfigBase* config);

    int originalWidth() const { return 0; }
    int originalHeight() const { return 0; }
};

#pragma once

#include <QSet>
#include <QString>

// One layout as the resources see it: its name and the ids of the resources
// that its widgets show anywhere in its widget tree.
struct sLayoutResourceUse
{
    QString layoutName;
    QSet<QString> resourceIds;
};

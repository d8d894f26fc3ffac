#pragma once

#include <QString>

// What a layout page is for: its users, devices, orientation, scenes and
// aspect ratio, and its name. The defaults are those of a new page and of
// every attribute missing from a "Layout" element.
struct sLayoutDetails
{
    bool allUsers = true;
    QString users;
    bool desktop = true;
    bool phone = true;
    bool tablet = true;
    int orientation = 0;
    bool allScenes = true;
    QString scenes;
    bool fixedAspectRatio = false;
    int aspectRatio1 = 4;
    int aspectRatio2 = 3;
    QString name;

    bool operator==(const sLayoutDetails& other) const
    {
        return allUsers == other.allUsers && users == other.users && desktop == other.desktop &&
               phone == other.phone && tablet == other.tablet && orientation == other.orientation &&
               allScenes == other.allScenes && scenes == other.scenes &&
               fixedAspectRatio == other.fixedAspectRatio && aspectRatio1 == other.aspectRatio1 &&
               aspectRatio2 == other.aspectRatio2 && name == other.name;
    }
    bool operator!=(const sLayoutDetails& other) const { return !(*this == other); }
};

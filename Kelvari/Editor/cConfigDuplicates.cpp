#include "cConfig.h"

#include <algorithm>

// The checks by which the layout details dialog tells a layout apart from the others.

bool cConfig::isLayoutNameDuplicate(cLayout* Ignore, QString Name) const
{
    const QList<cLayout*>& layouts = mLayouts->Items();
    return std::any_of(layouts.cbegin(), layouts.cend(),
                       [&](const cLayout* layout) { return layout != Ignore && layout->name() == Name; });
}

bool cConfig::isLayoutUsersDuplicate(cLayout* Ignore, bool AllUsers, QString Users) const
{
    const QList<cLayout*>& layouts = mLayouts->Items();
    return std::any_of(layouts.cbegin(), layouts.cend(),
                       [&](const cLayout* layout) { return layout != Ignore && SameUsers(*layout, AllUsers, Users); });
}

bool cConfig::isLayoutDeviceInformationDuplicate(cLayout* Ignore, bool Desktop, bool Phone, bool Tablet,
                                                 int Orientation) const
{
    const QList<cLayout*>& layouts = mLayouts->Items();
    return std::any_of(layouts.cbegin(), layouts.cend(), [&](const cLayout* layout) {
        return layout != Ignore && SameDevices(*layout, Desktop, Phone, Tablet, Orientation);
    });
}

bool cConfig::isLayoutScenesDuplicate(cLayout* Ignore, bool AllScenes, QString Scenes) const
{
    const QList<cLayout*>& layouts = mLayouts->Items();
    return std::any_of(layouts.cbegin(), layouts.cend(), [&](const cLayout* layout) {
        return layout != Ignore && SameScenes(*layout, AllScenes, Scenes);
    });
}

bool cConfig::isLayoutDetailsDuplicate(cLayout* Ignore, bool AllUsers, QString Users, bool Desktop, bool Phone,
                                       bool Tablet, int Orientation, bool AllScenes, QString Scenes) const
{
    const QList<cLayout*>& layouts = mLayouts->Items();
    return std::any_of(layouts.cbegin(), layouts.cend(), [&](const cLayout* layout) {
        return layout != Ignore && SameUsers(*layout, AllUsers, Users) &&
               SameDevices(*layout, Desktop, Phone, Tablet, Orientation) && SameScenes(*layout, AllScenes, Scenes);
    });
}

bool cConfig::SameUsers(const cLayout& layout, bool allUsers, const QString& users)
{
    return layout.allUsers() == allUsers && (allUsers || layout.users() == users);
}

bool cConfig::SameDevices(const cLayout& layout, bool desktop, bool phone, bool tablet, int orientation)
{
    return layout.desktop() == desktop && layout.phone() == phone && layout.tablet() == tablet &&
           layout.orientation() == orientation;
}

bool cConfig::SameScenes(const cLayout& layout, bool allScenes, const QString& scenes)
{
    return layout.allScenes() == allScenes && (allScenes || layout.scenes() == scenes);
}

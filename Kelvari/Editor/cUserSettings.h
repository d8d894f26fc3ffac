#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// The editor's user settings: every key it keeps in the platform's settings
// store, with the value a key has before anything was stored. Each access
// opens a fresh default QSettings (organisation "Brelvan", application
// "Kelvari Editor") and writes at once. The last unit's keys "LUN" and "LUI"
// belong to the connection interface and are kept there.
class cUserSettings
{
public:
    enum eSetting
    {
        eTestWindowUsername,
        eTestWindowPasswordHash,
        eRememberTestWindowLogin,
        eAdminPasswordHash,
        eRememberAdminPassword,
        eMainWindowGeometry,
        eTestWindowGeometry,
        eLastConfigFolder,
        eLastImageFolder,
        eSnapToGrid,
        eSnapSpacing,
        ePropertyPanelWidth,
        eAspectRatioIndex,
    };

    static QString Key(eSetting setting);
    static QVariant Default(eSetting setting);

    // The stored value, or the setting's default when none is stored.
    static QVariant Read(eSetting setting);
    static QString ReadString(eSetting setting) { return Read(setting).toString(); }
    static bool ReadBool(eSetting setting) { return Read(setting).toBool(); }
    static int ReadInt(eSetting setting) { return Read(setting).toInt(); }
    static QByteArray ReadBytes(eSetting setting) { return Read(setting).toByteArray(); }

    static void Write(eSetting setting, const QVariant& value);
};

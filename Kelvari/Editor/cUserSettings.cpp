#include "cUserSettings.h"

#include <QSettings>

namespace
{
struct sSettingEntry
{
    const char* mKey;
    QVariant mDefault;
};

// In the order of cUserSettings::eSetting.
const sSettingEntry& Entry(cUserSettings::eSetting setting)
{
    static const sSettingEntry table[] = {
        {"U", QString()},
        {"HP", QString()},
        {"RLD", true},
        {"AP", QString()},
        {"RP", true},
        {"SCG", QByteArray()},
        {"TSCG", QByteArray()},
        {"LCL", QString()},
        {"LIL", QString()},
        {"STG", false},
        {"SSP", 5},
        {"PPW", 400},
        {"ARI", 0},
    };
    static_assert(sizeof table / sizeof table[0] == cUserSettings::eAspectRatioIndex + 1,
                  "one row per setting");
    return table[setting];
}
}

QString cUserSettings::Key(eSetting setting)
{
    return QString::fromLatin1(Entry(setting).mKey);
}

QVariant cUserSettings::Default(eSetting setting)
{
    return Entry(setting).mDefault;
}

QVariant cUserSettings::Read(eSetting setting)
{
    return QSettings().value(Key(setting), Default(setting));
}

void cUserSettings::Write(eSetting setting, const QVariant& value)
{
    QSettings().setValue(Key(setting), value);
}

#pragma once

#include <QMap>
#include <QString>

// The fonts the program carries: a Font property stores one of these codes,
// and ":/" followed by the code is the font file in the resources. The family
// names are the ones shown to the user; a file may report another.
class cKelvariFonts
{
public:
    // Code to family name, iterated in ascending order of code: the order the user sees.
    static const QMap<QString, QString> mFontCodesToNames;
    static const QString mDefaultFontCode;
};

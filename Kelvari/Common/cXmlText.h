#pragma once

#include <QString>

// Texts that end up in the config file may hold only what XML 1.0 can carry;
// anything else would make every save fail, so it is taken out where the text is set.
class cXmlText
{
public:
    // The text without the characters XML 1.0 cannot hold; traces what it removed and from what.
    static QString Legal(const QString& text, const QString& what);
    static bool IsLegal(const QString& text);
};

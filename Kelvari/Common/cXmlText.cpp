#include "cXmlText.h"

#include "ZRNet/Core/DebugTrace.h"

namespace
{
bool IsLegalCharacter(uint c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Walks the text by code point; a lone surrogate counts as one illegal character.
template <typename Visit>
void ForEachCodePoint(const QString& text, Visit visit)
{
    for (int i = 0; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        {
            visit(QChar::surrogateToUcs4(c, text.at(i + 1)), i, 2);
            ++i;
        }
        else
            visit(c.isSurrogate() ? uint(0xFFFF) : uint(c.unicode()), i, 1);
    }
}
}

bool cXmlText::IsLegal(const QString& text)
{
    bool legal = true;
    ForEachCodePoint(text, [&](uint c, int, int) { legal = legal && IsLegalCharacter(c); });
    return legal;
}

QString cXmlText::Legal(const QString& text, const QString& what)
{
    if (IsLegal(text))
        return text;
    QString legal;
    legal.reserve(text.size());
    int removed = 0;
    ForEachCodePoint(text, [&](uint c, int at, int length) {
        if (IsLegalCharacter(c))
            legal.append(text.mid(at, length));
        else
            ++removed;
    });
    ZR_ERROR("Removed %d character(s) a config file cannot hold from '%s'", removed, qUtf8Printable(what));
    return legal;
}

#pragma once

#include <QString>

class cLayoutConfig;
class QXmlStreamReader;
class QXmlStreamWriter;

// Copied text of widgets or of a whole layout made ready to paste: every Widget element, nested and
// kept ones included and whatever the order of its attributes, gets a fresh id from the document.
class cWidgetIdRenumbering
{
public:
    // The text with fresh ids; empty (and traced) when the text cannot be read.
    static QString Renumber(const QString& xml, cLayoutConfig& config);

private:
    static void WriteRenumberedStart(const QXmlStreamReader& reader, QXmlStreamWriter& writer,
                                     cLayoutConfig& config);
};

#pragma once

#include "sLayoutDetails.h"

class QXmlStreamAttributes;
class QXmlStreamWriter;

// The details as attributes of the "Layout" element: booleans as "0" and
// "1", numbers in decimal; an unreadable number reads as 0, a missing
// attribute keeps its default.
class cLayoutDetailsXml
{
public:
    static sLayoutDetails Read(const QXmlStreamAttributes& attributes);
    static void Write(const sLayoutDetails& details, QXmlStreamWriter& writer);
};

#include "cLayoutDetailsXml.h"

#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

namespace
{
QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A text that is no decimal integer reads as 0.
int AttributeInt(const QStringRef& text)
{
    return text.toInt(nullptr, 10);
}
}

sLayoutDetails cLayoutDetailsXml::Read(const QXmlStreamAttributes& attributes)
{
    sLayoutDetails details;
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        const QStringRef name = attribute.name();
        const QStringRef value = attribute.value();
        if (name == QLatin1String("allUsers"))
            details.allUsers = AttributeInt(value) != 0;
        else if (name == QLatin1String("users"))
            details.users = value.toString();
        else if (name == QLatin1String("desktop"))
            details.desktop = AttributeInt(value) != 0;
        else if (name == QLatin1String("phone"))
            details.phone = AttributeInt(value) != 0;
        else if (name == QLatin1String("tablet"))
            details.tablet = AttributeInt(value) != 0;
        else if (name == QLatin1String("orientation"))
            details.orientation = AttributeInt(value);
        else if (name == QLatin1String("allScenes"))
            details.allScenes = AttributeInt(value) != 0;
        else if (name == QLatin1String("scenes"))
            details.scenes = value.toString();
        else if (name == QLatin1String("fixedAspectRatio"))
            details.fixedAspectRatio = AttributeInt(value) != 0;
        else if (name == QLatin1String("aspectRatio1"))
            details.aspectRatio1 = AttributeInt(value);
        else if (name == QLatin1String("aspectRatio2"))
            details.aspectRatio2 = AttributeInt(value);
        else if (name == QLatin1String("name"))
            details.name = value.toString();
    }
    return details;
}

void cLayoutDetailsXml::Write(const sLayoutDetails& details, QXmlStreamWriter& writer)
{
    writer.writeAttribute(QStringLiteral("name"), details.name);
    writer.writeAttribute(QStringLiteral("allUsers"), BoolText(details.allUsers));
    writer.writeAttribute(QStringLiteral("users"), details.users);
    writer.writeAttribute(QStringLiteral("desktop"), BoolText(details.desktop));
    writer.writeAttribute(QStringLiteral("phone"), BoolText(details.phone));
    writer.writeAttribute(QStringLiteral("tablet"), BoolText(details.tablet));
    writer.writeAttribute(QStringLiteral("orientation"), QString::number(details.orientation));
    writer.writeAttribute(QStringLiteral("allScenes"), BoolText(details.allScenes));
    writer.writeAttribute(QStringLiteral("scenes"), details.scenes);
    writer.writeAttribute(QStringLiteral("fixedAspectRatio"), BoolText(details.fixedAspectRatio));
    writer.writeAttribute(QStringLiteral("aspectRatio1"), QString::number(details.aspectRatio1));
    writer.writeAttribute(QStringLiteral("aspectRatio2"), QString::number(details.aspectRatio2));
}

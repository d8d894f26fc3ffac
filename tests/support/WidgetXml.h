#pragma once

#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cWidget.h"

#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <memory>

// Writing a widget's element to text and reading it back, for widget tests.
inline QString WriteWidgetXml(const cWidget& widget, bool indented = false)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(indented);
    widget.WriteXml(writer);
    return xml;
}

// A reader standing on the start of the first element of the text.
inline std::unique_ptr<QXmlStreamReader> XmlReaderOn(const QString& xml)
{
    auto reader = std::make_unique<QXmlStreamReader>(xml);
    reader->readNextStartElement();
    return reader;
}

// "name=value" for each attribute of the first element, in order.
inline QStringList XmlAttributes(const QString& xml)
{
    QStringList result;
    const auto reader = XmlReaderOn(xml);
    for (const QXmlStreamAttribute& attribute : reader->attributes())
        result << attribute.qualifiedName() + "=" + attribute.value();
    return result;
}

inline QStringList XmlAttributeNames(const QString& xml)
{
    QStringList names;
    for (const QString& attribute : XmlAttributes(xml))
        names << attribute.section('=', 0, 0);
    return names;
}

inline QStringList PropertyNames(const cWidget& widget)
{
    QStringList names;
    for (const cProperty* property : widget.GetProperties())
        names << property->name();
    return names;
}

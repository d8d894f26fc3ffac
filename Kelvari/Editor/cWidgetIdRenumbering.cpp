#include "cWidgetIdRenumbering.h"

#include "cLayoutConfig.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

QString cWidgetIdRenumbering::Renumber(const QString& xml, cLayoutConfig& config)
{
    QString renumbered;
    QXmlStreamReader reader(xml);
    QXmlStreamWriter writer(&renumbered);
    while (!reader.atEnd())
    {
        switch (reader.readNext())
        {
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::EndDocument:
        case QXmlStreamReader::Invalid:
            break;
        case QXmlStreamReader::StartElement:
            if (reader.name() == QLatin1String("Widget") && reader.namespaceUri().isEmpty())
                WriteRenumberedStart(reader, writer, config);
            else
                writer.writeCurrentToken(reader);
            break;
        default:
            writer.writeCurrentToken(reader);
            break;
        }
    }
    if (reader.hasError())
    {
        ZR_ERROR("Copied text cannot be pasted: %s at line %lld", qPrintable(reader.errorString()),
                 reader.lineNumber());
        return QString();
    }
    return renumbered;
}

void cWidgetIdRenumbering::WriteRenumberedStart(const QXmlStreamReader& reader, QXmlStreamWriter& writer,
                                                cLayoutConfig& config)
{
    // As the writer copies a start element itself, with the id replaced.
    writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
    for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations())
        writer.writeNamespace(declaration.namespaceUri().toString(), declaration.prefix().toString());
    for (const QXmlStreamAttribute& attribute : reader.attributes())
    {
        if (attribute.namespaceUri().isEmpty() && attribute.name() == QLatin1String("id"))
            writer.writeAttribute(QStringLiteral("id"), QString::number(config.GetNextId()));
        else
            writer.writeAttribute(attribute);
    }
}

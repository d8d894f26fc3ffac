// The document's file: writing the config's XML whole or into a file, and reading it back.
#include "cCappedBuffer.h"
#include "cConfig.h"
#include "cLayout.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cLowestFreeId.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <functional>
#include <optional>

namespace
{
const QString kInvalidFile = QStringLiteral("Invalid config data file");
const QString kInvalidVersion = QStringLiteral("Config data file contains an invalid version");
const QString kFileVersion = QStringLiteral("1.0.0");
}

bool cConfig::WriteXml(QFileDevice& file)
{
    QXmlStreamWriter writer(&file);
    if (!WriteXml(writer) || !file.flush() || file.error() != QFileDevice::NoError)
    {
        ZR_ERROR("Error writing config data to %s", qUtf8Printable(file.fileName()));
        mLoadFailureText = QStringLiteral("Error writing file %1").arg(file.fileName());
        return false;
    }
    return true;
}

bool cConfig::WriteXml(QByteArray& bytes, int maxSize)
{
    bytes.clear();
    cCappedBuffer buffer(&bytes, maxSize);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    if (WriteXml(writer))
        return true;
    bytes.clear();
    mLoadFailureText.clear();
    if (buffer.Overflowed())
    {
        ZR_ERROR("Config data is larger than %d bytes", maxSize);
        mLoadFailureText = QStringLiteral("The config is larger than the %1 bytes that can be held in memory").arg(maxSize);
    }
    return false;
}

bool cConfig::WriteXml(QXmlStreamWriter& writer)
{
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("KelvariConfig"));
    writer.writeAttribute(QStringLiteral("version"), kFileVersion);
    writer.writeEmptyElement(QStringLiteral("UIOptions"));
    writer.writeEmptyElement(QStringLiteral("Units"));
    writer.writeStartElement(QStringLiteral("Layouts"));
    for (const cLayout* layout : mLayouts->Items())
        layout->WriteXml(writer);
    writer.writeEndElement();
    WriteResourcesXml(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    return !writer.hasError();
}

void cConfig::WriteResourcesXml(QXmlStreamWriter& writer) const
{
    writer.writeStartElement(QStringLiteral("Resources"));
    for (const cResource* resource : Resources().Items())
    {
        const auto* image = qobject_cast<const cImageResource*>(resource);
        if (!image)
            continue;
        writer.writeStartElement(QStringLiteral("Resource"));
        writer.writeAttribute(QStringLiteral("id"), image->resourceId());
        writer.writeAttribute(QStringLiteral("type"), QStringLiteral("image"));
        writer.writeAttribute(QStringLiteral("name"), image->Name());
        writer.writeAttribute(QStringLiteral("subtype"), image->Subtype());
        writer.writeCharacters(QString::fromLatin1(image->Data().toBase64()));
        writer.writeEndElement();
    }
    writer.writeEndElement();
}

bool cConfig::SaveXml(const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
    {
        ZR_ERROR("Error opening file %s for writing", qUtf8Printable(fileName));
        mLoadFailureText = QStringLiteral("Error opening file %1 for writing").arg(fileName);
        return false;
    }
    if (!WriteXml(file))
        return false;
    if (!file.commit())
    {
        ZR_ERROR("Error writing config data to %s", qUtf8Printable(fileName));
        mLoadFailureText = QStringLiteral("Error writing file %1").arg(fileName);
        return false;
    }
    return true;
}

bool cConfig::ReadXml(QIODevice& device)
{
    QXmlStreamReader reader(&device);
    return ReadXml(reader);
}

bool cConfig::ReadXml(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    return ReadXml(reader);
}

void cConfig::ReadUIOptions(QXmlStreamReader& reader)
{
    reader.skipCurrentElement();
}

void cConfig::ReadUnitsFromXml(QXmlStreamReader& reader)
{
    reader.skipCurrentElement();
}

bool cConfig::FailRead(const QString& trace, const QString& failureText)
{
    ZR_ERROR("%s", qUtf8Printable(trace));
    mLoadFailureText = failureText;
    return false;
}

bool cConfig::ReadXml(QXmlStreamReader& reader)
{
    Reset(false);
    mReadReport.Clear();
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("KelvariConfig"))
        return FailRead(QStringLiteral("Error reading start element - found %1").arg(reader.name()), kInvalidFile);
    const QXmlStreamAttributes rootAttributes = reader.attributes();
    if (rootAttributes.isEmpty() || rootAttributes.first().name() != QLatin1String("version"))
        return FailRead(QStringLiteral("Error reading version"), kInvalidFile);
    SetVersionString(rootAttributes.first().value().toString());
    if (!ValidateVersionStringSetIsNewer(version()))
        return FailRead(QStringLiteral("Invalid config version"), kInvalidVersion);

    QList<cLayout*> read;
    const auto fail = [this, &read](const QString& trace) {
        mBatch = false;
        qDeleteAll(read);
        return FailRead(trace, kInvalidFile);
    };
    bool seenUIOptions = false;
    bool seenUnits = false;
    mBatch = true;
    while (reader.readNextStartElement())
    {
        const QStringRef name = reader.name();
        if (name == QLatin1String("UIOptions"))
        {
            if (seenUIOptions)
                return fail(QStringLiteral("Duplicate UI Options"));
            seenUIOptions = true;
            ReadUIOptions(reader);
        }
        else if (name == QLatin1String("Units"))
        {
            if (seenUnits)
                return fail(QStringLiteral("Duplicate Units"));
            seenUnits = true;
            ReadUnitsFromXml(reader);
        }
        else if (name == QLatin1String("Layouts"))
        {
            while (reader.readNextStartElement())
            {
                // Elements of a newer program inside the section are dropped like unknown sections.
                if (reader.name() == QLatin1String("Layout"))
                    read.append(cLayout::CreateFromXml(reader, *this, &mReadReport));
                else
                    reader.skipCurrentElement();
            }
        }
        else if (name == QLatin1String("Resources"))
        {
            ReadResourcesXml(reader, false, mReadReport);
        }
        else
        {
            reader.skipCurrentElement();
        }
    }
    // A truncated or malformed document, also one with content after its
    // root, is refused rather than taken for what it held so far.
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError())
        return fail(QStringLiteral("Error in config data at line %1: %2")
                        .arg(reader.lineNumber())
                        .arg(reader.errorString()));
    mBatch = false;
    RenumberDuplicateWidgetIds(read);
    for (cLayout* layout : qAsConst(read))
    {
        layout->clearUndoRedo();
        Adopt(layout);
    }
    // Stable, so that layouts that sort equal keep their order in the file.
    std::stable_sort(read.begin(), read.end(), LayoutLessThan);
    mLayouts->append(read);
    UpdateDirty();
    return true;
}

void cConfig::RenumberDuplicateWidgetIds(const QList<cLayout*>& layouts)
{
    // Every id read is below the next id by now, so the fresh ones meet no widget of the file. Past the end of
    // the range the ids in use are gathered once, not walked again for each fresh id.
    std::optional<cLowestFreeId> free;
    const auto freshId = [this, &free] {
        if (!free && !HasNextIdLeft())
            free = IdsInUse();
        return free ? TakeLowestFreeId(*free) : GetNextId();
    };
    QSet<int> taken;
    std::function<void(const QList<cWidget*>&)> visit = [&](const QList<cWidget*>& widgets) {
        for (cWidget* widget : widgets)
        {
            if (taken.contains(widget->GetId()))
            {
                const int fresh = freshId();
                ZR_ERROR("Widget id %d is taken by an earlier widget; given id %d", widget->GetId(), fresh);
                widget->SetId(fresh);
                mReadReport.AddWidgetRenumbered();
            }
            taken.insert(widget->GetId());
            if (const auto* container = qobject_cast<const cContainer*>(widget))
                visit(container->GetWidgetChildren()->Items());
        }
    };
    for (const cLayout* layout : layouts)
        visit(layout->GetWidgets()->Items());
}

#include "cWidget.h"

#include "cComboProperty.h"
#include "cSizeFractionProperty.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QQuickItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <typeindex>
#include <unordered_map>

const QString cWidget::mMultipleTypeName = QStringLiteral("multiple");

namespace
{
// The nearest single-precision number to 0.000999, kept as a float on purpose.
constexpr float kMinimumSizeFraction = 0.000999f;

// The names of the attributes a widget class writes itself, asked of its writer once per class. A
// handful of names: a scan compares them with the reader's text without copying it.
using tAttributeNames = QStringList;
std::unordered_map<std::type_index, tAttributeNames>& WrittenNamesByClass()
{
    static std::unordered_map<std::type_index, tAttributeNames> names;
    return names;
}
}

cWidget::cWidget(int id, const QString& type, QObject* parent)
    : QObject(parent),
      mId(id),
      mType(type),
      mXProperty(&cWidget::xFractionChanged, this, QStringLiteral("X"), -1, -2.0f, 2.0f),
      mYProperty(&cWidget::yFractionChanged, this, QStringLiteral("Y"), -1, -2.0f, 2.0f),
      mWidthProperty(&cWidget::widthFractionChanged, this, QStringLiteral("Width"), -1, kMinimumSizeFraction, 2.0f),
      mHeightProperty(&cWidget::heightFractionChanged, this, QStringLiteral("Height"), -1, kMinimumSizeFraction,
                      2.0f),
      mZProperty(&cWidget::zChanged, this, QStringLiteral("Z"), 0, 0.0f, 2.0f),
      mX(&mXProperty),
      mY(&mYProperty),
      mWidth(&mWidthProperty),
      mHeight(&mHeightProperty),
      mZ(&mZProperty)
{
    mZ->setVisible(false);
    mProperties.reserve(5);
    mProperties << mX << mY << mWidth << mHeight << mZ;
}

void cWidget::SetIsVisible(bool visible)
{
    if (visible == mVisible)
        return;
    mVisible = visible;
    emit IsVisibleChanged();
}

void cWidget::setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor)
{
    if (!CreatedQQuickItem)
    {
        ZR_ERROR("No QML item given for widget %d", mId);
        return;
    }
    if (LayoutEditor)
        mItems.prepend(CreatedQQuickItem);
    else
        mItems.append(CreatedQQuickItem);
    // The item is captured while alive: once destroyed() is emitted it is no
    // longer a QQuickItem, so the sender cannot be cast back to one.
    connect(CreatedQQuickItem, &QObject::destroyed, this,
            [this, CreatedQQuickItem] { QQuickItemDestroyed(CreatedQQuickItem); });
}

void cWidget::QQuickItemDestroyed(QQuickItem* item)
{
    mItems.removeAll(item);
}

void cWidget::LoadAttributes(QXmlStreamReader& reader)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    KeepUninterpretedAttributes(attributes);
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        const QStringRef name = attribute.name();
        cFloatProperty* target = nullptr;
        if (name == QLatin1String("x"))
            target = mX;
        else if (name == QLatin1String("y"))
            target = mY;
        else if (name == QLatin1String("width"))
            target = mWidth;
        else if (name == QLatin1String("height"))
            target = mHeight;
        else if (name == QLatin1String("z"))
            target = mZ;
        if (target)
            target->setFloatValue(AttributeFloat(attribute.value()));
    }
}

void cWidget::SetOnline(std::shared_ptr<cKelvariConfigClient>)
{
    mOnline = true;
}

void cWidget::SetOffline()
{
    mOnline = false;
    SetDisabled(false);
}

void cWidget::WriteXml(QXmlStreamWriter& writer) const
{
    writer.writeStartElement(QStringLiteral("Widget"));
    WriteAttributes(writer);
    WritePreservedAttributes(writer);
    WritePreservedNodes(writer);
    writer.writeEndElement();
}

void cWidget::LoadSubXml(QXmlStreamReader& reader, const cConfigBase&, QObject*, const cWidgetFactoryBase&,
                         std::shared_ptr<cKelvariConfigClient>&)
{
    // Every nested end is consumed with its node, so the first end is the widget's own.
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isEndElement())
            return;
        PreserveCurrentNode(reader);
    }
}

void cWidget::AssertValid() const
{
    // Diagnostic hook kept for subclasses; the base has no invariant to check.
}

void cWidget::SetWidgetToDemoMode()
{
    // Only some network-bound widgets have a demonstration mode.
}

void cWidget::WriteAttributes(QXmlStreamWriter& writer) const
{
    writer.writeAttribute(QStringLiteral("id"), QString::number(mId));
    writer.writeAttribute(QStringLiteral("type"), mType);
    writer.writeAttribute(QStringLiteral("x"), AttributeText(mX->FloatValue()));
    writer.writeAttribute(QStringLiteral("y"), AttributeText(mY->FloatValue()));
    writer.writeAttribute(QStringLiteral("width"), AttributeText(mWidth->FloatValue()));
    writer.writeAttribute(QStringLiteral("height"), AttributeText(mHeight->FloatValue()));
    writer.writeAttribute(QStringLiteral("z"), AttributeText(mZ->FloatValue()));
}

cProperty* cWidget::GetProperty(const QString& name) const
{
    for (cProperty* property : mProperties)
    {
        if (property->name() == name)
            return property;
    }
    return nullptr;
}

float cWidget::xFraction() const
{
    return mX->FloatValue();
}

float cWidget::yFraction() const
{
    return mY->FloatValue();
}

float cWidget::widthFraction() const
{
    return mWidth->FloatValue();
}

float cWidget::heightFraction() const
{
    return mHeight->FloatValue();
}

float cWidget::z() const
{
    return mZ->FloatValue();
}

void cWidget::setXFraction(float value)
{
    mX->setFloatValue(value);
}

void cWidget::setYFraction(float value)
{
    mY->setFloatValue(value);
}

void cWidget::setWidthFraction(float value)
{
    mWidth->setFloatValue(value);
}

void cWidget::setHeightFraction(float value)
{
    mHeight->setFloatValue(value);
}

void cWidget::SetZ(float value)
{
    mZ->setFloatValue(value);
}

void cWidget::SetDisabled(bool disabled)
{
    if (disabled == mDisabled)
        return;
    mDisabled = disabled;
    emit disabledChanged();
}

void cWidget::SetSelected(bool selected)
{
    if (selected == mSelected)
        return;
    mSelected = selected;
    emit selectedChanged();
}

bool cWidget::LoadBaseAttributes(QXmlStreamReader& reader, int& id, QString& type)
{
    id = -1;
    type.clear();
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        if (attribute.name() == QLatin1String("id"))
            id = attribute.value().toInt(nullptr, 10);
        else if (attribute.name() == QLatin1String("type"))
            type = attribute.value().toString();
        if (id != -1 && !type.isEmpty())
            break;
    }
    if (id == -1)
    {
        ZR_ERROR("Error loading widget id");
        return false;
    }
    if (type.isEmpty())
    {
        ZR_ERROR("Error loading widget type");
        return false;
    }
    return true;
}

void cWidget::SetComboPropertyIndex(const QString& code, const QList<QPair<QString, QString>>& table,
                                    cComboProperty* property)
{
    QList<QString> codes;
    for (const auto& entry : table)
        codes << entry.second;
    SetComboPropertyIndex(code, codes, property);
}

void cWidget::SetComboPropertyIndex(const QString& code, const QList<QString>& codes, cComboProperty* property)
{
    const int index = codes.indexOf(code);
    if (index < 0)
    {
        ZR_ERROR("Property '%s' has unknown code '%s'", qPrintable(property->name()), qPrintable(code));
        property->setIntValue(0);
        return;
    }
    property->setIntValue(index);
}

void cWidget::AssertHasProperty(const QObject*, const QString&)
{
    // Diagnostic hook called before an item's property is written; it checks
    // nothing, as QML components may declare their properties late.
}

QString cWidget::AttributeText(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

float cWidget::AttributeFloat(const QStringRef& text)
{
    // Plain decimals, as the program writes them, are read without the locale machinery of
    // QStringRef::toFloat; anything else (exponents, blanks, signs, words) goes the general way.
    constexpr int kPlainLength = 24;
    if (text.size() > 0 && text.size() <= kPlainLength)
    {
        char plain[kPlainLength];
        bool isPlain = true;
        for (int i = 0; i < text.size() && isPlain; ++i)
        {
            const ushort c = text.at(i).unicode();
            isPlain = (c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0);
            plain[i] = char(c);
        }
        double value = 0;
        const auto parsed = std::from_chars(plain, plain + text.size(), value);
        if (isPlain && parsed.ec == std::errc() && parsed.ptr == plain + text.size())
            return static_cast<float>(value);
    }
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

void cWidget::PreserveCurrentNode(QXmlStreamReader& reader)
{
    // The writer's own namespace handling declares each namespace the node
    // uses (prefixes may be renamed), so the kept text stays well-formed
    // wherever it is written back.
    QByteArray node;
    QXmlStreamWriter capture(&node);
    int depth = 0;
    for (;;)
    {
        switch (reader.tokenType())
        {
        case QXmlStreamReader::StartElement:
            ++depth;
            capture.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                capture.writeAttribute(attribute);
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            capture.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            // Whitespace between elements is the file's indentation, which the writer makes anew.
            if (!reader.isWhitespace())
                capture.writeCurrentToken(reader);
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            capture.writeCurrentToken(reader);
            break;
        default:
            break;
        }
        if (depth <= 0 || reader.atEnd())
            break;
        reader.readNext();
    }
    // A node cut short by an error in the file is not kept half.
    if (!reader.hasError())
        mPreservedNodes += node;
}

QList<int> cWidget::KeptWidgetIds() const
{
    QList<int> ids;
    if (mPreservedNodes.isEmpty())
        return ids;
    QXmlStreamReader reader(QByteArrayLiteral("<_>") + mPreservedNodes + QByteArrayLiteral("</_>"));
    while (!reader.atEnd())
    {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != QLatin1String("Widget"))
            continue;
        bool ok = false;
        const int id = reader.attributes().value(QLatin1String("id")).toInt(&ok, 10);
        if (ok)
            ids << id;
    }
    return ids;
}

void cWidget::KeepUninterpretedAttributes(const QXmlStreamAttributes& attributes)
{
    mLoadedAttributes.clear();
    auto& byClass = WrittenNamesByClass();
    auto written = byClass.find(std::type_index(typeid(*this)));
    if (written == byClass.end())
    {
        written = byClass.emplace(std::type_index(typeid(*this)), WrittenAttributeNames()).first;
    }
    const tAttributeNames& names = written->second;
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        if (attribute.namespaceUri().isEmpty())
        {
            const QStringRef name = attribute.qualifiedName();
            if (std::none_of(names.cbegin(), names.cend(), [&name](const QString& own) { return name == own; }))
                mLoadedAttributes.append(QXmlStreamAttribute(name.toString(), attribute.value().toString()));
        }
        else
        {
            // Copies of the texts: the reader's own attributes share its whole text buffer.
            mLoadedAttributes.append(QXmlStreamAttribute(attribute.namespaceUri().toString(),
                                                         attribute.name().toString(), attribute.value().toString()));
        }
    }
}

void cWidget::WritePreservedAttributes(QXmlStreamWriter& writer) const
{
    if (mLoadedAttributes.isEmpty())
        return;
    const QStringList written = WrittenAttributeNames();
    for (const QXmlStreamAttribute& attribute : mLoadedAttributes)
    {
        if (attribute.namespaceUri().isEmpty() && written.contains(attribute.qualifiedName().toString()))
            continue;
        writer.writeAttribute(attribute);
    }
}

void cWidget::WritePreservedNodes(QXmlStreamWriter& writer) const
{
    if (mPreservedNodes.isEmpty())
        return;
    // The nodes are read back inside a wrapper element, which is not written.
    QXmlStreamReader replay(QByteArrayLiteral("<_>") + mPreservedNodes + QByteArrayLiteral("</_>"));
    replay.readNextStartElement();
    // Indenting each line by its depth would make a deeply nested node grow
    // with the square of its depth on every save; it is written as it was read.
    const bool indenting = writer.autoFormatting();
    writer.setAutoFormatting(false);
    WriteReplayedNodes(replay, writer);
    writer.setAutoFormatting(indenting);
}

void cWidget::WriteReplayedNodes(QXmlStreamReader& replay, QXmlStreamWriter& writer)
{
    int depth = 0;
    while (!replay.atEnd())
    {
        switch (replay.readNext())
        {
        case QXmlStreamReader::StartElement:
            ++depth;
            writer.writeStartElement(replay.namespaceUri().toString(), replay.name().toString());
            for (const QXmlStreamAttribute& attribute : replay.attributes())
                writer.writeAttribute(attribute);
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == 0)
                return;
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            writer.writeCurrentToken(replay);
            break;
        default:
            break;
        }
    }
}

QStringList cWidget::WrittenAttributeNames() const
{
    // An attribute the class writes is one it interprets; asking its own
    // writer keeps every subclass right without a list of names to maintain,
    // and no attribute is ever written twice.
    QByteArray element;
    QXmlStreamWriter scratch(&element);
    scratch.writeStartElement(QStringLiteral("Widget"));
    WriteAttributes(scratch);
    scratch.writeEndElement();
    QXmlStreamReader reader(element);
    reader.readNextStartElement();
    QStringList names;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        names << attribute.qualifiedName().toString();
    return names;
}

void cWidget::AppendProperty(cProperty* property)
{
    mProperties << property;
}

void cWidget::SetItemsProperty(const char* name, const QVariant& value) const
{
    for (QQuickItem* item : mItems)
    {
        AssertHasProperty(item, QString::fromLatin1(name));
        item->setProperty(name, value);
    }
}

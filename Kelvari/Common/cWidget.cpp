#include "cWidget.h"

#include "cComboProperty.h"
#include "cSizeFractionProperty.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QQuickItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

const QString cWidget::mMultipleTypeName = QStringLiteral("multiple");

namespace
{
// The nearest single-precision number to 0.000999, kept as a float on purpose.
constexpr float kMinimumSizeFraction = 0.000999f;
}

cWidget::cWidget(int id, const QString& type, QObject* parent)
    : QObject(parent),
      mId(id),
      mType(type),
      mX(new cSizeFractionProperty("X", -1, this, -2, 2)),
      mY(new cSizeFractionProperty("Y", -1, this, -2, 2)),
      mWidth(new cSizeFractionProperty("Width", -1, this, kMinimumSizeFraction, 2)),
      mHeight(new cSizeFractionProperty("Height", -1, this, kMinimumSizeFraction, 2)),
      mZ(new cFloatProperty("Z", 0, this, 0, 2))
{
    mZ->setVisible(false);
    connect(mX, &cProperty::valueChanged, this, &cWidget::xFractionChanged);
    connect(mY, &cProperty::valueChanged, this, &cWidget::yFractionChanged);
    connect(mWidth, &cProperty::valueChanged, this, &cWidget::widthFractionChanged);
    connect(mHeight, &cProperty::valueChanged, this, &cWidget::heightFractionChanged);
    connect(mZ, &cProperty::valueChanged, this, &cWidget::zChanged);
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
    writer.writeEndElement();
}

void cWidget::LoadSubXml(QXmlStreamReader& reader, const cConfigBase&, QObject*, const cWidgetFactoryBase&,
                         std::shared_ptr<cKelvariConfigClient>&)
{
    reader.skipCurrentElement();
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
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
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

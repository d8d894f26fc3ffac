#include "cRectangleWidget.h"

#include "cColourProperty.h"
#include "cSizeFractionProperty.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

cRectangleWidget::cRectangleWidget(int id, QObject* parent)
    : cWidget(id, QStringLiteral("rect"), parent),
      mColour(new cColourProperty("Colour", QColor("#000000"), this, true)),
      mRadius(new cSizeFractionProperty("Radius", 0, this, 0, 1))
{
    connect(mColour, &cProperty::valueChanged, this, &cRectangleWidget::PropertyColourChanged);
    connect(mRadius, &cProperty::valueChanged, this, &cRectangleWidget::PropertyRadiusChanged);
    AppendProperty(mRadius);
    AppendProperty(mColour);
}

void cRectangleWidget::setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor)
{
    cWidget::setQQuickItem(CreatedQQuickItem, LayoutEditor);
    PropertyColourChanged();
    PropertyRadiusChanged();
}

void cRectangleWidget::LoadAttributes(QXmlStreamReader& reader)
{
    cWidget::LoadAttributes(reader);
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        if (attribute.name() == QLatin1String("colour"))
            mColour->setStringValue(attribute.value().toString());
        else if (attribute.name() == QLatin1String("radius"))
            mRadius->setFloatValue(AttributeFloat(attribute.value()));
    }
}

void cRectangleWidget::WriteAttributes(QXmlStreamWriter& writer) const
{
    cWidget::WriteAttributes(writer);
    writer.writeAttribute(QStringLiteral("colour"), mColour->stringValue());
    writer.writeAttribute(QStringLiteral("radius"), AttributeText(mRadius->FloatValue()));
}

void cRectangleWidget::PropertyColourChanged()
{
    SetItemsProperty("colour", mColour->value());
}

void cRectangleWidget::PropertyRadiusChanged()
{
    SetItemsProperty("cornerRadius", mRadius->value());
}

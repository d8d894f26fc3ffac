#include "cImageWidget.h"

#include "cConfigBase.h"
#include "cImageProperty.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

cImageWidget::cImageWidget(int id, const cConfigBase& config, QObject* parent)
    : cWidget(id, QStringLiteral("image"), parent), mImage(new cImageProperty(QStringLiteral("Image"), config, this))
{
    connect(mImage, &cProperty::valueChanged, this, &cImageWidget::PropertyImageSelectionChanged);
    connect(mImage, &cImageProperty::ImageChanged, this, &cImageWidget::imageChanged);
    connect(mImage, &cImageProperty::ImageChanged, this, &cImageWidget::PropertyImageSelectionChanged);
    AppendProperty(mImage);
}

void cImageWidget::setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor)
{
    cWidget::setQQuickItem(CreatedQQuickItem, LayoutEditor);
    PropertyImageSelectionChanged();
}

void cImageWidget::LoadAttributes(QXmlStreamReader& reader)
{
    cWidget::LoadAttributes(reader);
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        if (attribute.name() == QLatin1String("resourceId"))
            mImage->setStringValue(attribute.value().toString());
    }
}

void cImageWidget::WriteAttributes(QXmlStreamWriter& writer) const
{
    cWidget::WriteAttributes(writer);
    writer.writeAttribute(QStringLiteral("resourceId"), mImage->stringValue());
}

void cImageWidget::PropertyImageSelectionChanged()
{
    SetItemsProperty("imageRequest", mImage->PictureRequest());
    SetItemsProperty("imageIdentifier", mImage->stringValue());
}

#include "cTextWidget.h"

#include "cColourProperty.h"
#include "cComboProperty.h"
#include "cFontProperty.h"
#include "cKelvariFonts.h"
#include "cSizeFractionProperty.h"
#include "cTextBlockProperty.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{
// The toolkit's horizontal alignment flags, as the QML Text item takes them.
constexpr int kAlignLeft = 1;
constexpr int kAlignRight = 2;
constexpr int kAlignHCenter = 4;
}

cTextWidget::cTextWidget(int id, QObject* parent)
    : cWidget(id, QStringLiteral("text"), parent),
      mText(new cTextBlockProperty("Text", "Text...", this, true)),
      mTextColour(new cColourProperty("Text Colour", QColor("#000000"), this, true)),
      mBackgroundColour(new cColourProperty("Background Colour", QColor(255, 255, 255, 0), this, true)),
      mRadius(new cSizeFractionProperty("Radius", 0, this, 0, 1)),
      mAlignmentCodes({"left", "center", "right"}),
      mAlignment(new cComboProperty("Align", 0, {"Left", "Center", "Right"}, this)),
      mFont(new cFontProperty("Font", cKelvariFonts::mDefaultFontCode, this, true))
{
    connect(mText, &cProperty::valueChanged, this, &cTextWidget::PropertyStringChanged);
    connect(mTextColour, &cProperty::valueChanged, this, &cTextWidget::PropertyColourChanged);
    connect(mAlignment, &cProperty::valueChanged, this, &cTextWidget::PropertyAlignmentChanged);
    connect(mFont, &cProperty::valueChanged, this, &cTextWidget::PropertyFontChanged);
    connect(mBackgroundColour, &cProperty::valueChanged, this, &cTextWidget::PropertyBackgroundColourChanged);
    connect(mRadius, &cProperty::valueChanged, this, &cTextWidget::PropertyRadiusChanged);
    AppendProperty(mRadius);
    AppendProperty(mText);
    AppendProperty(mAlignment);
    AppendProperty(mFont);
    AppendProperty(mTextColour);
    AppendProperty(mBackgroundColour);
}

void cTextWidget::setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor)
{
    cWidget::setQQuickItem(CreatedQQuickItem, LayoutEditor);
    PropertyColourChanged();
    PropertyStringChanged();
    PropertyAlignmentChanged();
    PropertyFontChanged();
    PropertyBackgroundColourChanged();
    PropertyRadiusChanged();
}

void cTextWidget::LoadAttributes(QXmlStreamReader& reader)
{
    cWidget::LoadAttributes(reader);
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        const QStringRef name = attribute.name();
        if (name == QLatin1String("text"))
            mText->setStringValue(attribute.value().toString());
        else if (name == QLatin1String("textColour"))
            mTextColour->setStringValue(attribute.value().toString());
        else if (name == QLatin1String("textAlignment"))
            SetComboPropertyIndex(attribute.value().toString(), mAlignmentCodes, mAlignment);
        else if (name == QLatin1String("textFont"))
            mFont->setStringValue(attribute.value().toString());
        else if (name == QLatin1String("backgroundColour"))
            mBackgroundColour->setStringValue(attribute.value().toString());
        else if (name == QLatin1String("radius"))
            mRadius->setFloatValue(AttributeFloat(attribute.value()));
    }
}

void cTextWidget::WriteAttributes(QXmlStreamWriter& writer) const
{
    cWidget::WriteAttributes(writer);
    writer.writeAttribute(QStringLiteral("text"), mText->stringValue());
    writer.writeAttribute(QStringLiteral("textColour"), mTextColour->stringValue());
    writer.writeAttribute(QStringLiteral("textAlignment"), AlignmentCode());
    writer.writeAttribute(QStringLiteral("textFont"), mFont->stringValue());
    writer.writeAttribute(QStringLiteral("backgroundColour"), mBackgroundColour->stringValue());
    writer.writeAttribute(QStringLiteral("radius"), AttributeText(mRadius->FloatValue()));
}

QString cTextWidget::AlignmentCode() const
{
    return mAlignmentCodes.value(mAlignment->IntValue());
}

void cTextWidget::PropertyStringChanged()
{
    SetItemsProperty("text", mText->stringValue());
}

void cTextWidget::PropertyColourChanged()
{
    SetItemsProperty("textColour", mTextColour->value());
}

void cTextWidget::PropertyAlignmentChanged()
{
    const QString code = AlignmentCode();
    int alignment = kAlignHCenter;
    if (code == QLatin1String("left"))
        alignment = kAlignLeft;
    else if (code == QLatin1String("right"))
        alignment = kAlignRight;
    SetItemsProperty("textAlignment", alignment);
}

void cTextWidget::PropertyFontChanged()
{
    SetItemsProperty("textFont", mFont->stringValue());
}

void cTextWidget::PropertyBackgroundColourChanged()
{
    SetItemsProperty("backgroundColour", mBackgroundColour->value());
}

void cTextWidget::PropertyRadiusChanged()
{
    SetItemsProperty("cornerRadius", mRadius->value());
}

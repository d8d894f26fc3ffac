#pragma once

#include "cWidget.h"

class cColourProperty;
class cComboProperty;
class cFontProperty;
class cSizeFractionProperty;
class cTextBlockProperty;

// A label of fixed text in a chosen font, colour and alignment, optionally on
// a rounded, coloured background. Type key "text".
class cTextWidget : public cWidget
{
    Q_OBJECT

public:
    cTextWidget(int id, QObject* parent);

    void setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor) override;
    void LoadAttributes(QXmlStreamReader& reader) override;
    void WriteAttributes(QXmlStreamWriter& writer) const override;

    cTextBlockProperty* GetTextProperty() const { return mText; }
    cColourProperty* GetTextColourProperty() const { return mTextColour; }
    cColourProperty* GetBackgroundColourProperty() const { return mBackgroundColour; }
    cSizeFractionProperty* GetRadiusProperty() const { return mRadius; }
    cComboProperty* GetAlignmentProperty() const { return mAlignment; }
    cFontProperty* GetFontProperty() const { return mFont; }

private slots:
    void PropertyStringChanged();
    void PropertyColourChanged();
    void PropertyAlignmentChanged();
    void PropertyFontChanged();
    void PropertyBackgroundColourChanged();
    void PropertyRadiusChanged();

private:
    // The code of the selected alignment; empty when the index is outside the list.
    QString AlignmentCode() const;

    cTextBlockProperty* const mText;
    cColourProperty* const mTextColour;
    cColourProperty* const mBackgroundColour;
    cSizeFractionProperty* const mRadius;
    const QStringList mAlignmentCodes;
    cComboProperty* const mAlignment;
    cFontProperty* const mFont;
};

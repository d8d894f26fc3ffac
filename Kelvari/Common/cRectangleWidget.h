#pragma once

#include "cWidget.h"

class cColourProperty;
class cSizeFractionProperty;

// A filled, optionally rounded rectangle. Type key "rect".
class cRectangleWidget : public cWidget
{
    Q_OBJECT

public:
    cRectangleWidget(int id, QObject* parent);

    void setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor) override;
    void LoadAttributes(QXmlStreamReader& reader) override;
    void WriteAttributes(QXmlStreamWriter& writer) const override;

    cColourProperty* GetColourProperty() const { return mColour; }
    cSizeFractionProperty* GetRadiusProperty() const { return mRadius; }

private slots:
    void PropertyColourChanged();
    void PropertyRadiusChanged();

private:
    cColourProperty* const mColour;
    cSizeFractionProperty* const mRadius;
};

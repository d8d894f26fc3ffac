#pragma once

#include "cWidget.h"

class cImageProperty;

// A picture chosen by resource id. Type key "image"; its QML item is
// "../Widgets/GeneralImage.qml", which fetches the picture from the image provider.
class cImageWidget : public cWidget
{
    Q_OBJECT

public:
    cImageWidget(int id, const cConfigBase& config, QObject* parent);

    void setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor) override;
    void LoadAttributes(QXmlStreamReader& reader) override;
    void WriteAttributes(QXmlStreamWriter& writer) const override;

    cImageProperty* GetImageProperty() const { return mImage; }

signals:
    // The picture behind the current id may have changed; the items reload it.
    void imageChanged();

private slots:
    void PropertyImageSelectionChanged();

private:
    cImageProperty* const mImage;
};

#pragma once

#include "cProperty.h"

class cResourceNotifier;

// The id of the image resource a widget shows ("_default" for the default
// picture). It tells its widget through ImageChanged() when the config
// inserts, removes or changes the resource it names.
class cImageProperty : public cProperty
{
    Q_OBJECT

public:
    cImageProperty(const QString& name, const cResourceNotifier& config, QObject* parent);

    QVariant value() const override { return mResourceId; }
    void setValue(const QVariant& value) override { setStringValue(value.toString()); }
    QString stringValue() const override { return mResourceId; }
    void setStringValue(const QString& resourceId) override;

    ~cImageProperty() override;

    const cResourceNotifier& Config() const { return mConfig; }
    // The image provider's request for the picture shown now.
    QString PictureRequest() const;

signals:
    void ImageChanged();

private slots:
    void ResourceInserted(QString ResourceId);
    void ResourceRemoved(QString ResourceId);
    void ResourceChanged(QString ResourceId);

private:
    friend class cResourceNotifier;

    const cResourceNotifier& mConfig;
    QString mResourceId;
    // The document that tells this property of its resource, until the document goes.
    const cResourceNotifier* mNotifier;
    // Its place among the document's followers of its resource id.
    int mFollowerIndex = -1;
};

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

    const cResourceNotifier& Config() const { return mConfig; }

signals:
    void ImageChanged();

private slots:
    void ResourceInserted(QString ResourceId);
    void ResourceRemoved(QString ResourceId);
    void ResourceChanged(QString ResourceId);

private:
    const cResourceNotifier& mConfig;
    QString mResourceId;
};

#pragma once

#include <QObject>
#include <QString>

// What image properties follow of the config document: the resource signals
// and the slot told when an image property's resource id changes. The config
// document derives from it, so image properties need nothing else of it.
class cResourceNotifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    virtual void ImageResourceIdChanged() = 0;

signals:
    void ResourceInserted(QString ResourceId);
    void ResourceRemoved(QString ResourceId);
    void ResourceChanged(QString ResourceId);
};

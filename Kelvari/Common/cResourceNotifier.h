#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

class cImageProperty;

// What image properties follow of the config document: the resource signals
// and the slot told when an image property's resource id changes. The config
// document derives from it, so image properties need nothing else of it.
//
// Each resource signal reaches only the image properties that show that
// resource: they are kept by id here rather than connected one by one, so a
// load of many resources and image widgets costs their sum, not their product.
class cResourceNotifier : public QObject
{
    Q_OBJECT

public:
    explicit cResourceNotifier(QObject* parent = nullptr);
    ~cResourceNotifier() override;

    // What QML asks the image provider for to show the resource of that id: the id and, for a user's
    // picture, an option after a colon naming the picture now behind the id (the provider ignores it).
    // Views that cache their pictures by this request thus never show an earlier picture of the id.
    virtual QString PictureRequest(const QString& id) const = 0;

public slots:
    virtual void ImageResourceIdChanged() = 0;

signals:
    void ResourceInserted(QString ResourceId);
    void ResourceRemoved(QString ResourceId);
    void ResourceChanged(QString ResourceId);

private:
    friend class cImageProperty;

    // Who shows which resource is bookkeeping, not state of the document.
    void Follow(cImageProperty* property) const;
    void Unfollow(cImageProperty* property) const;
    void Tell(const QString& id, void (cImageProperty::*slot)(QString)) const;

    mutable QHash<QString, QVector<cImageProperty*>> mFollowers;
};

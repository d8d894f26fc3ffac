#pragma once

#include "QQmlObjectListModel.h"
#include "cProperty.h"

#include <QObject>
#include <QString>
#include <QStringList>

class cConfigBase;
class cStringProperty;
class cTextBlockProperty;

// A picture of the config that widgets show by its string id: the common part
// of user images and built-in images, with the properties "Name", "Type" and,
// always last, "Layouts".
class cResource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString resourceId READ resourceId NOTIFY resourceIdChanged)
    Q_PROPERTY(cProperty* nameProperty READ nameProperty CONSTANT)
    Q_PROPERTY(bool selected READ selected NOTIFY selectedChanged)
    Q_PROPERTY(QQmlObjectListModelBase* properties READ properties CONSTANT)

public:
    // The config only announces renames; it may be null.
    cResource(QObject* parent, const QString& id, const QString& name, const QString& type,
              const cConfigBase* config);

    QString resourceId() const { return mResourceId; }
    QString Name() const;
    cProperty* nameProperty() const;
    bool selected() const { return mSelected; }
    QQmlObjectListModelBase* properties() const { return mProperties; }
    const QQmlObjectListModel<cProperty>& PropertyList() const { return *mProperties; }

    void SetSelected(bool selected);
    // One name per line, each ending with a line break.
    void SetLayoutNames(const QStringList& layoutNames);
    QString LayoutNames() const;

signals:
    void resourceIdChanged();
    void selectedChanged();

protected:
    // Places a property of a subclass just before "Layouts".
    void InsertBeforeLayouts(cProperty* property);

private:
    QQmlObjectListModel<cProperty>* mProperties;
    const QString mResourceId;
    cStringProperty* mName;
    cStringProperty* mType;
    bool mSelected = false;
    cTextBlockProperty* mLayouts;
};

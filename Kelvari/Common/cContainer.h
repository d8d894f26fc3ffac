#pragma once

#include "QQmlObjectListModel.h"
#include "cWidget.h"

#include <QList>

class QQuickItem;

// A widget that holds other widgets. The children belong to the layout page
// (their QObject parent); the container only lists them, and passes online,
// offline and visibility changes on to them.
class cContainer : public cWidget
{
    Q_OBJECT
    Q_PROPERTY(bool isContainer READ isContainer CONSTANT)
    // The meta-property has the base type, which needs no registration; QML sees the same model.
    Q_PROPERTY(QQmlObjectListModelBase* widgetChildren READ widgetChildren CONSTANT)

public:
    cContainer(int id, const QString& type, QObject* parent);

    // Where a direct child sits (for a tab container, its tab index); -1 when
    // the widget is not a child.
    Q_INVOKABLE virtual int getContainerLocation(cWidget* WidgetToFind) const = 0;
    virtual void AddContainerChild(cWidget* widget, int location);
    virtual void RemoveContainerChild(cWidget* widget);
    // The items that hold the children of a location, one per view, the
    // layout editor's first.
    virtual QList<QQuickItem*> LinkedContainerQuickItems(int location) const = 0;
    virtual int GetCurrentContainerIndex() const;
    virtual void SetCurrentContainerIndex(int index);
    virtual void SetChildrenVisibility();

    void SetIsVisible(bool visible) override;
    void SetOnline(std::shared_ptr<cKelvariConfigClient> client) override;
    void SetOffline() override;

    bool isContainer() const { return true; }
    QQmlObjectListModel<cWidget>* GetWidgetChildren() const { return mWidgetChildren; }
    QQmlObjectListModelBase* widgetChildren() const { return mWidgetChildren; }

private:
    QQmlObjectListModel<cWidget>* const mWidgetChildren;
};
